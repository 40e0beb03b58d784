// The mask model: records built from mask texts, input laid onto them, inserted,
// deleted and stripped, and where the caret lands after the text is rebuilt.
#include "TestHost.h"

using namespace testhost;

TEST(MaskData, EachKindAcceptsAndConvertsItsCharacters) {
  struct {
    int type;
    WCHAR ch;
    BOOL entry;
    BOOL valid;
    WCHAR stored;
  } const cases[] = {
      // The entry kinds' bounds, and the kinds and boundaries that no model row below lays,
      // inserts or refuses.
      {DateSeparator, L'/', FALSE, FALSE, L'/'},  {DigitEntry, L' ', TRUE, FALSE, L' '},
      {AlphaNumEntry, L'q', TRUE, TRUE, L'q'},    {AlphaNumEntry, L'-', TRUE, FALSE, L'-'},
      {LetterEntry, L'4', TRUE, FALSE, L'4'},     {UpperLetterEntry, L'3', TRUE, FALSE, L'3'},
      {CharEntry, L' ', TRUE, TRUE, L' '},        {CharEntry, 0x1F, TRUE, FALSE, 0x1F},
      {CharEntry, 0x7F, TRUE, FALSE, 0x7F},       {CharEntry, 0x80, TRUE, TRUE, 0x80},
      {CharEntry, 0xFF, TRUE, TRUE, 0xFF},        {CharEntry, 0x100, TRUE, FALSE, 0x100},
      {EscapedLiteral, L'#', FALSE, FALSE, L'#'},
  };
  for (const auto& c : cases) {
    CMaskData rec;
    rec.Type = c.type;
    SCOPED_TRACE(testing::Message() << "type " << c.type << " char 0x" << std::hex << static_cast<int>(c.ch));
    EXPECT_EQ(rec.IsEntry(), c.entry);
    EXPECT_EQ(rec.IsValidChar(c.ch), c.valid);
    EXPECT_EQ(rec.ConvertChar(c.ch), c.stored);
  }
}

// The model on a real control's field, the control's value logic kept out of it.
class MaskModel : public EditControlFixture {
protected:
  void SetUp() override {
    EditControlFixture::SetUp();
    CreateWithMask(L"", 8);
    Edit = &Ctl->Edit;
  }
  CCalendarEdit* Edit = nullptr;
};

