// The property stream and the generic form protocol.
#include "TestHost.h"

#include <cstdio>

using namespace testhost;

namespace {

// The bytes in hex, 16 a line, so that a mismatch shows as a line diff.
std::string Hex(const std::vector<BYTE>& bytes) {
  std::string out;
  char two[3];
  for (size_t i = 0; i < bytes.size(); ++i) {
    snprintf(two, sizeof two, "%02x", bytes[i]);
    out += two + std::string(i % 16 == 15 ? "\n" : " ");
  }
  return out;
}

// Builds a stream field by field, as an older or foreign writer would.
struct StreamWriter {
  std::vector<BYTE> bytes;
  bool narrow = false;
  void D(long v) { Raw(&v, 4); }
  void W(short v) { Raw(&v, 2); }
  // A text: wide ones carry the FF FE FF mark before the length.
  void S(const wchar_t* s) {
    const size_t n = wcslen(s);
    if (!narrow) bytes.insert(bytes.end(), {0xFF, 0xFE, 0xFF});
    bytes.push_back(static_cast<BYTE>(n));
    for (size_t i = 0; i < n; ++i) narrow ? bytes.push_back(static_cast<BYTE>(s[i])) : Raw(&s[i], 2);
  }
  void Raw(const void* p, size_t n) {
    const BYTE* b = static_cast<const BYTE*>(p);
    bytes.insert(bytes.end(), b, b + n);
  }
  // A whole stream with the given version, its texts narrow or wide.
  static std::vector<BYTE> Make(long version, const wchar_t* endTime, bool narrow) {
    StreamWriter w;
    w.narrow = narrow;
    w.D(version);
    w.D(0);           // Enabled
    w.D(1);           // Visible
    w.W(3);           // AppearanceStyle
    w.S(L"20240105"); // Caption
    w.D(60);          // BackColorIndex
    w.D(61);          // ForeColorIndex
    w.W(4);           // DateFormat
    w.W(3);           // ItemFlag
    w.S(L"20000101");
    w.S(endTime);
    w.W(1), w.W(-2), w.W(1); // BasicClient, Variance, Indicator
    w.W(2);                  // Style
    w.W(5);                  // TimeFormat
    w.D(1);                  // AutoSave
    w.W(4);                  // FontIndex
    w.S(L"FID7");
    w.D(1); // RequireInput
    w.S(L"next");
    w.D(1); // NotCheckDate
    w.D(5), w.D(11), w.D(12), w.D(13), w.D(14);
    return w.bytes;
  }
};

} // namespace

class Persistence : public ControlFixture {};

// Streams of every layout load field by field, narrow and wide texts alike; loaded into a
// running control, only the members change, nothing is reported or shown. Stored again, they
// are the current layout byte for byte, without the item and with the anchor record
// recomputed from the anchor text: right and bottom, margin 8 on the right, the others kept.
TEST_F(Persistence, StreamsLoadFieldByFieldAndTheCurrentLayoutIsWhatIsStored) {
  Create();
  const CString shown = Ctl->Edit.GetWindowText();
  struct {
    long version;
    const wchar_t* endTime;
    bool narrow;
    const wchar_t* loaded;
  } const cases[] = {
      {0x00010001, L"30001231", false, L"99991231"}, {0x00000001, L"30001231", true, L"99991231"},
      {0x00010001, L"20501231", false, L"20501231"}, {0x00020003, L"30001231", true, L"30001231"},
      {0x00010002, L"30001231", false, L"30001231"}, {0x00010002, L"", false, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.version << " " << c.endTime);
    Rec.Changes.clear();
    Rec.Events.clear();
    Form->Calls.clear();
    std::vector<BYTE> stream = StreamWriter::Make(c.version, c.endTime, c.narrow);
    CArchive ar(stream, CArchive::load);
    Ctl->Serialize(ar);
    const LONG anchor[] = {Ctl->AnchorFlag, Ctl->AnchorValue1, Ctl->AnchorValue2, Ctl->AnchorValue3, Ctl->AnchorValue4};
    EXPECT_EQ(memcmp(&stream[stream.size() - 20], anchor, 20), 0);
    EXPECT_TRUE(Rec.Changes.empty() && Rec.Events.empty() && Form->Calls.empty());
    EXPECT_EQ(Ctl->Edit.GetWindowText(), shown);
    Ctl->Item = L"not stored";
    Ctl->Anchor = L"Right:8,Bottom";
    std::vector<BYTE> current = StreamWriter::Make(0x00010002, c.loaded, false);
    const LONG recomputed[] = {4 | 8, 11, 12, 8, 14};
    memcpy(&current[current.size() - 20], recomputed, 20);
    EXPECT_EQ(Hex(StoredProperties(Ctl)), Hex(current));
  }
}

