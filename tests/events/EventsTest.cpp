// Events from the children's notifications, the form's right to take two of them, and
// what the control asks the form to move the focus. (The sinks each point takes, several
// sinks and their order are HostContractTest's.)
#include "TestHost.h"

using namespace testhost;

using Strings = std::vector<std::wstring>;

// One control in run mode.
class Events : public ControlFixture {
protected:
  void SetUp() override {
    ControlFixture::SetUp();
    Create();
  }
  // Form calls without the property-change bookkeeping; the form's record starts afresh.
  seq::Log ProtocolCalls() {
    seq::Log out = Form->Calls.Only(seq::Call);
    Form->Calls.clear();
    return out;
  }
};

TEST_F(Events, DispatcherCodes) {
  // Known codes fire their event in order; the others (0, 5, 7, 26, 29) fire nothing.
  for (int code : {1, 2, 3, 4, 6, 27, 28, 0, 5, 7, 26, 29}) Ctl->FireEventBrokeOut(code);
  EXPECT_SEQ_FLUSH(Rec.Events, Strings({L"EditChange", L"EditFull", L"EditEnter", L"KillFocus", L"SetFocus",
                                        L"SelChange", L"SelSelected"}));
  // The single-event members fire regardless of the guard, which the notification codes
  // show (ReceiveError is method 9's, PersistTest).
  Ctl->EventsEnabled = FALSE;
  for (auto fire : {&CCalendarCtl::FireEditFull, &CCalendarCtl::FireEditEnter, &CCalendarCtl::FireSetFocus,
                    &CCalendarCtl::FireKillFocus, &CCalendarCtl::FireSelChange, &CCalendarCtl::FireSelSelected,
                    &CCalendarCtl::FireEditChange})
    (Ctl->*fire)();
  EXPECT_SEQ(Rec.Events, Strings({L"EditFull", L"EditEnter", L"SetFocus", L"KillFocus", L"SelChange", L"SelSelected",
                                  L"EditChange"}));
}

TEST_F(Events, AnchorIsRelayedInRunModeOnly) {
  for (bool run : {false, true}) {
    Ctl->SetRunMode(run);
    Rec.Changes.clear();
    ASSERT_EQ(PutString(L"Anchor", L"Right:6,Bottom"), S_OK);
    EXPECT_SEQ(Rec.Changes, Strings({L"36"}));
    EXPECT_EQ(std::make_pair(Ctl->AnchorFlag, Ctl->AnchorValue3), run ? std::make_pair(12, 6) : std::make_pair(0, 0));
  }
}

