// What a hostile script or handler does to the form: handlers that give each other
// input, script files that are not text, files and arguments past the limits.
#include "HostFixture.h"

#include "EventLog.h"

#include <algorithm>
#include <iterator>

namespace {
using Lines = std::vector<std::wstring>;
} // namespace

TEST_F(HostTest, HandlersThatGiveEachOtherInputEndInAScriptError) {
  Lines out;
  EXPECT_EQ(Script(L"JScript",
                   L"var a = form.Create('a', 10, 10, 150, 24);\n"
                   L"var b = form.Create('b', 10, 50, 150, 24);\n"
                   L"function a_EditChange() { form.Type('b', '1'); }\n"
                   L"function b_EditChange() { form.Type('a', '1'); }\n"
                   L"form.Type('a', '2');\n"
                   L"form.Echo('never');\n",
                   out),
            1);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_NE(out[0].find(L"input nested 16 deep in event handlers"), std::wstring::npos) << out[0];
}

TEST_F(HostTest, AScriptFileThatIsNotTextIsAScriptErrorNotACut) {
  TempFolder dir;
  const struct {
    const char* name;
    std::string bytes;
    const wchar_t* error;
  } rows[] = {
      {"zero.js", std::string("form.Echo('one');\nform.Echo('two');\0form.Quit(3);\n", 50),
       L"script error: line 2: a NUL character; a script is text"},
      {"latin1.js", "form.Echo('caf\xE9');\n", L" is not UTF-8 or UTF-16 text"},
      {"odd.js",
       std::string("\xFF\xFE"
                   "f\0o\0o",
                   7),
       L" is not UTF-8 or UTF-16 text"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    std::wstring path = dir.Path + L"\\" + std::wstring(r.name, r.name + strlen(r.name));
    ASSERT_TRUE(WriteWholeFile(path, r.bytes.data(), r.bytes.size()));
    Lines out;
    EXPECT_EQ(RunScriptFile(*Form, path, [&](const std::wstring& line) { out.push_back(line); }), 1);
    ASSERT_EQ(out.size(), 1u) << "nothing of the script ran";
    EXPECT_NE(out[0].find(r.error), std::wstring::npos) << out[0];
  }
}

TEST_F(HostTest, ARefusedFormFileLeavesTheFormAsItWas) {
  TempFolder dir;
  std::wstring good = dir.Path + L"\\good.tvf", slashed = dir.ScriptPath() + L"good.tvf";
  Lines out;
  ASSERT_EQ(Script(L"JScript",
                   L"form.Create('zzx', 10, 10, 150, 24); form.Create('zzy', 10, 50, 150, 24);\n"
                   L"form.Save('" +
                       slashed + L"');\n",
                   out),
            0);
  Form->RemoveAll();
  std::vector<BYTE> bytes;
  ASSERT_EQ(ReadWholeFile(good, 1 << 20, bytes), FileRead::Done);
  // The second name as the archive stores it: a wide-string mark, its length, its letters.
  const BYTE second[] = {0xFF, 0xFE, 0xFF, 3, 'z', 0, 'z', 0, 'y', 0};
  auto at = std::search(bytes.begin(), bytes.end(), std::begin(second), std::end(second));
  ASSERT_NE(at, bytes.end());
  std::vector<BYTE> twice(bytes), nameless(bytes);
  twice[static_cast<size_t>(at - bytes.begin()) + 8] = 'x';
  size_t len = static_cast<size_t>(at - bytes.begin()) + 3;
  nameless[len] = 0;
  nameless.erase(nameless.begin() + static_cast<std::ptrdiff_t>(len) + 1,
                 nameless.begin() + static_cast<std::ptrdiff_t>(len) + 7);
  const struct {
    const char* file;
    const std::vector<BYTE>& bytes;
    const wchar_t* error;
  } rows[] = {{"twice.tvf", twice, L"two controls are named zzx"}, {"nameless.tvf", nameless, L"has no name"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.file);
    std::wstring path = dir.ScriptPath() + std::wstring(r.file, r.file + strlen(r.file));
    ASSERT_TRUE(WriteWholeFile(path, r.bytes.data(), r.bytes.size()));
    EXPECT_EQ(Script(L"JScript",
                     L"var k = form.Create('keep', 10, 10, 150, 24); k.SetCaptionCtrl('20240105');\n"
                     L"try { form.Load('" +
                         path +
                         L"'); } catch (e) { form.Echo(e.message); }\n"
                         L"form.Echo(form.Control('keep').GetValue());\n"
                         L"try { form.Control('zzx'); form.Echo('a control of the file is on the form'); } "
                         L"catch (e) {}\n",
                     out),
              0);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_NE(out[0].find(r.error), std::wstring::npos) << out[0];
    EXPECT_EQ(out[1], L"20240105");
    Form->RemoveAll();
  }
}

TEST(EventLogBounds, KeepsTheNewestLinesEachCutWithAMark) {
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
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
  DestroyWindow(parent);
}

TEST_F(HostTest, ACaptionWrittenInOtherDigitsLeavesTheControlInAsciiDigits) {
  const struct {
    const wchar_t* written; // a JScript string literal
    const wchar_t* value;
    const wchar_t* field;
  } rows[] = {
      {L"'\\uFF12\\uFF10\\uFF12\\uFF14\\uFF10\\uFF13\\uFF11\\uFF15'", L"20240315", L"2024/03/15"}, // fullwidth
      {L"'\\u0662\\u0660\\u0662\\u0664\\u0660\\u0663\\u0661\\u0665'", L"20240315", L"2024/03/15"}, // Arabic-Indic
      {L"'20240315'", L"20240315", L"2024/03/15"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.written);
    Lines out;
    ASSERT_EQ(Script(L"JScript",
                     std::wstring(L"var a = form.Create('a', 10, 10, 150, 24, 'Style=0;DateFormat=2');\n"
                                  L"a.Caption = ") +
                         r.written +
                         L";\n"
                         L"form.Echo(a.GetValue()); form.Echo(a.Caption); form.Echo(form.FieldText('a'));\n",
                     out),
              0);
    EXPECT_EQ(out, (Lines{r.value, r.value, r.field}));
    Form->RemoveAll();
  }
}

TEST_F(HostTest, AStoredFormatOutOfRangeKeepsAMaskAndItsCode) {
  // Each row: the stored properties, a value set, and then the field, the value and the
  // code the control still reports. A field made with no mask yet takes the default's; a
  // later out-of-range code keeps the mask in place.
  const struct {
    const wchar_t* props;
    const wchar_t* then; // a script fragment on control a after creation
    const wchar_t* field;
    const wchar_t* value;
    const wchar_t* code;
  } rows[] = {
      {L"Style=3;DateFormat=25", L"", L"2024/03/15", L"20240315", L"25"},
      {L"Style=3;DateFormat=-1", L"", L"2024/03/15", L"20240315", L"-1"},
      {L"Style=1;TimeFormat=12", L"", L"20:24:03", L"202403", L"12"},
      {L"Style=3;DateFormat=2", L"a.DateFormat = 30;", L"2024/03/15", L"20240315", L"30"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.props);
    Lines out;
    ASSERT_EQ(Script(L"JScript",
                     std::wstring(L"var a = form.Create('a', 10, 10, 150, 24, '") + r.props + L"');\n" + r.then +
                         L"\na.SetValue(a.Style == 1 ? '202403' : '20240315');\n"
                         L"form.Echo(form.FieldText('a')); form.Echo(a.GetValue());\n"
                         L"form.Echo('' + (a.Style == 1 ? a.TimeFormat : a.DateFormat));\n",
                     out),
              0)
        << (out.empty() ? L"" : out.back());
    EXPECT_EQ(out, (Lines{r.field, r.value, r.code}));
    Form->RemoveAll();
  }
}

// Files past the limits, names too long, texts with a NUL and numbers that are not
// finite: each a script error, and the form keeps the controls it had.
TEST_F(HostTest, HostileFilesAndArgumentsAreRefusedAndTheFormKept) {
  TempFolder dir;
  const std::wstring base = dir.ScriptPath();
  Lines out;
  ASSERT_EQ(Script(L"JScript", L"form.Create('zzq', 10, 10, 150, 24);\nform.Save('" + base + L"one.tvf');\n", out), 0);
  Form->RemoveAll();
  std::vector<BYTE> one;
  ASSERT_EQ(ReadWholeFile(base + L"one.tvf", 1 << 20, one), FileRead::Done);
  // The header's control count follows its mark and version; the stream's size follows
  // the name and the four edges.
  std::vector<BYTE> many(one), fat(one);
  const DWORD claimed = 20000, huge = 70000;
  memcpy(&many[8], &claimed, 4);
  const BYTE name[] = {0xFF, 0xFE, 0xFF, 3, 'z', 0, 'z', 0, 'q', 0};
  auto at = std::search(one.begin(), one.end(), std::begin(name), std::end(name));
  ASSERT_NE(at, one.end());
  memcpy(&fat[static_cast<size_t>(at - one.begin()) + sizeof name + 16], &huge, 4);
  // A right edge left of the left one: the control would refuse the size.
  std::vector<BYTE> placed(one);
  const int left = 40000;
  memcpy(&placed[static_cast<size_t>(at - one.begin()) + sizeof name], &left, 4);
  ASSERT_TRUE(WriteWholeFile(base + L"placed.tvf", placed.data(), placed.size()));
  ASSERT_TRUE(WriteWholeFile(base + L"many.tvf", many.data(), many.size()));
  ASSERT_TRUE(WriteWholeFile(base + L"fat.tvf", fat.data(), fat.size()));

  const struct {
    const wchar_t* script;
    const wchar_t* error;
  } rows[] = {
      {L"form.Load(p + 'many.tvf')", L"holds 20000 controls; a form holds at most 500"},
      {L"form.Load(p + 'fat.tvf')", L"past the limits (128 characters, 65536 bytes)"},
      {L"form.Load(p + 'placed.tvf')", L"has no place on a form (40000,10 to 160,34)"},
      {L"form.Create(new Array(130).join('n'), 10, 10, 150, 24)", L"a control's name has at most 128 characters"},
      {L"form.Create('a', 0/0, 10, 150, 24)", L"Create: x, y, width and height must be numbers"},
      {L"form.Create('a', 10, 1/0, 150, 24)", L"Create: x, y, width and height must be numbers"},
      {L"form.Save('saved\\u0000.tvf')", L"Save: argument 1 must be "},
      {L"form.Create('a\\u0000b', 10, 10, 150, 24)", L"Create: argument 1 must be a name"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.script);
    ASSERT_EQ(Script(L"JScript",
                     L"var p = '" + base + L"';\nform.Create('keep', 10, 10, 150, 24).SetCaptionCtrl('20240105');\n" +
                         r.script + L";\n",
                     out),
              1);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_NE(out[0].find(r.error), std::wstring::npos) << out[0];
    ASSERT_NE(Form->Find(L"keep"), nullptr) << "the form kept its controls";
    Form->RemoveAll();
  }
}