// Short and damaged streams are the fuzz suite's; a full archive reports the write error.
TEST_F(Persistence, AFullArchiveReportsTheWriteError) {
  std::vector<BYTE> data;
  CArchive ar(data, CArchive::store, 20);
  bool thrown = false;
  try {
    Ctl->Serialize(ar);
  } catch (const CArchiveException& e) {
    thrown = e.m_cause == CArchiveException::writeFailed;
  }
  EXPECT_TRUE(thrown);
}

class FormProtocol : public ControlFixture {};

TEST_F(FormProtocol, PropertiesByIndex) {
  Create();
  Ctl->ItemFlag = -1;
  Ctl->AutoSave = 1;
  Ctl->AnchorFlag = 9;
  Ctl->Fid = L"F9";
  struct {
    int index;
    long value;
  } const reads[] = {{11, 1}, {12, 1}, {16, 1}, {19, -1}, {48, 9}, {13, 0}, {0, 0}, {-5, 0}};
  for (const auto& r : reads) EXPECT_EQ(Ctl->GetPropertyLong(r.index), r.value) << r.index;
  // Index 40 is the object itself, whole on either build, as a host reads it through the base.
  CBaseCtl* base = Ctl;
  EXPECT_EQ(reinterpret_cast<CCalendarCtl*>(base->GetPropertyLong(40)), Ctl);
  EXPECT_EQ(Ctl->GetPropertyString(20), CString(L"F9"));
  EXPECT_EQ(Ctl->GetPropertyString(21), CString(L""));

  // Writes answer 1 whatever the index; any non-zero value is true; changes are reported as by name.
  Rec.Changes.clear();
  struct {
    int index, value;
    BOOL visible, enabled;
  } const writes[] = {{12, 5, 1, 1}, {12, 0, 0, 1}, {12, 1, 1, 1}, {11, 7, 1, 1}, {99, 1, 1, 1}};
  for (const auto& w : writes) {
    EXPECT_EQ(Ctl->SetPropertyLong(w.index, w.value), 1) << w.index;
    EXPECT_EQ(Ctl->Visible * 10 + Ctl->Enabled, w.visible * 10 + w.enabled) << w.index << " " << w.value;
    EXPECT_EQ(IsWindowVisible(Ctl->m_hWnd) != FALSE, w.visible != FALSE);
  }
  EXPECT_SEQ(Rec.Changes, std::vector<std::wstring>({L"10001", L"10001", L"10001", L"10000", L"5", L"6"}));

  // Index 37 focuses the field only while enabled.
  ::SetFocus(FormWindow());
  Ctl->SetPropertyLong(11, 0);
  EXPECT_EQ(Ctl->SetPropertyLong(37, 0), 1);
  EXPECT_NE(GetFocus(), Ctl->Edit.m_hWnd);
  Ctl->SetPropertyLong(11, 1);
  EXPECT_EQ(Ctl->SetPropertyLong(37, 0), 1);
  EXPECT_EQ(GetFocus(), Ctl->Edit.m_hWnd);
}

