// What a hostile script does to the form: form files damaged or past the limits, arguments
// no form takes (script files that are not text are the demo program's test); and the
// event log's bounds.
#include "HostFixture.h"

#include "EventLog.h"
#include "RealInput.h"
#include "fxwnd.h"

#include <algorithm>
#include <iterator>

// Form files damaged or past the limits, names too long, texts with a NUL and numbers
// that are not finite: each a script error, and the form keeps the controls it had.
TEST_F(HostTest, HostileFilesAndArgumentsAreRefusedAndTheFormKept) {
  TempFolder dir;
  std::wstring base = dir.Path + L"/"; // as a script writes it: forward slashes, no escaping
  std::replace(base.begin(), base.end(), L'\\', L'/');
  Js(L"form.Create('zzx', 10, 10, 150, 24); form.Create('zzy', 10, 50, 150, 24);\nform.Save('" + base + L"good.tvf');");
  Form->RemoveAll();
  const std::vector<BYTE> good = ReadBytes(base + L"good.tvf");
  // The second name as the archive stores it: a wide-string mark, its length, its letters;
  // the four edges and the stream's size follow it. The control count follows the file's
  // mark and version.
  const BYTE second[] = {0xFF, 0xFE, 0xFF, 3, 'z', 0, 'z', 0, 'y', 0};
  const size_t at =
      static_cast<size_t>(std::search(good.begin(), good.end(), std::begin(second), std::end(second)) - good.begin());
  ASSERT_LT(at, good.size());
  auto patched = [&](const wchar_t* name, size_t offset, DWORD value, size_t bytes) {
    std::vector<BYTE> b(good);
    memcpy(&b[offset], &value, bytes);
    ASSERT_TRUE(WriteWholeFile(base + name, b.data(), b.size()));
  };
  patched(L"twice.tvf", at + 8, 'x', 1);
  patched(L"version.tvf", 4, 2, 4);
  patched(L"many.tvf", 8, 20000, 4);
  patched(L"fat.tvf", at + sizeof second + 16, 70000, 4);
  patched(L"placed.tvf", at + sizeof second, 40000, 4); // a left edge right of the right one
  std::vector<BYTE> nameless(good);
  nameless[at + 3] = 0;
  nameless.erase(nameless.begin() + static_cast<std::ptrdiff_t>(at) + 4,
                 nameless.begin() + static_cast<std::ptrdiff_t>(at) + 10);
  ASSERT_TRUE(WriteWholeFile(base + L"nameless.tvf", nameless.data(), nameless.size()));

  const struct {
    const wchar_t* script;
    const wchar_t* error;
  } rows[] = {
      {L"form.Load(p + 'version.tvf')", L"*is not a form file of this demo"},
      {L"form.Load(p + 'twice.tvf')", L"*two controls are named zzx*"},
      {L"form.Load(p + 'nameless.tvf')", L"*has no name*"},
      {L"form.Load(p + 'many.tvf')", L"*holds 20000 controls; a form holds at most 500*"},
      {L"form.Load(p + 'fat.tvf')", L"*past the limits (128 characters, 65536 bytes)*"},
      {L"form.Load(p + 'placed.tvf')", L"*has no place on a form (40000,50 to 160,74)*"},
      {L"form.Create(new Array(130).join('n'), 10, 10, 150, 24)", L"*a control's name has at most 128 characters*"},
      {L"form.Create('a', 0/0, 10, 150, 24)", L"*Create: x, y, width and height must be numbers*"},
      {L"form.Create('a\\u0000b', 10, 10, 150, 24)", L"*Create: argument 1 must be a name*"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.script);
    Lines out = Js(L"var p = '" + base + L"';\nform.Create('keep', 10, 10, 150, 24).SetCaptionCtrl('20240105');\n" +
                       r.script + L";\n",
                   1);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_TRUE(LineMatches(out[0], r.error)) << out[0];
    EXPECT_EQ(Form->Controls().size(), 1u) << "the form kept its controls, and none of the file's";
    ASSERT_NE(Form->Find(L"keep"), nullptr);
    EXPECT_EQ(testhost::GetProp(Form->Find(L"keep")->Dispatch(), L"Caption"), L"20240105");
    Form->RemoveAll();
  }
}

TEST(EventLogBounds, KeepsTheNewestLinesEachCutWithAMark) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateSystem(L"STATIC", 0, L"", WS_POPUP, RECT{0, 0, 300, 300}, nullptr, 0));
  EventLog log;
  ASSERT_TRUE(log.Create(parent, RECT{0, 0, 300, 300}));
  const size_t total = EventLog::kMaxLines + 250;
  const std::wstring huge(100000, L'n');
  size_t first = log.Add(L"first");
  for (size_t i = 1; i < total; ++i) log.Add(i % 2 ? huge : L"line " + std::to_wstring(i));
  EXPECT_EQ(log.Lines().size(), EventLog::kMaxLines);
  EXPECT_EQ(SendMessageW(log.Handle(), LB_GETCOUNT, 0, 0), static_cast<LRESULT>(EventLog::kMaxLines));
  EXPECT_EQ(log.Lines().back(), std::wstring(EventLog::kMaxLineChars, L'n') + L"... (" +
                                    std::to_wstring(huge.size() - EventLog::kMaxLineChars) + L" more characters)");
  EXPECT_EQ(log.Lines()[log.Lines().size() - 2], L"line " + std::to_wstring(total - 2));
  // An amended line that has left the log changes nothing; one still there is replaced.
  log.Amend(first, L"handled");
  EXPECT_EQ(log.Lines().front(), L"line 250");
  size_t last = log.Add(L"last");
  log.Amend(last, L"last, handled");
  EXPECT_EQ(log.Lines().back(), L"last, handled");
  wchar_t shown[64] = {};
  SendMessageW(log.Handle(), LB_GETTEXT, EventLog::kMaxLines - 1, reinterpret_cast<LPARAM>(shown));
  EXPECT_STREQ(shown, L"last, handled");
  // The list box catches up once the form is idle: its view ends at the newest line.
  realinput::Settle();
  RECT client;
  GetClientRect(log.Handle(), &client);
  const LRESULT lineHeight = SendMessageW(log.Handle(), LB_GETITEMHEIGHT, 0, 0);
  ASSERT_GT(lineHeight, 0);
  EXPECT_GE(SendMessageW(log.Handle(), LB_GETTOPINDEX, 0, 0) + client.bottom / lineHeight,
            static_cast<LRESULT>(EventLog::kMaxLines - 1));
}
