// Seeded fuzzing of what a control and the demo form take from outside: form files damaged
// at random and past each limit (their controls' property streams among them), and long
// runs of random input, clipboard operations and property writes (from event handlers too)
// over every format, with the field's invariants checked after every step. A failure
// prints its seed; TAMVERO_FUZZ_SEED replays it, TAMVERO_FUZZ_OPS sets the run's length.
#include "HandleCount.h"
#include "HostFixture.h"
#include "TestHost.h"
#include "Rng.h"

#include "DateMath.h"
#include "FormFile.h"
#include "Formats.h"

#include <algorithm>
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

// Damaged copies of good bytes: cut at every length (none of which may load), then rounds
// of bit flips, an archive string's length made long and wild, and a 32-bit field made wild.
std::vector<std::vector<BYTE>> Damage(const std::vector<BYTE>& good, Rng& rng, int rounds) {
  std::vector<std::vector<BYTE>> out;
  for (size_t n = 0; n < good.size(); ++n) out.emplace_back(good.begin(), good.begin() + static_cast<ptrdiff_t>(n));
  const DWORD wild[] = {0xFFFFFFFF, 0x80000000, 0x7FFFFFFF, 0xFFFFFFFE, 0x10000, 0xFFFF};
  std::vector<size_t> tags; // a string's one-byte length, after the wide-string mark
  for (size_t i = 0; i + 3 < good.size(); ++i)
    if (good[i] == 0xFF && good[i + 1] == 0xFE && good[i + 2] == 0xFF) tags.push_back(i + 3);
  auto below = [&](size_t n) { return static_cast<size_t>(rng.Below(static_cast<int>(n))); };
  for (int k = 0; k < rounds; ++k) {
    std::vector<BYTE> b(good);
    for (int flips = 1 + rng.Below(4); flips > 0; --flips) b[below(b.size())] ^= static_cast<BYTE>(1u << rng.Below(8));
    out.push_back(b);

    b = good;
    size_t at = tags[below(tags.size())];
    // A length past one byte: 0xFF, then 0xFFFF and four bytes.
    const BYTE longer[] = {0xFF, 0xFF, 0xFF};
    b.insert(b.begin() + static_cast<ptrdiff_t>(at) + 1, std::begin(longer), std::end(longer));
    DWORD d = rng.Pick(wild);
    memcpy(&b[at + 3], &d, 4);
    b[at] = 0xFF;
    out.push_back(b);

    b = good;
    d = rng.Pick(wild);
    memcpy(&b[below(good.size() - 4)], &d, 4);
    out.push_back(b);
  }
  return out;
}

CCalendarCtl* Ctl(FormControl* c) { return static_cast<CCalendarCtl*>(c->Ctl); }

// Empty when the field and the control agree with themselves, otherwise what broke.
// A value the user's input just made must be a real day, within the range unless the
// range moved since the values were made (the range applies to later input); one the
// host set is kept as set.
int g_valuesChecked = 0;

