// Seeded fuzzing of what a control and the demo form take from outside: damaged form files
// (their controls' property streams among them), and long runs of random input, clipboard
// operations and property writes (from event handlers too) over every format, with the
// field's invariants checked after every step. A failure prints its seed;
// TAMVERO_FUZZ_SEED replays it, TAMVERO_FUZZ_OPS sets the run's length.
#include "HandleCount.h"
#include "HostFixture.h"
#include "TestHost.h"
#include "Rng.h"

#include "CalendarCtl.h"
#include "DateMath.h"
#include "FormDriver.h"
#include "FormFile.h"
#include "Formats.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cwctype>
#include <set>
#include <utility>

using testhost::SelOf;
using testhost::TextOf;

namespace {

uint64_t EnvNumber(const char* name, uint64_t fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::strtoull(v, nullptr, 0) : fallback;
}

uint64_t Seed() { return EnvNumber("TAMVERO_FUZZ_SEED", 0x7A3E5EED2026ull); }

std::string Replay(uint64_t seed) { return "replay with TAMVERO_FUZZ_SEED=" + std::to_string(seed); }

// Damaged copies of good bytes: cut at every length, then rounds of a bit flip, an
// archive string length and a 32-bit field made huge or negative, and a wrong version.
// MustRefuse tells the cut ones, which never load, and the wrong-version ones.
std::vector<std::vector<BYTE>> Damage(const std::vector<BYTE>& good, size_t versionAt, Rng& rng, int each) {
  std::vector<std::vector<BYTE>> out;
  for (size_t n = 0; n < good.size(); ++n) out.emplace_back(good.begin(), good.begin() + static_cast<ptrdiff_t>(n));
  const DWORD wild[] = {0xFFFFFFFF, 0x80000000, 0x7FFFFFFF, 0xFFFFFFFE, 0x10000, 0xFFFF};
  std::vector<size_t> tags;
  for (size_t i = 0; i + 3 < good.size(); ++i)
    if (good[i] == 0xFF && good[i + 1] == 0xFE && good[i + 2] == 0xFF) tags.push_back(i + 3);
  for (int k = 0; k < each; ++k) {
    std::vector<BYTE> b(good);
    for (int flips = 1 + rng.Below(4); flips > 0; --flips)
      b[static_cast<size_t>(rng.Below(static_cast<int>(b.size())))] ^= static_cast<BYTE>(1u << rng.Below(8));
    out.push_back(b);

    b = good;
    size_t at = tags[static_cast<size_t>(rng.Below(static_cast<int>(tags.size())))];
    // A length past one byte: 0xFF, then 0xFFFF and four bytes, or all eight.
    const BYTE longer[] = {0xFF, 0xFF, 0xFF};
    b.insert(b.begin() + static_cast<ptrdiff_t>(at) + 1, std::begin(longer), std::end(longer));
    DWORD d = rng.Pick(wild);
    memcpy(&b[at + 3], &d, 4);
    b[at] = 0xFF;
    out.push_back(b);

    b = good;
    size_t field = static_cast<size_t>(rng.Below(static_cast<int>(good.size()) - 4));
    d = rng.Pick(wild);
    memcpy(&b[field], &d, 4);
    out.push_back(b);

    b = good;
    d = rng.Next() | 0x40;
    memcpy(&b[versionAt], &d, 4);
    out.push_back(b);
  }
  return out;
}

bool MustRefuse(size_t i, size_t goodSize) { return i < goodSize || (i - goodSize) % 4 == 3; }

CCalendarCtl* Ctl(FormControl* c) { return static_cast<CCalendarCtl*>(c->Ctl); }

// Empty when the field and the control agree with themselves, otherwise what broke.
// A value the user's input just made must be a real day, within the range unless the
// range moved since the values were made (the range applies to later input); one the
// host set is kept as set.
int g_valuesChecked = 0;

std::string Invariants(DemoForm& form, FormControl* c, bool inputMadeValue, bool rangeKept) {
  CCalendarCtl* ctl = Ctl(c);
  HWND field = DemoForm::FieldOf(*c);
  if (!field) return "the field is gone";
  tamvero::DateTimeProps props;
  props.Style = ctl->Style, props.DateFormat = ctl->DateFormat, props.TimeFormat = ctl->TimeFormat;
  const tamvero::FormatEntry* f = tamvero::CurrentFormatEntry(props);
  std::wstring text = TextOf(ctl->Edit);
  if (f) {
    std::wstring mask = f->Mask;
    if (text.size() != mask.size()) return "the field's text is not as long as its mask";
    for (size_t i = 0; i < mask.size(); ++i)
      if (mask[i] == L'#' ? !(iswdigit(text[i]) || text[i] == ctl->Edit.PromptChar) : text[i] != mask[i])
        return "the field's text does not match its mask at " + std::to_string(i);
    if (ctl->Edit.GetInputData().GetLength() != std::count(mask.begin(), mask.end(), L'#'))
      return "the field's input data is not as long as its entries";
    // What input makes is digits, or blanks where the field has none yet; a complete value
    // of a full date is a day within the range (unless not checked).
    CString v = ctl->Caption;
    if (inputMadeValue &&
        v.str().find_first_not_of(L"0123456789" + std::wstring(1, ctl->Edit.PromptChar)) != std::wstring::npos)
      return "input made a value that is not digits";
    bool complete = v.GetLength() == f->DigitCount && v.str().find_first_not_of(L"0123456789") == std::wstring::npos;
    if (inputMadeValue && complete && tamvero::IsDateStyle(tamvero::EffectiveStyle(ctl->Style)) && !ctl->NotCheckDate &&
        tamvero::DateGroupOf(ctl->DateFormat) == tamvero::DateGroup::FullDate) {
      ++g_valuesChecked;
      // The value's parts where its form has them.
      std::wstring form = f->ValueForm, digits = v.str();
      auto part = [&](const wchar_t* code) {
        size_t at = form.find(code);
        return at == std::wstring::npos ? 0 : _wtoi(digits.substr(at, wcslen(code)).c_str());
      };
      int y = part(L"YYYY"), m = part(L"MM"), d = part(L"DD");
      if (d < 1 || d > tamvero::DaysInMonth(y, m)) return "a complete value is no real day";
      if (rangeKept && (v.str() < ctl->StartTime.str() || v.str() > ctl->EndTime.str()))
        return "a complete value is outside the range";
    }
  }
  auto sel = SelOf(ctl->Edit);
  if (sel.first < 0 || sel.first > sel.second || sel.second > static_cast<int>(text.size()))
    return "the selection is outside the text";
  bool open = form.DropDownOf(*c) != nullptr;
  if (open && (!tamvero::IsDateStyle(tamvero::EffectiveStyle(ctl->Style)) || !ctl->CalendarVisible))
    return "a drop-down is open that the control does not know of";
  return std::string();
}

} // namespace