// What the control does on a code from its field or an ask from the form: the events it
// fires and what it asks the form, in order. Where the focus lands is the form's (the
// host's form tests move it among real controls).
TEST_F(Events, FieldCodesAndFormAsksMakeTheirEventsAndFormCalls) {
  const Strings next = {L"SetPropertyLong 38 0", L"SetPreNextFocusToForm 1 "};
  const Strings previous = {L"SetPropertyLong 38 0", L"SetPreNextFocusToForm 0 "};
  const std::wstring offered = L"OnFormFireEventSend 6 20240105";
  const UINT Code = WM_CALENDAR_EVENT, Ask = WM_JT_EVENT, NextIgnoringName = 0;
  const DWORD Takes = FORM_TAKES_EVENTS, Blocks = FORM_BLOCKS_FOCUS;
  struct Case {
    UINT msg;
    int arg; // the field's code; the form's ask (1013 next, 1014 previous)
    short style;
    DWORD bits;
    int fireAnswer; // only 1 takes an offered event
    long allow;     // whether the form lets the focus move
    Strings events, calls;
    BOOL require = FALSE;
    const wchar_t* text = L""; // in the field
    const wchar_t* name = L""; // NextFocusCtrlName
  };
  const std::vector<Case> cases = {
      {Code, 0, 0, 0, 0, 1, {L"EditFull"}, next},
      {Code, 0, 1, Takes, 1, 1, {}, {L"OnFormFireEventSend 1 20240105", next[0], next[1]}},
      {Code, 1, 0, 0, 0, 1, {L"EditEnter"}, {}},
      {Code, 2, 0, 0, 0, 1, {L"SetFocus"}, {}},
      {Code, 3, 0, 0, 0, 1, {L"KillFocus"}, {}},
      {Code, 4, 0, 0, 0, 1, {L"SelChange"}, {}},
      {Code, 4, 1, 0, 0, 1, {}, {}},
      {Code, 5, 3, 0, 0, 1, {L"SelSelected"}, {}},
      {Code, 5, 2, Takes, 1, 1, {}, {offered}},
      {Code, 5, 0, Takes, 0, 1, {L"SelSelected"}, {offered}},
      {Code, 5, 0, Takes, 2, 1, {L"SelSelected"}, {offered}},
      {Code, 5, 4, 0, 0, 1, {}, {}},
      {Code, 6, 0, 0, 0, 1, {L"EditChange"}, {}},
      {Code, 7, 0, 0, 0, 1, {}, {}},
      {Ask, 1013, 0, 0, 0, 1, {}, next},
      {Ask, 1014, 0, 0, 0, 1, {}, previous},
      {Ask, 999, 0, 0, 0, 1, {}, {}},
      // A name wins over the next control, forward only, unless the name is ignored.
      {Ask, 1013, 0, 0, 0, 1, {}, {L"SetPreNextFocusToForm 3 c"}, FALSE, L"", L"c"},
      {NextIgnoringName, 0, 0, 0, 0, 1, {}, next, FALSE, L"", L"c"},
      {Ask, 1014, 0, 0, 0, 1, {}, previous, FALSE, L"", L"c"},
      {Ask, 1013, 0, Blocks, 0, 1, {}, {}},
      {Ask, 1014, 0, Blocks, 0, 1, {}, {}},
      {Ask, 1013, 0, 0, 0, 0, {}, {next[0]}},
      {Ask, 1014, 0, 0, 0, 0, {}, {previous[0]}},
      // Required input holds the focus, a name too, until the field has a digit.
      {Ask, 1013, 0, 0, 0, 1, {}, {}, TRUE, L"", L"c"},
      {Ask, 1014, 0, 0, 0, 1, {}, {}, TRUE, L"   "},
      {Ask, 1013, 0, 0, 0, 1, {}, next, TRUE, L"2"},
  };
  for (const auto& c : cases) {
    // The guard silences the field's codes, not the form's asks.
    for (BOOL enabled : {TRUE, FALSE}) {
      SCOPED_TRACE(testing::Message() << "case " << (&c - &cases[0]) << " events enabled " << enabled);
      Ctl->RequireInput = c.require;
      Ctl->NextFocusCtrlName = c.name;
      Ctl->Style = c.style;
      // The text in the field as the user would have it.
      SetWindowTextW(Ctl->Edit.m_hWnd, c.text);
      Ctl->Caption = L"20240105";
      Ctl->EventsEnabled = enabled;
      Form->SetBaseCtlBitInfo(0xFFFFFFFF, FALSE);
      Form->SetBaseCtlBitInfo(c.bits, TRUE);
      Form->FireEventAnswer = c.fireAnswer;
      Form->AllowFocusAnswer = c.allow;
      Form->Calls.clear();
      Rec.Events.clear();
      if (c.msg) {
        EXPECT_EQ(SendMessageW(Ctl->m_hWnd, c.msg, c.msg == Ask ? MAKEWPARAM(0, c.arg) : c.arg, 0), c.msg == Code);
      } else {
        Ctl->SetNextFocus(TRUE);
      }
      const bool silenced = !enabled && c.msg == Code;
      EXPECT_SEQ(Rec.Events, silenced ? Strings() : c.events);
      EXPECT_SEQ(ProtocolCalls(), silenced ? Strings() : c.calls);
    }
  }
  Ctl->EventsEnabled = TRUE;
}

TEST_F(Events, TheFieldTakesTheFocusAndTellsTheFormOnlyForAnEnabledVisiblePlacedControl) {
  // One of enabled, visible, placed missing in each case after the first; the SetFocus
  // method needs only the first.
  for (int missing : {-1, 0, 1, 2}) {
    SCOPED_TRACE(missing);
    Ctl->Enabled = missing != 0;
    Ctl->Visible = missing != 1;
    Ctl->RunForm = missing != 2 ? Form : nullptr;
    Form->Calls.clear();
    Ctl->InformSetFocus();
    EXPECT_SEQ(ProtocolCalls(), missing < 0 ? Strings({L"SetFocusToForm"}) : Strings());
    ::SetFocus(FormWindow());
    ASSERT_EQ(Call(L"SetFocus", {}), S_OK);
    EXPECT_EQ(GetFocus(), missing != 0 ? Ctl->Edit.m_hWnd : FormWindow());
  }
  Ctl->RunForm = Form;
}