std::string Invariants(DemoForm& form, FormControl* c, bool inputMadeValue, bool rangeKept) {
  CCalendarCtl* ctl = Ctl(c);
  if (!DemoForm::FieldOf(*c)) return "the field is gone";
  tamvero::DateTimeProps props;
  props.Style = ctl->Style, props.DateFormat = ctl->DateFormat, props.TimeFormat = ctl->TimeFormat;
  const tamvero::FormatEntry* f = tamvero::CurrentFormatEntry(props);
  const std::wstring text = TextOf(ctl->Edit), v = ctl->Caption.str();
  if (f) {
    const std::wstring mask = f->Mask;
    if (text.size() != mask.size()) return "the field's text is not as long as its mask";
    for (size_t i = 0; i < mask.size(); ++i)
      if (mask[i] == L'#' ? !(iswdigit(text[i]) || text[i] == ctl->Edit.PromptChar) : text[i] != mask[i])
        return "the field's text does not match its mask at " + std::to_string(i);
    if (ctl->Edit.GetInputData().GetLength() != std::count(mask.begin(), mask.end(), L'#'))
      return "the field's input data is not as long as its entries";
    // What input makes is digits, or blanks where the field has none yet; a complete value
    // of a full date (YYYYMMDD) is a real day within the range (unless not checked).
    if (inputMadeValue && v.find_first_not_of(L"0123456789" + std::wstring(1, ctl->Edit.PromptChar)) != v.npos)
      return "input made a value that is not digits";
    if (inputMadeValue && v.size() == 8 && v.find_first_not_of(L"0123456789") == v.npos &&
        tamvero::IsDateStyle(ctl->Style) && !ctl->NotCheckDate &&
        tamvero::DateGroupOf(ctl->DateFormat) == tamvero::DateGroup::FullDate) {
      ++g_valuesChecked;
      const int d = std::stoi(v.substr(6, 2));
      if (d < 1 || d > tamvero::DaysInMonth(std::stoi(v.substr(0, 4)), std::stoi(v.substr(4, 2))))
        return "a complete value is no real day";
      if (rangeKept && (v < ctl->StartTime.str() || v > ctl->EndTime.str()))
        return "a complete value is outside the range";
    }
  }
  auto sel = SelOf(ctl->Edit);
  if (sel.first < 0 || sel.first > sel.second || sel.second > static_cast<int>(text.size()))
    return "the selection is outside the text";
  if (form.DropDownOf(*c) && (!tamvero::IsDateStyle(ctl->Style) || !ctl->CalendarVisible))
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
  ASSERT_NE(Make(L"other", 200, 60, L"Style=4;TimeFormat=2;NextFocusCtrlName=third;Item=x"), nullptr);
  ASSERT_NE(Make(L"third", 10, 110, L"Style=2;DateFormat=8"), nullptr);
  std::wstring error, good = dir.Path + L"\\good.tvf", damaged = dir.Path + L"\\damaged.tvf";
  // The form as the user has it: values typed and the focus on the second.
  auto arrange = [&] {
    DemoForm::PutProperty(Form->Find(L"first")->Dispatch(), L"Caption", L"20240105");
    DemoForm::PutProperty(Form->Find(L"other")->Dispatch(), L"Caption", L"101010");
    ::SetFocus(Form->Find(L"other")->Hwnd());
  };
  // The focus, and the controls' names in order, places and stored properties as saved.
  auto snapshot = [&] {
    std::wstring now = dir.Path + L"\\now.tvf", saveError;
    EXPECT_TRUE(SaveFormFile(*Form, now, saveError)) << saveError;
    return std::make_pair(Form->Focused(), ReadBytes(now));
  };
  arrange();
  const auto kept = snapshot();
  ASSERT_TRUE(SaveFormFile(*Form, good, error)) << error;
  const std::vector<BYTE> bytes = ReadBytes(good);
  auto cases = Damage(bytes, rng, 200);
  std::vector<std::wstring> reason(cases.size()); // why a hand-made one is refused
  // The second name as the archive stores it: a wide-string mark, its length and its
  // letters; its four edges and its stream's size follow. The control count follows the
  // file's mark and version.
  const BYTE name[] = {0xFF, 0xFE, 0xFF, 5, 'o', 0, 't', 0, 'h', 0, 'e', 0, 'r', 0};
  const size_t at =
      static_cast<size_t>(std::search(bytes.begin(), bytes.end(), std::begin(name), std::end(name)) - bytes.begin()) +
      sizeof name;
  ASSERT_LT(at, bytes.size());
  auto patched = [&](size_t offset, std::vector<BYTE> with, const wchar_t* why) {
    cases.push_back(bytes);
    std::copy(with.begin(), with.end(), cases.back().begin() + static_cast<ptrdiff_t>(offset));
    reason.push_back(why);
  };
  patched(4, {2, 0, 0, 0}, L"is not a form file of this demo");
  patched(8, {0x20, 0x4E, 0, 0}, L"holds 20000 controls; a form holds at most 500");
  patched(at - 10, {'F', 0, 'I', 0, 'R', 0, 'S', 0, 'T', 0}, L"two controls are named FIRST");
  patched(at, {0x40, 0x9C, 0, 0}, L"has no place on a form (40000,60 to 350,84)");
  patched(at + 16, {0x70, 0x11, 1, 0}, L"past the limits (128 characters, 65536 bytes)");
  patched(at - 11, {0}, L"has no name");
  cases.back().erase(cases.back().begin() + static_cast<ptrdiff_t>(at) - 10,
                     cases.back().begin() + static_cast<ptrdiff_t>(at));
  const SIZE_T before = handlecount::PrivateBytes();
  for (size_t i = 0; i < cases.size(); ++i) {
    ASSERT_TRUE(WriteWholeFile(damaged, cases[i].data(), cases[i].size()));
    error.clear();
    if (LoadFormFile(*Form, damaged, error)) {
      EXPECT_TRUE(i >= bytes.size() && reason[i].empty()) << "case " << i << " was taken";
      // What damaged property streams that still load hold must give working controls.
      for (auto& c : Form->Controls()) EXPECT_EQ(Invariants(*Form, c.get(), false, true), "") << "case " << i;
      ASSERT_TRUE(LoadFormFile(*Form, good, error)) << error;
      arrange();
      continue;
    }
    EXPECT_TRUE(!error.empty() && error.find(reason[i]) != error.npos) << error << " is not " << reason[i];
    ASSERT_EQ(snapshot(), kept) << "case " << i << " (" << error << ") changed the form";
  }
  // Loading reads no further than the file: no length it claims is ever allocated.
  EXPECT_LT(handlecount::PrivateBytes(), before + (16u << 20));
}