class Fuzz : public HostTest {};

TEST_F(Fuzz, FormFilesKeepTheFormAndDamagedOnesAreRefusedOrGiveWorkingControls) {
  const uint64_t seed = Seed();
  SCOPED_TRACE(Replay(seed));
  Rng rng(seed ^ 0xF00D);
  TempFolder dir;
  ASSERT_NE(Make(L"first", 10, 10, L"Style=0;StartTime=20000101"), nullptr);
  ASSERT_NE(Make(L"second", 200, 60, L"Style=4;TimeFormat=2;NextFocusCtrlName=third;Item=x"), nullptr);
  ASSERT_NE(Make(L"third", 10, 110, L"Style=2;DateFormat=8"), nullptr);
  // The form as the user has it: values typed and the focus on the second.
  std::wstring error, good = dir.Path + L"\\good.tvf", damaged = dir.Path + L"\\damaged.tvf";
  auto arrange = [&] {
    Call(Form->Find(L"first")->Dispatch(), L"SetCaptionCtrl", L"20240105");
    Call(Form->Find(L"second")->Dispatch(), L"SetCaptionCtrl", L"101010");
    ::SetFocus(Form->Find(L"second")->Hwnd());
  };
  auto restore = [&] {
    ASSERT_TRUE(LoadFormFile(*Form, good, error)) << error;
    arrange();
  };
  // Names in order, places and stored properties.
  auto snapshot = [&] {
    std::wstring s = Form->Focused();
    for (auto& c : Form->Controls()) {
      RECT r;
      GetWindowRect(c->Hwnd(), &r);
      MapWindowPoints(nullptr, Form->Window(), reinterpret_cast<POINT*>(&r), 2);
      s += L"|" + c->Name + L"@" + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
           std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom);
      for (const wchar_t* p : {L"Caption", L"Style", L"DateFormat", L"TimeFormat", L"StartTime", L"NextFocusCtrlName"})
        s += L" " + Get(c->Dispatch(), p);
    }
    return s;
  };
  arrange();
  const std::wstring kept = snapshot();
  ASSERT_TRUE(SaveFormFile(*Form, good, error)) << error;
  std::vector<BYTE> bytes = ReadBytes(good);
  ASSERT_EQ(Put(Form->Find(L"first")->Dispatch(), L"DateFormat", L"0"), S_OK);
  Make(L"extra", 10, 150);
  restore();
  ASSERT_EQ(snapshot(), kept) << "the saved form did not load as it was";
  auto cases = Damage(bytes, 4, rng, 200);
  ASSERT_GE(cases.size(), 1000u);
  const SIZE_T before = handlecount::PrivateBytes();
  int refused = 0;
  for (size_t i = 0; i < cases.size(); ++i) {
    ASSERT_TRUE(WriteWholeFile(damaged, cases[i].data(), cases[i].size()));
    error.clear();
    if (LoadFormFile(*Form, damaged, error)) {
      EXPECT_FALSE(MustRefuse(i, bytes.size())) << "case " << i << " was taken";
      // What damaged property streams that still load hold must give working controls.
      for (auto& c : Form->Controls()) EXPECT_EQ(Invariants(*Form, c.get(), false, true), "") << "case " << i;
      restore();
      continue;
    }
    ++refused;
    EXPECT_FALSE(error.empty());
    ASSERT_EQ(snapshot(), kept) << "case " << i << " (" << error << ") changed the form";
  }
  // Loading reads no further than the file: no length it claims is ever allocated.
  EXPECT_LT(handlecount::PrivateBytes(), before + (16u << 20)) << refused << " refused";
}

