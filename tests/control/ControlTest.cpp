// The control object: defaults, the type library, change codes, enabled state,
// login information and window creation.
#include "TestHost.h"

#include "Lumadex.h"

#include <sstream>

using namespace testhost;

namespace {
std::vector<long> Codes(std::initializer_list<long> l) { return std::vector<long>(l); }
} // namespace

class ControlObject : public ControlFixture {};

TEST_F(ControlObject, DefaultsReadThroughIDispatchByName) {
  // Before the window exists nothing has computed a value yet.
  std::wistringstream defaults(
      L"Caption= Enabled=1 AppearanceStyle=1 Visible=1 BackColorIndex=47 ForeColorIndex=48 "
      L"DateFormat=2 Item= ItemFlag=1 StartTime=19700101 EndTime=99991231 BasicClient=0 Variance=0 "
      L"Indicator=0 Style=0 TimeFormat=0 AutoSave=0 FontIndex=2 Fid= RequireInput=0 NextFocusCtrlName= "
      L"NotCheckDate=0 Anchor=");
  for (std::wstring nameValue; defaults >> nameValue;) {
    size_t eq = nameValue.find(L'=');
    EXPECT_EQ(Get(nameValue.substr(0, eq).c_str()), nameValue.substr(eq + 1)) << nameValue;
  }

  EXPECT_EQ(std::vector<int>({Ctl->DigitCount, Ctl->MinYear, Ctl->MaxYear, Ctl->ButtonWidth, Ctl->TextHeight}),
            std::vector<int>({8, 1970, 9999, 18, 12}));
  EXPECT_TRUE(Ctl->RedrawEnabled && Ctl->EventsEnabled);
}

TEST_F(ControlObject, TheTypeLibraryIsTheModulesOwnAndGetCtrlGUIDNamesIt) {
  CComPtr<ITypeInfo> info;
  ASSERT_EQ(Ctl->GetPrimaryDispatch()->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), S_OK);
  CComPtr<ITypeLib> lib;
  UINT index = 0;
  ASSERT_EQ(info->GetContainingTypeLib(&lib, &index), S_OK);
  CBstr libName;
  ASSERT_EQ(lib->GetDocumentation(-1, &libName, nullptr, nullptr, nullptr), S_OK);
  EXPECT_STREQ(libName.c_str(), L"Tamvero");
  TLIBATTR* libAttr = nullptr;
  ASSERT_EQ(lib->GetLibAttr(&libAttr), S_OK);
  GUID exported = GetCtrlGUID();
  EXPECT_TRUE(IsEqualGUID(libAttr->guid, exported));
  lib->ReleaseTLibAttr(libAttr);
  CLSID clsid;
  ASSERT_EQ(Ctl->GetClassID(&clsid), S_OK);
  CComPtr<ITypeInfo> coclass;
  EXPECT_EQ(lib->GetTypeInfoOfGuid(clsid, &coclass), S_OK);
}

// Design mode is checked for the rows that give it; the format rows are run-time ones.
TEST_F(ControlObject, PropertyWritesReportTheirChangeCodesInOrder) {
  struct Case {
    short style; // set before
    const wchar_t* name;
    long value;
    const wchar_t* text; // for string properties
    std::vector<long> run, beforeWindow, design;
    bool designToo;
  };
  const std::vector<Case> cases = {
      {0, L"Enabled", 0, nullptr, Codes({10000, 5, 6}), Codes({10000}), Codes({2, 5, 6}), true},
      {0, L"Visible", 0, nullptr, Codes({10001}), Codes({}), Codes({4}), true},
      {0, L"BackColorIndex", 50, nullptr, Codes({5}), Codes({}), Codes({5}), true},
      {0, L"EndTime", 0, L"20301231", Codes({11}), Codes({11}), Codes({11}), true},
      {0, L"FontIndex", 3, nullptr, Codes({18}), Codes({18}), Codes({18}), true},
      {0, L"Caption", 0, L"20240105", Codes({}), Codes({}), Codes({}), true},
      {0, L"DateFormat", 4, nullptr, Codes({7}), Codes({}), {}, false},
      {0, L"TimeFormat", 3, nullptr, Codes({16}), Codes({16}), {}, false},
      {1, L"TimeFormat", 3, nullptr, Codes({16}), Codes({16}), {}, false},
      {1, L"DateFormat", 4, nullptr, Codes({7}), Codes({}), {}, false},
      {0, L"Style", 2, nullptr, Codes({7, 15}), Codes({15}), {}, false},
      {0, L"Style", 1, nullptr, Codes({16, 15}), Codes({15}), {}, false},
      {1, L"Style", 3, nullptr, Codes({7, 15}), Codes({15}), {}, false},
      {1, L"StartTime", 0, L"20000101", Codes({}), Codes({}), {}, false},
  };
  enum Mode { Run, Design, BeforeWindow };
  for (Mode mode : {Run, Design, BeforeWindow}) {
    for (const auto& c : cases) {
      if (mode == Design && !c.designToo) continue;
      Renew();
      Ctl->Style = c.style;
      if (mode != BeforeWindow) Create(mode == Run);
      Ctl->SetRunMode(mode != Design);
      Rec.Changes.clear();
      HRESULT hr = c.text ? PutString(c.name, c.text) : PutLong(c.name, c.value);
      ASSERT_EQ(hr, S_OK) << c.name;
      const auto& want = mode == Run ? c.run : mode == Design ? c.design : c.beforeWindow;
      EXPECT_EQ(Rec.Changes, want) << c.name << " style " << c.style << " mode " << mode;
      // The value written is the value read back.
      if (c.text && wcscmp(c.name, L"Caption") != 0) {
        EXPECT_EQ(Get(c.name), c.text) << c.name;
      } else if (!c.text) {
        EXPECT_EQ(Get(c.name), std::to_wstring(c.value)) << c.name;
      }
    }
  }
}