TEST_F(Fuzz, RandomInputClipboardAndPropertyWritesOverEveryFormatKeepTheFieldWhole) {
  const uint64_t seed = Seed();
  const int ops = static_cast<int>(EnvNumber("TAMVERO_FUZZ_OPS", 24000));
  SCOPED_TRACE(Replay(seed));
  // Digits (some twice as likely), separators, letters, control characters, other scripts'
  // digits and letters, a lone surrogate and a line separator.
  const std::wstring chars = L"01234567890129/:.-+ aZ#\b\t\r\x1b\x03\x16\x18\x1a\xff10\xff11\xff15\xff19\x0663\x0969"
                             L"\xb144\xc6d4\xe9\xd800\x2028";
  const UINT keys[] = {VK_UP,     VK_DOWN, VK_LEFT, VK_RIGHT,  VK_HOME, VK_END,      VK_DELETE, VK_INSERT, VK_BACK,
                       VK_RETURN, VK_TAB,  VK_F4,   VK_ESCAPE, VK_ADD,  VK_SUBTRACT, VK_PRIOR,  VK_NEXT,   'A'};
  // A property and how many numbers it takes (0: a text). NotCheckDate stays 0, so that values are checked.
  const struct {
    const wchar_t* name;
    int numbers;
  } props[] = {{L"Style", 7},
               {L"DateFormat", tamvero::kDateFormatCount},
               {L"TimeFormat", tamvero::kTimeFormatCount},
               {L"Enabled", 2},
               {L"Visible", 2},
               {L"Caption", 0},
               {L"StartTime", 0},
               {L"NotCheckDate", 1},
               {L"Style", 7},
               {L"DateFormat", tamvero::kDateFormatCount}};
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
    Make(L"g", 10, 200, L"");
    std::wstring error;
    ASSERT_TRUE(SaveFormFile(*Form, saved, error)) << error;
    auto pick = [&] { return chars[static_cast<size_t>(rng.Below(static_cast<int>(chars.size())))]; };
    auto random = [&](int len) {
      std::wstring s;
      for (int i = 0; i < len; ++i) s += pick();
      return s;
    };
    // A property write, as a handler or the host makes one.
    bool rangeKept = true;
    auto write = [&](FormControl* c) {
      const auto& p = rng.Pick(props);
      const bool start = !wcscmp(p.name, L"StartTime");
      rangeKept = rangeKept && !start;
      const std::wstring value = p.numbers ? std::to_wstring(rng.Below(p.numbers))
                                 : start   ? (rng.Below(2) ? L"19700101" : L"20240110")
                                           : random(rng.Below(10));
      DemoForm::PutProperty(c->Dispatch(), p.name, value);
      return std::wstring(p.name) + L"=" + value;
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
      const bool date = tamvero::IsDateStyle(Ctl(f)->Style);
      (date ? dateFormats : timeFormats).insert(date ? Ctl(f)->DateFormat : Ctl(f)->TimeFormat);
      const int kind = rng.Below(100);
      if (kind < 45) {
        const WCHAR ch = pick();
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
      } else if (kind < 91) {
        // A click, as the mouse sends it: on the field (0); on the button strip's upper
        // quarter (the spin's up), middle (the arrow) or lower quarter (1 to 3); or on any
        // day or button of the open drop-down, but its title's month and year, which open
        // a modal menu.
        const int part = rng.Below(8);
        const HWND target = part == 0 ? field : part < 4 ? f->Hwnd() : Form->DropDownOf(*f);
        last = L"click " + std::to_wstring(part);
        if (!target) continue;
        RECT rc;
        GetClientRect(target, &rc);
        MCHITTESTINFO hit = {};
        hit.cbSize = sizeof hit;
        hit.pt = part == 0  ? POINT{4, 4}
                 : part < 4 ? POINT{rc.right - 9, rc.bottom * part / 4}
                            : POINT{rng.Below(rc.right), rng.Below(rc.bottom)};
        if (part >= 4 && (SendMessageW(target, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)),
                          hit.uHit == MCHT_TITLEMONTH || hit.uHit == MCHT_TITLEYEAR))
          continue;
        SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.pt.x, hit.pt.y));
        if (IsWindow(target)) SendMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
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
               << testing::PrintToString(Ctl(f)->Caption.str()) << "; " << Replay(seed);
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