TEST_F(Fuzz, RandomInputClipboardAndPropertyWritesOverEveryFormatKeepTheFieldWhole) {
  const uint64_t seed = Seed();
  const int ops = static_cast<int>(EnvNumber("TAMVERO_FUZZ_OPS", 24000));
  SCOPED_TRACE(Replay(seed));
  const WCHAR chars[] = {L'0',   L'1',   L'2',   L'3',   L'4',   L'5',   L'6', L'7',   L'8',  L'9',   L'0',
                         L'1',   L'2',   L'9',   L'/',   L':',   L'.',   L'-', L'+',   L' ',  L'a',   L'Z',
                         L'#',   8,      9,      13,     27,     0x03,   0x16, 0x18,   0x1A,  0xFF10, 0xFF11,
                         0xFF15, 0xFF19, 0x0663, 0x0969, 0xB144, 0xC6D4, 0xE9, 0xD800, 0x2028};
  const UINT keys[] = {VK_UP,     VK_DOWN, VK_LEFT, VK_RIGHT,  VK_HOME, VK_END,      VK_DELETE, VK_INSERT, VK_BACK,
                       VK_RETURN, VK_TAB,  VK_F4,   VK_ESCAPE, VK_ADD,  VK_SUBTRACT, VK_PRIOR,  VK_NEXT,   'A'};
  const wchar_t* const props[] = {L"Style",   L"DateFormat", L"TimeFormat",   L"Enabled", L"Visible",
                                  L"Caption", L"StartTime",  L"NotCheckDate", L"Style",   L"DateFormat"};
  const wchar_t* const parts[] = {L"field", L"arrow", L"spinup", L"spindown"};
  const UINT clipboard[] = {WM_COPY, WM_CUT, WM_CLEAR, WM_PASTE, WM_PASTE};
  std::set<int> dateFormats, timeFormats; // those the field had as input came
  TempFolder dir;
  const std::wstring saved = dir.Path + L"\\fg.tvf";
  const long deferredBefore = FxDeferredCount();
  for (int style = 0; style < tamvero::kStyleCount; ++style) {
    Rng rng(seed + static_cast<uint64_t>(style));
    Form->RemoveAll();
    const std::wstring fProps = L"Style=" + std::to_wstring(style);
    FormControl* f = Make(L"f", 10, 10, fProps.c_str());
    ASSERT_NE(Make(L"g", 10, 200, L""), nullptr);
    ASSERT_NE(f, nullptr);
    std::wstring error;
    ASSERT_TRUE(SaveFormFile(*Form, saved, error)) << error;
    auto random = [&](int len) {
      std::wstring s;
      for (int i = 0; i < len; ++i) s += rng.Pick(chars);
      return s;
    };
    // A property write, as a handler or the host makes one.
    bool rangeKept = true;
    auto write = [&](FormControl* c) {
      const wchar_t* name = rng.Pick(props);
      if (!wcscmp(name, L"StartTime")) rangeKept = false;
      std::wstring value;
      if (!wcscmp(name, L"Style"))
        value = std::to_wstring(rng.Below(7));
      else if (!wcscmp(name, L"DateFormat"))
        value = std::to_wstring(rng.Below(tamvero::kDateFormatCount));
      else if (!wcscmp(name, L"TimeFormat"))
        value = std::to_wstring(rng.Below(tamvero::kTimeFormatCount));
      else if (!wcscmp(name, L"StartTime"))
        value = rng.Below(2) ? L"19700101" : L"20240110";
      else if (!wcscmp(name, L"Caption"))
        value = random(rng.Below(10));
      else
        value = std::to_wstring(rng.Below(2) || !wcscmp(name, L"NotCheckDate") ? 0 : 1);
      Put(c->Dispatch(), name, value.c_str());
      return std::wstring(name) + L"=" + value;
    };
    // What a handler does: a property write of its control mostly, else the focus moved,
    // a control removed (it goes once the event has returned) or the whole form replaced.
    int handlerWrites = 0;
    Form->EventHandler = [&](const std::wstring& name, const std::wstring&) {
      if (rng.Below(50) != 0) return false;
      ++handlerWrites;
      const int what = rng.Below(12);
      FormControl *c = Form->Find(name), *other = Form->Find(name == L"f" ? L"g" : L"f");
      if (what == 0)
        Form->Remove(rng.Below(2) ? L"f" : L"g");
      else if (what == 1)
        LoadFormFile(*Form, saved, error);
      else if (what == 2 && other)
        ::SetFocus(DemoForm::FieldOf(*other));
      else if (c)
        write(c);
      return true;
    };
    std::wstring last;
    for (int op = 0; op < ops; ++op) {
      // Made again when a handler removed it.
      if (!Form->Find(L"g")) Make(L"g", 10, 200, L"");
      if (!(f = Form->Find(L"f"))) f = Make(L"f", 10, 10, fProps.c_str());
      ASSERT_TRUE(f && Form->Find(L"g"));
      const CString valueBefore = Ctl(f)->Caption;
      const std::wstring textBefore = TextOf(Ctl(f)->Edit);
      const int writesBefore = handlerWrites;
      HWND field = DemoForm::FieldOf(*f);
      const bool date = tamvero::IsDateStyle(tamvero::EffectiveStyle(Ctl(f)->Style));
      (date ? dateFormats : timeFormats).insert(date ? Ctl(f)->DateFormat : Ctl(f)->TimeFormat);
      const int kind = rng.Below(100);
      if (kind < 45) {
        WCHAR ch = rng.Pick(chars);
        SendMessageW(field, WM_CHAR, ch, 1);
        last = L"char " + std::to_wstring(ch);
      } else if (kind < 70) {
        UINT vk = rng.Pick(keys);
        SendMessageW(field, WM_KEYDOWN, vk, 1);
        SendMessageW(field, WM_KEYUP, vk, 0xC0000001);
        last = L"key " + std::to_wstring(vk);
      } else if (kind < 75) {
        int len = GetWindowTextLengthW(field);
        int a = rng.Below(len + 4) - 2, b = rng.Below(len + 4) - 2;
        SendMessageW(field, EM_SETSEL, static_cast<WPARAM>(a), b);
        last = L"select";
      } else if (kind < 80) {
        const UINT msg = rng.Pick(clipboard);
        last = L"clipboard " + std::to_wstring(msg);
        if (msg == WM_PASTE && rng.Below(2)) {
          std::wstring text = random(rng.Below(14));
          ASSERT_TRUE(testhost::PutClipboardText(Form->Window(), text));
          last += L" " + text;
        }
        SendMessageW(field, msg, 0, 0);
      } else if (kind < 86) {
        // A click on a part of the control: its window's client point, as the mouse sends it.
        const wchar_t* part = rng.Pick(parts);
        RECT rc;
        GetClientRect(f->Hwnd(), &rc);
        POINT at = {rc.right - 9, part[4] == L'u'   ? rc.bottom / 4
                                  : part[4] == L'd' ? rc.bottom * 3 / 4
                                                    : rc.bottom / 2};
        HWND target = f->Hwnd();
        if (part[0] == L'f') target = field, at = {4, 4};
        SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        if (IsWindow(target)) SendMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        last = std::wstring(L"click ") + part;
      } else if (kind < 91) {
        // A click on any day or button of the open drop-down; its title's month and year
        // open a modal menu and are passed over.
        HWND cal = Form->DropDownOf(*f);
        last = L"day";
        if (!cal) continue;
        RECT rc;
        GetClientRect(cal, &rc);
        MCHITTESTINFO hit = {};
        hit.cbSize = sizeof hit;
        hit.pt = {rng.Below(rc.right), rng.Below(rc.bottom)};
        SendMessageW(cal, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.uHit == MCHT_TITLEMONTH || hit.uHit == MCHT_TITLEYEAR) continue;
        SendMessageW(cal, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.pt.x, hit.pt.y));
        if (IsWindow(cal)) SendMessageW(cal, WM_LBUTTONUP, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
      } else if (kind < 96) {
        last = L"write " + write(f);
      } else {
        ::SetFocus(rng.Below(2) ? field : DemoForm::FieldOf(*Form->Find(L"g")));
        last = L"focus";
      }
      if (!(f = Form->Find(L"f"))) continue; // removed by a handler
      const bool input = last.compare(0, 5, L"write") != 0 && handlerWrites == writesBefore;
      std::string broken = Invariants(*Form, f, input && Ctl(f)->Caption != valueBefore, rangeKept);
      if (!broken.empty())
        FAIL() << "style " << style << " op " << op << " (" << testing::PrintToString(last) << "): " << broken
               << "; text " << testing::PrintToString(textBefore) << " -> "
               << testing::PrintToString(TextOf(Ctl(f)->Edit)) << ", value "
               << testing::PrintToString(Ctl(f)->Caption.str()) << ", style " << Ctl(f)->Style << " format "
               << Ctl(f)->DateFormat << " range " << testing::PrintToString(Ctl(f)->StartTime.str()) << "; "
               << Replay(seed);
      if (op % 256 == 0) FxPumpMessages();
    }
    Form->EventHandler = nullptr;
    EXPECT_GT(handlerWrites, 0);
    // A retired drop-down goes once the calendar is out of its notification.
    Form->RemoveAll();
    FxPumpMessages();
    EXPECT_EQ(FindWindowW(L"SysMonthCal32", nullptr), nullptr) << "a drop-down outlived its control";
    // Days the user's input completed were checked, in the date styles at least.
    EXPECT_TRUE(!tamvero::IsDateStyle(style) || std::exchange(g_valuesChecked, 0) > 0) << style;
  }
  EXPECT_GT(FxDeferredCount(), deferredBefore) << "no removal waited for the control's own event to return";
  // A clerk's day of input keeps only the newest events (the log's bounds are EventLogBounds').
  EXPECT_GE(Form->Fired.size(), DemoForm::kMaxFired);
  EXPECT_LE(Form->Fired.size(), DemoForm::kMaxFired + DemoForm::kMaxFired / 10);
  EXPECT_EQ(dateFormats.size(), static_cast<size_t>(tamvero::kDateFormatCount));
  EXPECT_EQ(timeFormats.size(), static_cast<size_t>(tamvero::kTimeFormatCount));
}
