// The property stream and the generic form protocol.
#include "TestHost.h"

#include <cstdio>
#include <sstream>
#include <tuple>

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

// A stream with the given version, its texts narrow or wide, as an older or foreign writer
// made it. Its fields in stream order (D a long, W a short, S a text, "*" the end time):
// Enabled Visible AppearanceStyle Caption BackColorIndex ForeColorIndex DateFormat ItemFlag
// StartTime EndTime BasicClient Variance Indicator Style TimeFormat AutoSave FontIndex Fid
// RequireInput NextFocusCtrlName NotCheckDate, then the anchor record.
std::vector<BYTE> Stream(long version, const wchar_t* endTime, bool narrow) {
  std::vector<BYTE> out;
  auto raw = [&out](const void* p, size_t n) {
    out.insert(out.end(), static_cast<const BYTE*>(p), static_cast<const BYTE*>(p) + n);
  };
  raw(&version, 4);
  std::wistringstream fields(L"D0 D1 W3 S20240105 D60 D61 W4 W3 S20000101 S* W1 W-2 W1 W2 W5 D1 W4 SFID7 D1 Snext D1 "
                             L"D5 D11 D12 D13 D14");
  for (std::wstring f; fields >> f;) {
    const std::wstring text = f == L"S*" ? endTime : f.substr(1);
    const long number = f[0] == L'S' ? 0 : std::stol(text);
    if (f[0] != L'S') {
      raw(&number, f[0] == L'D' ? 4 : 2); // little-endian: a short is the long's low half
      continue;
    }
    // Wide texts carry the FF FE FF mark before the length.
    if (!narrow) out.insert(out.end(), {0xFF, 0xFE, 0xFF});
    out.push_back(static_cast<BYTE>(text.size()));
    for (wchar_t c : text) narrow ? out.push_back(static_cast<BYTE>(c)) : raw(&c, 2);
  }
  return out;
}

} // namespace

class Persistence : public ControlFixture {};

// Streams of every layout load field by field, narrow and wide texts alike; loaded into a
// running control, only the members change, nothing is reported or shown. Stored again, they
// are the current layout byte for byte, without the item and with the anchor record
// recomputed from the anchor text: right and bottom, margin 8 on the right, the others kept.
TEST_F(Persistence, StreamsLoadFieldByFieldAndTheCurrentLayoutIsWhatIsStoredUnlessTheArchiveIsFull) {
  Create();
  const CString shown = Ctl->Edit.GetWindowText();
  // Version, end time stored, narrow texts, end time loaded.
  const std::tuple<long, const wchar_t*, bool, const wchar_t*> cases[] = {
      {0x00010001, L"30001231", false, L"99991231"}, {0x00000001, L"30001231", true, L"99991231"},
      {0x00010001, L"20501231", false, L"20501231"}, {0x00020003, L"30001231", true, L"30001231"},
      {0x00010002, L"30001231", false, L"30001231"}, {0x00010002, L"", false, L""},
  };
  for (const auto& [version, endTime, narrow, loaded] : cases) {
    SCOPED_TRACE(testing::Message() << version << " " << endTime);
    Rec.Changes.clear();
    Rec.Events.clear();
    Form->Calls.clear();
    std::vector<BYTE> stream = Stream(version, endTime, narrow);
    CArchive ar(stream, CArchive::load);
    Ctl->Serialize(ar);
    const LONG anchor[] = {Ctl->AnchorFlag, Ctl->AnchorValue1, Ctl->AnchorValue2, Ctl->AnchorValue3, Ctl->AnchorValue4};
    EXPECT_EQ(memcmp(&stream[stream.size() - 20], anchor, 20), 0);
    EXPECT_TRUE(Rec.Changes.empty() && Rec.Events.empty() && Form->Calls.empty());
    EXPECT_EQ(Ctl->Edit.GetWindowText(), shown);
    Ctl->Item = L"not stored";
    Ctl->Anchor = L"Right:8,Bottom";
    std::vector<BYTE> current = Stream(0x00010002, loaded, false);
    const LONG recomputed[] = {4 | 8, 11, 12, 8, 14};
    memcpy(&current[current.size() - 20], recomputed, 20);
    EXPECT_EQ(Hex(StoredProperties(Ctl)), Hex(current));
  }
  // Short and damaged streams are the fuzz suite's; a full archive reports the write error.
  std::vector<BYTE> data;
  CArchive full(data, CArchive::store, 20);
  try {
    Ctl->Serialize(full);
    ADD_FAILURE() << "a full archive took the stream";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::writeFailed);
  }
}

class FormProtocol : public ControlFixture {};

