// Events from the children's notifications, the form's right to take two of them, the
// sinks each point takes, and the focus chain among real controls on a real form window.
// (Several sinks and their order are HostContractTest's.)
#include "TestHost.h"

using namespace testhost;

namespace {
using Strings = std::vector<std::wstring>;

// Form calls without the property-change bookkeeping; the form's record starts afresh.
seq::Log ProtocolCalls(RecordingForm* form) {
  seq::Log out = form->Calls.Only(seq::Call);
  form->Calls.clear();
  return out;
}
} // namespace

class Events : public ControlFixture {};

TEST_F(Events, NotificationCodesFireTheirEventsWithTheFormsCalls) {
  const int N = -99;
  struct Case {
    int code;
    short style;
    int answer; // bit 0x20000000 set and the form's answer (only 1 takes the event); N: the bit clear
    Strings events;
    Strings calls;
  };
  const std::vector<Case> cases = {
      {0, 0, N, {L"EditFull"}, {L"SetPropertyLong 38 0", L"SetPreNextFocusToForm 1 "}},
      {0, 0, 1, {}, {L"OnFormFireEventSend 1 20240105", L"SetPropertyLong 38 0", L"SetPreNextFocusToForm 1 "}},
      {0, 1, N, {L"EditFull"}, {L"SetPropertyLong 38 0", L"SetPreNextFocusToForm 1 "}},
      {1, 0, N, {L"EditEnter"}, {}},
      {2, 0, N, {L"SetFocus"}, {}},
      {3, 0, N, {L"KillFocus"}, {}},
      {4, 0, N, {L"SelChange"}, {}},
      {4, 1, N, {}, {}},
      {5, 3, N, {L"SelSelected"}, {}},
      {5, 2, 1, {}, {L"OnFormFireEventSend 6 20240105"}},
      {5, 0, 0, {L"SelSelected"}, {L"OnFormFireEventSend 6 20240105"}},
      {5, 0, 2, {L"SelSelected"}, {L"OnFormFireEventSend 6 20240105"}},
      {5, 4, N, {}, {}},
      {6, 0, N, {L"EditChange"}, {}},
      {7, 0, N, {}, {}},
  };
  for (const auto& c : cases) {
    for (BOOL enabled : {TRUE, FALSE}) {
      Renew();
      Ctl->Style = c.style;
      Create();
      Ctl->Caption = L"20240105";
      Form->SetBaseCtlBitInfo(FORM_TAKES_EVENTS, c.answer != N);
      Form->FireEventAnswer = c.answer == N ? 0 : c.answer;
      Ctl->EventsEnabled = enabled;
      Rec.Events.clear();
      Form->TakeCalls();
      EXPECT_EQ(SendMessageW(Ctl->m_hWnd, WM_CALENDAR_EVENT, static_cast<WPARAM>(c.code), 0), 1);
      SCOPED_TRACE(testing::Message() << "code " << c.code << " style " << c.style << " answer " << c.answer);
      EXPECT_SEQ(Rec.Events, enabled ? c.events : Strings());
      EXPECT_SEQ(ProtocolCalls(Form), enabled ? c.calls : Strings());
    }
  }
}

TEST_F(Events, DispatcherCodes) {
  Create();
  // Known codes fire their event in order; the others (0, 5, 7, 26, 29) fire nothing.
  for (int code : {1, 2, 3, 4, 6, 27, 28, 0, 5, 7, 26, 29}) Ctl->FireEventBrokeOut(code);
  EXPECT_SEQ_FLUSH(Rec.Events, Strings({L"EditChange", L"EditFull", L"EditEnter", L"KillFocus", L"SetFocus",
                                        L"SelChange", L"SelSelected"}));
  Ctl->EventsEnabled = FALSE;
  for (int code = 0; code <= 30; ++code) Ctl->FireEventBrokeOut(code);
  EXPECT_TRUE(Rec.Events.empty());
  // The single-event members fire regardless of the guard.
  for (auto fire : {&CCalendarCtl::FireEditFull, &CCalendarCtl::FireEditEnter, &CCalendarCtl::FireSetFocus,
                    &CCalendarCtl::FireKillFocus, &CCalendarCtl::FireSelChange, &CCalendarCtl::FireSelSelected,
                    &CCalendarCtl::FireEditChange})
    (Ctl->*fire)();
  VARIANT v;
  VariantInit(&v);
  Ctl->FireReceiveError(&v);
  EXPECT_SEQ(Rec.Events, Strings({L"EditFull", L"EditEnter", L"SetFocus", L"KillFocus", L"SelChange", L"SelSelected",
                                  L"EditChange", L"ReceiveError"}));
}