TEST_F(ControlObject, CreationReportsItsStepsAndTheFormSeesThem) {
  Ctl->SetRunMode(TRUE);
  Ctl->SetRunFormDispatch(Form, FormWindow(), 0, 0);
  Rec.Changes.clear();
  ASSERT_TRUE(Ctl->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 150, 32), FormWindow(), 100));
  // Enabled (run), colours, date format, style, date range, initial value, font.
  EXPECT_EQ(Rec.Changes, Codes({10000, 5, 6, 7, 15, 10, 12, 18}));
  std::vector<std::wstring> formSaw;
  for (const auto& call : Form->TakeCalls())
    if (call.rfind(L"OnFormPropertyChanged", 0) == 0) formSaw.push_back(call.substr(22));
  std::vector<std::wstring> want;
  for (long c : Rec.Changes) want.push_back(std::to_wstring(c));
  EXPECT_EQ(formSaw, want);
  EXPECT_TRUE(Ctl->RedrawEnabled);
  ASSERT_NE(Ctl->Edit.m_hWnd, nullptr);
  EXPECT_EQ(GetDlgCtrlID(Ctl->Edit.m_hWnd), 1000);
  EXPECT_EQ(GetParent(Ctl->Edit.m_hWnd), Ctl->m_hWnd);
  EXPECT_EQ(Ctl->Edit.ParentCtl, Ctl);
  EXPECT_EQ(SendMessageW(Ctl->m_hWnd, 0x05C2, 1, 2), 0);
}

TEST_F(ControlObject, DisabledControlIsReadOnlyTakesFocusAndIgnoresSteppingAndOpeningKeys) {
  PinnedClock clock(L"20240315120000");
  Create();
  Ctl->MSetCaptionCtrlEx(L"20240315", FALSE);
  ASSERT_EQ(PutLong(L"Enabled", 0), S_OK);
  EXPECT_TRUE(GetWindowLongW(Ctl->Edit.m_hWnd, GWL_STYLE) & ES_READONLY);
  EXPECT_FALSE(Ctl->Edit.EditEnabled);
  ::SetFocus(Ctl->Edit.m_hWnd);
  EXPECT_EQ(GetFocus(), Ctl->Edit.m_hWnd);
  Rec.Events.clear();
  for (UINT key : {VK_UP, VK_DOWN, VK_F4}) SendKey(key);
  EXPECT_EQ(Get(L"Caption"), L"20240315");
  EXPECT_FALSE(Ctl->IsCalendarVisible());
  EXPECT_TRUE(Rec.Events.empty());
  ASSERT_EQ(PutLong(L"Enabled", 1), S_OK);
  EXPECT_FALSE(GetWindowLongW(Ctl->Edit.m_hWnd, GWL_STYLE) & ES_READONLY);
  SendKey(VK_UP);
  EXPECT_EQ(Get(L"Caption"), L"20240316");
}

TEST_F(ControlObject, LoginInformationDecidesTheSpinEdges) {
  struct {
    const wchar_t* login;
    BOOL suppress;
  } const cases[] = {{L"G13", TRUE}, {L"G17", TRUE}, {L"g13", FALSE}, {L"G14", FALSE}, {nullptr, FALSE}};
  for (const auto& c : cases) {
    Renew();
    JTLink_SetLoginInfo(L"CONN_MED", c.login);
    Create();
    EXPECT_EQ(Ctl->SuppressSpinEdges, c.suppress) << (c.login ? c.login : L"(none)");
  }
  JTLink_SetLoginInfo(L"CONN_MED", nullptr);
}

TEST_F(ControlObject, ReleaseDestroysTheWindowAndDisconnectsSinks) {
  Create();
  HWND ctlWnd = Ctl->m_hWnd, editWnd = Ctl->Edit.m_hWnd;
  ULONG before = Rec.RefCount();
  EXPECT_GT(before, 1u); // the control holds the sinks
  Ctl->ExternalRelease();
  Ctl = nullptr;
  EXPECT_FALSE(IsWindow(ctlWnd));
  EXPECT_FALSE(IsWindow(editWnd));
  EXPECT_EQ(Rec.RefCount(), 1u);
}