// Reads by index and identifier in one line: 11 12 16 19 48 13 0 -5 by index, strings 20
// and 21, methods 6 7 8, then the data exchange value and its type by item flag 1 3 2 0.
// Writes answer 1 whatever the index, any non-zero value is true, changes are reported as by
// name, and 37 focuses the field only while enabled: after each, the answer, Visible,
// Enabled, whether the window shows and whether the field has the focus.
TEST_F(FormProtocol, ReadsAndWritesByIndexAndIdentifier) {
  Create();
  Ctl->ItemFlag = -1;
  Ctl->AutoSave = 1;
  Ctl->AnchorFlag = 9;
  Ctl->Fid = L"F9";
  Ctl->Caption = L"20240105";
  std::wstringstream reads;
  for (int index : {11, 12, 16, 19, 48, 13, 0, -5}) reads << Ctl->GetPropertyLong(index) << " ";
  reads << Ctl->GetPropertyString(20).str() << "|" << Ctl->GetPropertyString(21).str();
  for (int id : {6, 7, 8}) reads << "|" << Ctl->GetMethodString(id, L"x").str();
  for (short flag : {1, 3, 2, 0}) {
    Ctl->ItemFlag = flag;
    int type = 5;
    CString name;
    reads << "|" << Ctl->GetCommValue(type, name, 0).str() << " " << type;
  }
  EXPECT_EQ(reads.str(), L"1 1 1 -1 9 0 0 0 F9||20240105|20240105||20240105 0|20240105 0| 0| 0");
  // Index 40 is the object itself, whole on either build, as a host reads it through the base.
  EXPECT_EQ(reinterpret_cast<CCalendarCtl*>(static_cast<CBaseCtl*>(Ctl)->GetPropertyLong(40)), Ctl);

  ::SetFocus(FormWindow());
  Rec.Changes.clear();
  std::wstringstream writes;
  for (auto w : std::vector<std::pair<int, int>>{
           {12, 5}, {12, 0}, {12, 1}, {11, 7}, {99, 1}, {11, 0}, {37, 0}, {11, 1}, {37, 0}})
    writes << Ctl->SetPropertyLong(w.first, w.second) << Ctl->Visible << Ctl->Enabled
           << (IsWindowVisible(Ctl->m_hWnd) != FALSE) << (GetFocus() == Ctl->Edit.m_hWnd) << " ";
  EXPECT_EQ(writes.str(), L"11110 10100 11110 11110 11110 11010 11010 11110 11111 ");
  EXPECT_SEQ(Rec.Changes, std::vector<std::wstring>({L"10001", L"10001", L"10001", L"10000", L"5", L"6", L"10000", L"5",
                                                     L"6", L"10000", L"5", L"6"}));
}

TEST_F(FormProtocol, MethodsThatSetTheValueOrFireAnEvent) {
  // Method 5 restores an auto-saved value unchecked; before the window it and method 19's
  // clearing touch only the member. After each: the value, the control's and the field's text.
  Ctl->SetMethodString(5, L"", L"00000000", 0);
  EXPECT_EQ(Ctl->Caption, CString(L"00000000"));
  Ctl->SetMethodString(19, L"", L"", 0);
  EXPECT_TRUE(Ctl->Caption.IsEmpty());
  Create();
  std::wstringstream restored;
  for (const wchar_t* saved : {L"20240105", L"", L"20241340", L"00000000"}) {
    Ctl->SetMethodString(5, L"ignored", saved, 0);
    restored << Ctl->Caption.str() << "|" << Ctl->GetWindowText().str() << "|" << Ctl->Edit.GetWindowText().str()
             << " ";
  }
  // Nothing to restore keeps the value; the field's report empties a zero one.
  EXPECT_EQ(restored.str(), L"20240105|20240105|2024/01/05 20240105|20240105|2024/01/05 "
                            L"20241340|20241340|2024/13/40 ||    /  /   ");
  EXPECT_EQ(Ctl->IsAutoSave(), FALSE);
  Ctl->AutoSave = TRUE;
  EXPECT_TRUE(Ctl->IsAutoSave());

  // Method 8 hands the address of the host's string to SetValue whole. The string sits as
  // high as the process allows, so a 64-bit address cut to 32 bits would miss it.
  CVirtualMemory pages(VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, PAGE_READWRITE));
  wchar_t* text = static_cast<wchar_t*>(pages.Get());
  ASSERT_NE(text, nullptr);
#ifdef _WIN64
  ASSERT_GT(reinterpret_cast<ULONG_PTR>(text), 0xFFFFFFFFull);
#endif
  wcscpy(text, L"20240216");
  EXPECT_EQ(static_cast<CBaseCtl*>(Ctl)->SetMethodString(8, L"", L"", reinterpret_cast<LONG_PTR>(text)), 1);
  EXPECT_EQ(Ctl->Caption, CString(L"20240216"));

  // Method 9 fires ReceiveError once, unguarded, with a VT_I4 0 by reference.
  static std::wstring seen;
  Rec.OnEvent = [](Recorder*, DISPID, DISPPARAMS* p) {
    if (p->cArgs != 1) return;
    VARIANT* v = p->rgvarg[0].pvarVal;
    seen = std::to_wstring(p->rgvarg[0].vt) + L" " + std::to_wstring(v->vt) + L" " + std::to_wstring(v->lVal);
    v->lVal = 77; // the host's answer changes nothing
  };
  Ctl->EventsEnabled = FALSE;
  Rec.Events.clear();
  EXPECT_EQ(Ctl->SetMethodString(9, L"", L"", 0), 1);
  Ctl->EventsEnabled = TRUE;
  EXPECT_SEQ(Rec.Events, std::vector<std::wstring>({L"ReceiveError"}));
  EXPECT_EQ(seen, std::to_wstring(VT_BYREF | VT_VARIANT) + L" " + std::to_wstring(VT_I4) + L" 0");
  EXPECT_EQ(Ctl->Caption, CString(L"20240216"));
  EXPECT_EQ(Ctl->SetMethodString(42, L"", L"", 0), 1);
}