TEST_F(Events, AnchorIsRelayedInRunModeOnly) {
  for (bool run : {true, false}) {
    Renew();
    Create(run);
    Rec.Changes.clear();
    ASSERT_EQ(PutString(L"Anchor", L"Right:6,Bottom"), S_OK);
    EXPECT_SEQ(Rec.Changes, Strings({L"36"}));
    EXPECT_EQ(Ctl->AnchorFlag, run ? 12 : 0);
    EXPECT_EQ(Ctl->AnchorValue3, run ? 6 : 0);
  }
}

class FocusChain : public ControlFixture {
protected:
  // Three controls on the form: Ctl ("a"), b and c, in creation order.
  void SetUp() override {
    ControlFixture::SetUp();
    Create();
    for (const wchar_t* name : {L"b", L"c"}) {
      CCalendarCtl* other = AllocRunDllControl();
      other->SetRunMode(TRUE);
      other->SetRunFormDispatch(Form, FormWindow(), 0, 0);
      other->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(10, 40 + 30 * static_cast<int>(Others.size()), 150, 62),
                    FormWindow(), 101);
      Others.push_back(other);
      Form->Members.push_back({name, other});
    }
    Form->Members.insert(Form->Members.begin(), {L"a", Ctl});
    Pump();
  }
  void TearDown() override {
    for (auto* o : Others) o->ExternalRelease();
    Others.clear();
    ControlFixture::TearDown();
  }
  // The name of the control whose field has the focus.
  std::wstring Focused() {
    HWND f = GetFocus();
    for (auto& m : Form->Members)
      if (m.second->Edit.m_hWnd == f) return m.first;
    return L"";
  }
  std::vector<CCalendarCtl*> Others;
};

TEST_F(FocusChain, MovesRealFocusForwardBackwardAndByName) {
  struct Step {
    const wchar_t* from;
    const wchar_t* action;
    const wchar_t* to;
  } const steps[] = {
      // The order and the wrap-round are the form's (the host's form tests check them).
      {L"a", L"next", L"b"},  {L"c", L"prev", L"b"},    {L"a", L"jt1013", L"b"},  {L"b", L"jt1014", L"a"},
      {L"a", L"jt999", L"a"}, {L"b", L"keypad+", L"c"}, {L"c", L"keypad-", L"b"},
  };
  for (const auto& s : steps) {
    CCalendarCtl* from = nullptr;
    for (auto& m : Form->Members)
      if (m.first == s.from) from = m.second;
    from->MSetFocus();
    ASSERT_EQ(Focused(), s.from);
    std::wstring a = s.action;
    if (a == L"next") from->SetNextFocus(FALSE);
    if (a == L"prev") from->SetPreFocus();
    if (a == L"jt1013") SendMessageW(from->m_hWnd, WM_JT_EVENT, MAKEWPARAM(0, 1013), 0);
    if (a == L"jt1014") SendMessageW(from->m_hWnd, WM_JT_EVENT, MAKEWPARAM(0, 1014), 0);
    if (a == L"jt999") {
      EXPECT_EQ(SendMessageW(from->m_hWnd, WM_JT_EVENT, MAKEWPARAM(0, 999), 0), 0);
    }
    if (a == L"keypad+") SendMessageW(from->Edit.m_hWnd, WM_CHAR, L'+', MAKELPARAM(1, 0x4E));
    if (a == L"keypad-") SendMessageW(from->Edit.m_hWnd, WM_CHAR, L'-', MAKELPARAM(1, 0x4A));
    EXPECT_EQ(Focused(), s.to) << s.from << " " << s.action;
  }

  // A name wins over the next control, forward only, unless the name is ignored.
  Ctl->NextFocusCtrlName = L"c";
  for (int move : {0, 1, 2}) {
    Ctl->MSetFocus();
    if (move < 2) Ctl->SetNextFocus(move == 1);
    if (move == 2) Ctl->SetPreFocus();
    EXPECT_EQ(Focused(), move == 1 ? L"b" : L"c") << move;
  }
  Ctl->MSetFocus();
  Form->TakeCalls();
  SendMessageW(Ctl->m_hWnd, WM_JT_EVENT, MAKEWPARAM(0, 1013), 0);
  EXPECT_EQ(Focused(), L"c");
  // The form moves the focus; the field that receives it tells the form.
  EXPECT_SEQ(ProtocolCalls(Form), Strings({L"SetPreNextFocusToForm 3 c", L"SetFocusToForm"}));
}