TEST_F(MaskModel, SetMaskBuildsOneRecordPerPosition) {
  const int D = DigitEntry, L = Literal, E = EscapedLiteral, T = TimeSeparator;
  struct {
    const wchar_t* mask;
    std::vector<int> types;
    std::wstring chars; // the text shown is these up to a NUL
    std::pair<int, int> sel;
  } const cases[] = {
      {L"A?><&", {AlphaNumEntry, LetterEntry, UpperLetterEntry, LowerLetterEntry, CharEntry}, L"     ", {0, 0}},
      {L"##\uB144", {D, D, L}, L"  \uB144", {0, 0}}, // "년" of a Korean date
      // Mask characters are case-sensitive; separators show their own characters.
      {L"aA.,/:", {L, AlphaNumEntry, DecimalSeparator, ThousandsSeparator, DateSeparator, T}, L"a .,/:", {1, 1}},
      // Escapes: "\#" and "\\" are literals; "\9" too, although 9 is a digit.
      {L"\\##\\\\-\\9#", {E, D, E, L, E, D}, L"# \\-9 ", {1, 1}},
      // A trailing backslash is a literal NUL; the text ends before it.
      {L"##\\", {D, D, L}, std::wstring(L"  \0", 3), {0, 0}},
      {nullptr, {}, L"", {0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask ? c.mask : L"(null)");
    Edit->SetMask(c.mask);
    EXPECT_EQ(RecordsOf(*Edit).types, c.types);
    EXPECT_EQ(RecordsOf(*Edit).chars, c.chars);
    EXPECT_EQ(TextOf(*Edit), c.chars.substr(0, c.chars.find(L'\0')));
    EXPECT_EQ(SelOf(*Edit), c.sel);
  }
}

// Each row is one call on the records: text laid onto the entry positions (raw, or
// formatted with the literals skipped), a range deleted with the rest closing up towards
// the start, a character inserted that shifts the rest right or is refused, a text with
// the literal runs found in place stripped, or the records cleared.
TEST_F(MaskModel, LayDeleteInsertStripAndClear) {
  enum Op { Lay, LayFormatted, Delete, Insert, Strip, Clear };
  const wchar_t* D = L"####-##-##";
  struct {
    Op op;
    const wchar_t* mask;
    const wchar_t* before; // laid raw first
    const wchar_t* text;   // laid or stripped
    int a, b;              // the range, or the position and the character
    int result;
    const wchar_t* shown;           // the window text, or what is left after stripping
    const wchar_t* input = nullptr; // after laying or clearing: the input data
  } const cases[] = {
      {Lay, D, L"", L"20240131", 0, 0, TRUE, L"2024-01-31", L"20240131"},
      {Lay, D, L"", L"2024ab0131", 0, 0, FALSE, L"2024-01-31", L"20240131"},
      {LayFormatted, D, L"", L"2024-01-31", 0, 0, FALSE, L"2024-01-31", L"20240131"},
      {Lay, D, L"", L"20 40131", 0, 0, TRUE, L"20 4-01-31", L"20 40131"},
      {LayFormatted, D, L"", L"20 40131", 0, 0, TRUE, L"2040-13-1 ", L"2040131 "},
      {Lay, L"##", L"", L"123", 0, 0, TRUE, L"12", L"12"},
      // Text running out while skipping leaves the position empty, not stale.
      {Lay, L"##", L"99", L"1a", 0, 0, FALSE, L"1 ", L"1 "},
      {Lay, L"A?><&", L"", L"9xqQ~", 0, 0, TRUE, L"9xQq~", L"9xQq~"},
      {Delete, D, L"20240131", nullptr, 4, 5, 0, L"2024-01-31"},
      {Delete, D, L"20240131", nullptr, 0, 1, 1, L"0240-13-1 "},
      {Delete, D, L"20240131", nullptr, 3, 6, 2, L"2021-31-  "},
      {Delete, D, L"20240131", nullptr, 0, 10, 8, L"    -  -  "},
      // "~" cannot close up onto the lower-case letter position and is dropped.
      {Delete, L"A?><&", L"9xQq~", nullptr, 1, 2, 1, L"9QQ  "},
      {Insert, D, L"20240131", nullptr, 0, L'9', 0, L"9202-40-13"},
      {Insert, D, L"20240131", nullptr, 4, L'9', 5, L"2024-90-13"},
      {Insert, D, L"20240131", nullptr, 9, L'7', 9, L"2024-01-37"},
      {Insert, D, L"20240131", nullptr, 10, L'7', -1, L"2024-01-31"},
      // "a" would move onto the digit position: the whole insertion is undone.
      {Insert, L"A#", L"a1", nullptr, 0, L'b', -1, L"a1"},
      {Strip, D, L"", L"2024-01-31", 0, 0, 0, L"20240131"},
      {Strip, D, L"", L"2024-01-3", 0, 0, 0, L"2024013"},
      {Strip, D, L"", L"2024/01/31", 0, 0, 0, L"2024/01/31"},
      {Strip, L"(##)-##", L"", L"(12)34", 0, 0, 0, L"12)34"},
      {Strip, L"##-", L"", L"12-", 0, 0, 0, L"12-"},
      {Strip, L"##\\-\\-##", L"", L"12--34", 0, 0, 0, L"1234"},
      // Without records the text stays and is the input data; a second clear empties the window.
      {Clear, D, L"20240131", nullptr, 0, 0, 0, L"", L"2024-01-31"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "op " << c.op << " mask " << c.mask << " before " << c.before << " text "
                                    << (c.text ? c.text : L"") << " " << c.a << "," << c.b);
    Edit->SetMask(c.mask);
    Edit->SetInputData(c.before, TRUE);
    Edit->SetSel(7, 7);
    switch (c.op) {
    case Strip:
      EXPECT_EQ(Edit->StripMaskLiterals(c.text).str(), c.shown);
      continue;
    case Lay:
    case LayFormatted:
      EXPECT_EQ(Edit->SetInputData(c.text, c.op == Lay), c.result);
      EXPECT_EQ(Edit->GetInputData().str(), c.input);
      EXPECT_EQ(SelOf(*Edit), std::make_pair(0, 0));
      break;
    case Delete:
      EXPECT_EQ(Edit->DeleteInputRange(c.a, c.b), c.result);
      // Nothing deleted leaves even the caret alone; a deletion rebuilds from position 0.
      EXPECT_EQ(SelOf(*Edit), c.result ? std::make_pair(0, 0) : std::make_pair(7, 7));
      break;
    case Insert:
      EXPECT_EQ(Edit->InsertInputChar(c.a, static_cast<WCHAR>(c.b)), c.result);
      break;
    case Clear:
      Edit->ClearMask();
      EXPECT_EQ(Edit->GetInputData().str(), c.input);
      Edit->ClearMask();
      break;
    }
    EXPECT_EQ(TextOf(*Edit), c.shown);
  }
}

TEST_F(MaskModel, CaretGoesToTheNextEntryOrSelectsAll) {
  struct {
    const wchar_t* mask;
    int pos;
    int next;
    std::pair<int, int> sel;
  } const cases[] = {
      {L"####-##-##", -3, 0, {0, 0}},   {L"####-##-##", 0, 0, {0, 0}}, {L"####-##-##", 4, 5, {5, 5}},
      {L"####-##-##", 7, 8, {8, 8}},    {L"####-##-##", 9, 9, {9, 9}}, {L"####-##-##", 10, 10, {0, 10}},
      {L"####-##-##", 25, 25, {0, 10}}, {L"##--", 2, 4, {0, 4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mask " << c.mask << " pos " << c.pos);
    Edit->SetMask(c.mask);
    Edit->SetInputData(L"20240131", TRUE);
    EXPECT_EQ(Edit->GetNextEntryPos(c.pos), c.next);
    Edit->RefreshText(c.pos);
    EXPECT_EQ(SelOf(*Edit), c.sel);
    // A negative caret position leaves the selection as it is.
    Edit->SetSel(1, 2);
    Edit->RefreshText(-1);
    EXPECT_EQ(SelOf(*Edit), std::make_pair(1, 2));
  }
}
