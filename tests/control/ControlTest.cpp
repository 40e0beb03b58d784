// The control object: its defaults, change codes, enabled state, login information, and the
// style and formats applied to the field.
#include "TestHost.h"

#include "Lumadex.h"

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

using namespace testhost;

class ControlObject : public ControlFixture {};

// The defaults docs/reference.md lists are what a fresh control reads. The reference is
// generated from the header's initializers (reference_current keeps it so), so this
// catches a default that the construction or the window changes behind the header.
TEST_F(ControlObject, DefaultsAreWhatTheReferenceLists) {
  std::ifstream file(TAMVERO_SOURCE_DIR "/docs/reference.md", std::ios::binary);
  const std::string doc((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  // Rows of the property table: "| dispid | [`Name`](#property-...) | type | `default` ... |".
  const std::regex row("\\n\\| \\d+ \\| \\[`(\\w+)`\\]\\(#property-[^|]*\\|[^|]*\\| `\"?([^`\"]*)\"?`");
  int rows = 0;
  for (std::sregex_iterator m(doc.begin(), doc.end(), row), end; m != end; ++m, ++rows) {
    const std::string name = (*m)[1], value = (*m)[2]; // names and defaults are ASCII
    EXPECT_EQ(Get(std::wstring(name.begin(), name.end()).c_str()), std::wstring(value.begin(), value.end())) << name;
  }
  EXPECT_GE(rows, 20);
}

// Design mode is checked for the rows that give it; the format rows are run-time ones.
TEST_F(ControlObject, PropertyWritesReportTheirChangeCodesInOrder) {
  struct Case {
    short style; // set before
    const wchar_t* name;
    long value;
    const wchar_t* text;                        // for string properties
    const wchar_t *run, *beforeWindow, *design; // change codes; design null: run time only
  };
  const std::vector<Case> cases = {
      {0, L"Enabled", 0, nullptr, L"10000 5 6", L"10000", L"2 5 6"},
      {0, L"Visible", 0, nullptr, L"10001", L"", L"4"},
      {0, L"BackColorIndex", 50, nullptr, L"5", L"", L"5"},
      {0, L"EndTime", 0, L"20301231", L"11", L"11", L"11"},
      {0, L"FontIndex", 3, nullptr, L"18", L"18", L"18"},
      {0, L"Caption", 0, L"20240105", L"", L"", L""},
      {0, L"DateFormat", 4, nullptr, L"7", L"", nullptr},
      {0, L"TimeFormat", 3, nullptr, L"16", L"16", nullptr},
      {1, L"DateFormat", 4, nullptr, L"7", L"", nullptr}, // reported under a time style too
      {0, L"Style", 2, nullptr, L"7 15", L"15", nullptr},
      {0, L"Style", 1, nullptr, L"16 15", L"15", nullptr},
      {1, L"Style", 3, nullptr, L"7 15", L"15", nullptr},
      {1, L"StartTime", 0, L"20000101", L"", L"", nullptr},
  };
  enum Mode { Run, Design, BeforeWindow };
  for (Mode mode : {Run, Design, BeforeWindow}) {
    for (const auto& c : cases) {
      if (mode == Design && !c.design) continue;
      Renew();
      Ctl->Style = c.style;
      if (mode != BeforeWindow) Create(mode == Run);
      Ctl->SetRunMode(mode != Design);
      Rec.Changes.clear();
      ASSERT_EQ(c.text ? PutString(c.name, c.text) : PutLong(c.name, c.value), S_OK) << c.name;
      std::wstring codes;
      for (const auto& code : Rec.Changes.Texts()) codes += (codes.empty() ? L"" : L" ") + code;
      EXPECT_EQ(codes, mode == Run      ? c.run
                       : mode == Design ? c.design
                                        : c.beforeWindow)
          << c.name << " style " << c.style << " mode " << mode;
      // The value written is the value read back (the caption's is the value tests').
      if (wcscmp(c.name, L"Caption") != 0) {
        EXPECT_EQ(Get(c.name), c.text ? c.text : std::to_wstring(c.value)) << c.name;
      }
    }
  }
}

TEST_F(ControlObject, DisabledControlIsReadOnlyTakesFocusAndIgnoresSteppingAndOpeningKeys) {
  PinnedClock clock(L"20240315120000");
  Create();
  Ctl->MSetCaptionCtrlEx(L"20240315", FALSE);
  ASSERT_EQ(PutLong(L"Enabled", 0), S_OK);
  ::SetFocus(Ctl->Edit.m_hWnd);
  Rec.Events.clear();
  for (UINT key : {VK_UP, VK_DOWN, VK_F4}) SendKey(key);
  // Read-only, not open to typing, focused; the value kept, no drop-down, no event.
  std::wstringstream disabled;
  disabled << !!(GetWindowLongW(Ctl->Edit.m_hWnd, GWL_STYLE) & ES_READONLY) << Ctl->Edit.EditEnabled
           << (GetFocus() == Ctl->Edit.m_hWnd) << " " << Get(L"Caption") << " " << Ctl->IsCalendarVisible()
           << Rec.Events.size();
  EXPECT_EQ(disabled.str(), L"101 20240315 00");
  ASSERT_EQ(PutLong(L"Enabled", 1), S_OK);
  EXPECT_FALSE(GetWindowLongW(Ctl->Edit.m_hWnd, GWL_STYLE) & ES_READONLY);
  SendKey(VK_UP);
  EXPECT_EQ(Get(L"Caption"), L"20240316");
}

TEST_F(ControlObject, LoginInformationDecidesTheSpinEdges) {
  const std::pair<const wchar_t*, BOOL> cases[] = {
      {L"G13", TRUE}, {L"G17", TRUE}, {L"g13", FALSE}, {L"G14", FALSE}, {nullptr, FALSE}};
  for (const auto& [login, suppress] : cases) {
    Renew();
    JTLink_SetLoginInfo(L"CONN_MED", login);
    Create();
    EXPECT_EQ(Ctl->SuppressSpinEdges, suppress) << (login ? login : L"(none)");
  }
  JTLink_SetLoginInfo(L"CONN_MED", nullptr);
}

// A time style takes the time format, the others the date format; a code outside the
// table keeps the mask before it. A Style outside the table is kept as written or loaded
// and read as style 0: its mask, its drop-down. (The format table's rows are tests/datetime's.)
TEST_F(ControlObject, TheStyleChoosesTheFormatAndUnknownCodesKeepTheMaskOrActAsStyle0) {
  PinnedClock clock(L"20240315101112");
  struct Case {
    short style, dateFormat, timeFormat;
    bool beforeCreation;  // else written to the running control
    const wchar_t* reads; // Style, DateFormat (as written), [the field cleared], digits
  };
  const Case cases[] = {
      {0, 20, 0, false, L"0 20 [    ] 4 4"},       {0, -1, 0, false, L"0 -1 [    ] 4 4"},
      {0, 2, 0, false, L"0 2 [    /  /  ] 8 8"},   {1, 2, 2, false, L"1 2 [  \uC2DC  \uBD84  \uCD08] 6 6"},
      {2, 9, 0, false, L"2 9 [    /  ] 6 6"},      {6, 2, 0, false, L"6 2 [    /  /  ] 8 8"},
      {-1, 2, 0, false, L"-1 2 [    /  /  ] 8 8"}, {32767, 2, 0, true, L"32767 2 [    /  /  ] 8 8"},
  };
  Create();
  for (const auto& c : cases) { // the rows set before creation last: each takes a new control
    SCOPED_TRACE(testing::Message() << "row " << &c - cases);
    const bool unknown = c.style < 0 || c.style > 5;
    if (c.beforeCreation) {
      Renew();
      Ctl->Style = c.style; // as a loaded stream leaves it
      Create();
    } else {
      // An unknown style is written over a time style, so that the write has something to change.
      if (unknown) {
        ASSERT_EQ(PutLong(L"Style", 1), S_OK);
      }
      ASSERT_EQ(PutLong(L"DateFormat", c.dateFormat), S_OK);
      ASSERT_EQ(PutLong(L"TimeFormat", c.timeFormat), S_OK);
      ASSERT_EQ(PutLong(L"Style", c.style), S_OK); // last, so that the style's choice decides
    }
    Ctl->SetMethodString(FMI_CLEAR_VALUE, L"", L"", 0);
    std::wstringstream reads;
    reads << Get(L"Style") << " " << Get(L"DateFormat") << " [" << Ctl->Edit.GetWindowText().str() << "] "
          << Ctl->DigitCount << " " << Ctl->Edit.FullLength;
    EXPECT_EQ(reads.str(), c.reads);
    if (unknown) {
      TypeChars(L"20240105");
      EXPECT_EQ(Get(L"Caption"), L"20240105");
      EXPECT_EQ(Ctl->SendMessage(WM_CALENDAR_SHOW, 0, 0), 1) << "the drop-down opens";
      Ctl->SendMessage(WM_CALENDAR_HIDE, 0, 0);
    }
  }
}

// Losing the focus completes a date one digit short (the completion rules themselves are
// checked in tests/datetime).
TEST_F(ControlObject, LeavingTheFieldCompletesADateOneDigitShort) {
  PinnedClock clock(L"20240315120000");
  Recreate(0, 2, 0, 4);
  Ctl->MSetFocus();
  TypeChars(L"2024011");
  ::SetFocus(FormWindow());
  EXPECT_EQ(Get(L"Caption"), L"20240101");
}