TEST_F(FocusChain, TheFormAndRequiredInputCanHoldTheFocus) {
  struct Case {
    DWORD bits;
    long allow;
    BOOL require;
    const wchar_t* text;
    bool moves;
    Strings calls;
  };
  const std::vector<Case> cases = {
      {FORM_BLOCKS_FOCUS, 1, FALSE, L"", false, {}},
      {0, 0, FALSE, L"", false, {L"SetPropertyLong 38 0"}},
      {0, 1, TRUE, L"", false, {}},
      {0, 1, TRUE, L"   ", false, {}},
      {0, 1, TRUE, L"2", true, {L"SetPropertyLong 38 0", L"SetPreNextFocusToForm 1 ", L"SetFocusToForm"}},
      {0, 1, FALSE, L"", true, {L"SetPropertyLong 38 0", L"SetPreNextFocusToForm 1 ", L"SetFocusToForm"}},
  };
  for (const auto& c : cases) {
    Form->SetBaseCtlBitInfo(0xFFFFFFFF, FALSE);
    Form->SetBaseCtlBitInfo(c.bits, TRUE);
    Form->AllowFocusAnswer = c.allow;
    Ctl->RequireInput = c.require;
    Ctl->MSetFocus();
    // Put the text in the field as the user would have it (no events for the write).
    Ctl->MSetCaptionCtrlEx(L"", FALSE);
    SetWindowTextW(Ctl->Edit.m_hWnd, c.text);
    for (int path = 0; path < 3; ++path) {
      Ctl->MSetFocus();
      Form->TakeCalls();
      if (path == 0) Ctl->SetNextFocus(FALSE);
      if (path == 1) SendMessageW(Ctl->m_hWnd, WM_JT_EVENT, MAKEWPARAM(0, 1013), 0);
      if (path == 2) SendMessageW(Ctl->Edit.m_hWnd, WM_CHAR, L'+', MAKELPARAM(1, 0x4E));
      EXPECT_EQ(Focused(), c.moves ? L"b" : L"a") << "case " << (&c - &cases[0]) << " path " << path;
      EXPECT_SEQ(ProtocolCalls(Form), c.calls) << "case " << (&c - &cases[0]) << " path " << path;
    }
  }
}

TEST_F(FocusChain, InformSetFocusTellsTheFormOnlyForAnEnabledVisiblePlacedControl) {
  // One of enabled, visible, placed missing in each case after the first.
  for (int missing : {-1, 0, 1, 2}) {
    Ctl->Enabled = missing != 0;
    Ctl->Visible = missing != 1;
    Ctl->RunForm = missing != 2 ? Form : nullptr;
    Form->TakeCalls();
    Ctl->InformSetFocus();
    EXPECT_SEQ(ProtocolCalls(Form), missing < 0 ? Strings({L"SetFocusToForm"}) : Strings()) << missing;
  }
  Ctl->RunForm = Form;
  Ctl->Enabled = TRUE;
  Ctl->Visible = TRUE;
}

TEST_F(FocusChain, TheControlPassesItsFocusToTheFieldAndSetFocusNeedsEnabled) {
  ::SetFocus(Ctl->m_hWnd);
  EXPECT_EQ(GetFocus(), Ctl->Edit.m_hWnd);
  Others[0]->MSetFocus();
  Ctl->Enabled = FALSE;
  ASSERT_EQ(Call(L"SetFocus", {}), S_OK);
  EXPECT_EQ(Focused(), L"b");
  Ctl->Enabled = TRUE;
  ASSERT_EQ(Call(L"SetFocus", {}), S_OK);
  EXPECT_EQ(Focused(), L"a");
}

TEST_F(Events, EachConnectionPointTakesOnlySinksOfItsInterface) {
  // A sink that answers IDispatch alone: fine for events, not for property changes. It
  // outlives the test, so that a failed check leaves no point holding a dead sink.
  struct DispatchOnly : Recorder {
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
      if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch))
        return Recorder::QueryInterface(IID_IDispatch, ppv);
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
  };
  static DispatchOnly sink;
  sink.Events.clear();
  struct {
    const IID* iid;
    HRESULT advise;
  } const cases[] = {{&DIID_ICalendarCtlEvents, S_OK}, {&IID_IPropertyNotifySink, CONNECT_E_CANNOTCONNECT}};
  CComPtr<IConnectionPoint> eventPoint;
  DWORD eventCookie = 0;
  for (const auto& c : cases) {
    CComPtr<IConnectionPoint> cp = Point(*c.iid);
    ASSERT_TRUE(cp);
    DWORD cookie = 0;
    ASSERT_EQ(cp->Advise(static_cast<IDispatch*>(&sink), &cookie), c.advise); // a wrong sink would be called
    if (c.advise == S_OK) eventPoint = cp, eventCookie = cookie;
  }
  Create();
  ASSERT_EQ(PutLong(L"ItemFlag", 2), S_OK); // a property change reaches no event sink
  Ctl->FireEditEnter();
  EXPECT_SEQ(sink.Events, Strings({L"EditEnter"}));
  EXPECT_EQ(eventPoint->Unadvise(eventCookie), S_OK);
}