TEST_F(FormProtocol, MethodsByIdentifierAndTheDataExchangeValue) {
  Create();
  Ctl->Caption = L"20240105";
  EXPECT_EQ(Ctl->GetMethodString(6, L"x"), CString(L"20240105"));
  EXPECT_EQ(Ctl->GetMethodString(7, L"x"), Ctl->GetMethodString(6, L""));
  EXPECT_EQ(Ctl->GetMethodString(8, L"x"), CString(L""));

  // Method 8 hands the address of the host's string to SetValue whole. The string sits as
  // high as the process allows, so a 64-bit address cut to 32 bits would miss it.
  CVirtualMemory pages(VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, PAGE_READWRITE));
  wchar_t* text = static_cast<wchar_t*>(pages.Get());
  ASSERT_NE(text, nullptr);
#ifdef _WIN64
  ASSERT_GT(reinterpret_cast<ULONG_PTR>(text), 0xFFFFFFFFull);
#endif
  wcscpy(text, L"20240216");
  CBaseCtl* base = Ctl;
  EXPECT_EQ(base->SetMethodString(8, L"", L"", reinterpret_cast<LONG_PTR>(text)), 1);
  EXPECT_EQ(Ctl->Caption, CString(L"20240216"));
  Ctl->Caption = L"20240105";

  struct {
    short itemFlag;
    const wchar_t* value;
  } const exchange[] = {{1, L"20240105"}, {3, L"20240105"}, {2, L""}, {0, L""}};
  for (const auto& e : exchange) {
    Ctl->ItemFlag = e.itemFlag;
    int type = 5;
    CString name;
    EXPECT_EQ(Ctl->GetCommValue(type, name, 0), CString(e.value)) << e.itemFlag;
    EXPECT_EQ(type, 0);
  }
  EXPECT_EQ(Ctl->IsAutoSave(), FALSE);

  // Method 9 fires ReceiveError once, unguarded, with a VT_I4 0 by reference.
  static VARTYPE seenType;
  static long seenValue;
  Rec.OnEvent = [](Recorder*, DISPID id, DISPPARAMS* p) {
    if (id != EVENT_ReceiveError || p->cArgs != 1) return;
    seenType = p->rgvarg[0].vt;
    VARIANT* v = p->rgvarg[0].pvarVal;
    seenValue = v->lVal;
    v->lVal = 77; // the host's answer changes nothing
  };
  Ctl->EventsEnabled = FALSE;
  Rec.Events.clear();
  EXPECT_EQ(Ctl->SetMethodString(9, L"", L"", 0), 1);
  Ctl->EventsEnabled = TRUE;
  EXPECT_SEQ(Rec.Events, std::vector<std::wstring>({L"ReceiveError"}));
  EXPECT_EQ(seenType, VT_BYREF | VT_VARIANT);
  EXPECT_EQ(seenValue, 0);
  EXPECT_EQ(Ctl->Caption, CString(L"20240105"));

  EXPECT_EQ(Ctl->SetMethodString(42, L"", L"", 0), 1);
}

TEST_F(FormProtocol, AutoSaveRestoresAValueWithoutCheckingIt) {
  // Before the window: only the member takes the value.
  Ctl->SetMethodString(5, L"", L"00000000", 0);
  EXPECT_EQ(Ctl->Caption, CString(L"00000000"));
  Create();
  struct {
    const wchar_t* saved;
    const wchar_t *caption, *controlText, *field;
  } const cases[] = {
      {L"20240105", L"20240105", L"20240105", L"2024/01/05"},
      {L"", L"20240105", L"20240105", L"2024/01/05"},         // nothing to restore
      {L"20241340", L"20241340", L"20241340", L"2024/13/40"}, // not checked
      {L"00000000", L"", L"", L"    /  /  "},                 // the field's report empties it
  };
  for (const auto& c : cases) {
    Ctl->SetMethodString(5, L"ignored", c.saved, 0);
    EXPECT_EQ(Ctl->Caption, CString(c.caption)) << c.saved;
    EXPECT_EQ(Ctl->GetWindowText(), CString(c.controlText)) << c.saved;
    EXPECT_EQ(Ctl->Edit.GetWindowText(), CString(c.field)) << c.saved;
  }
  Ctl->AutoSave = TRUE;
  EXPECT_TRUE(Ctl->IsAutoSave());
}
