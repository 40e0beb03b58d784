// Events from the children's notifications, the form's right to take two of them, and
// what the control asks the form to move the focus. (The sinks each point takes, several
// sinks and their order are HostContractTest's.)
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

// The control's side of a focus move: what it asks the form, in order. Where the focus
// lands is the form's (the host's form tests move it among real controls).
TEST_F(Events, FocusMovesAskTheFormUnlessTheFormOrRequiredInputHoldsTheFocus) {
  const Strings next = {L"SetPropertyLong 38 0", L"SetPreNextFocusToForm 1 "};
  const Strings previous = {L"SetPropertyLong 38 0", L"SetPreNextFocusToForm 0 "};
  enum Move { Next, NextIgnoringName, Previous, AskNext, AskPrevious, AskOther };
  struct Case {
    Move move;
    DWORD bits;
    long allow;
    BOOL require;
    const wchar_t* text; // in the field
    const wchar_t* name; // NextFocusCtrlName
    Strings calls;
  };
  const std::vector<Case> cases = {
      {Next, 0, 1, FALSE, L"", L"", next},
      {AskNext, 0, 1, FALSE, L"", L"", next},
      {Previous, 0, 1, FALSE, L"", L"", previous},
      {AskPrevious, 0, 1, FALSE, L"", L"", previous},
      {AskOther, 0, 1, FALSE, L"", L"", {}},
      // A name wins over the next control, forward only, unless the name is ignored.
      {AskNext, 0, 1, FALSE, L"", L"c", {L"SetPreNextFocusToForm 3 c"}},
      {NextIgnoringName, 0, 1, FALSE, L"", L"c", next},
      {AskPrevious, 0, 1, FALSE, L"", L"c", previous},
      {AskNext, FORM_BLOCKS_FOCUS, 1, FALSE, L"", L"", {}},
      {Previous, FORM_BLOCKS_FOCUS, 1, FALSE, L"", L"", {}},
      {AskNext, 0, 0, FALSE, L"", L"", {L"SetPropertyLong 38 0"}},
      {AskPrevious, 0, 0, FALSE, L"", L"", {L"SetPropertyLong 38 0"}},
      {AskNext, 0, 1, TRUE, L"", L"c", {}},
      {AskPrevious, 0, 1, TRUE, L"   ", L"", {}},
      {AskNext, 0, 1, TRUE, L"2", L"", next},
  };
  Create();
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - &cases[0]));
    Form->SetBaseCtlBitInfo(0xFFFFFFFF, FALSE);
    Form->SetBaseCtlBitInfo(c.bits, TRUE);
    Form->AllowFocusAnswer = c.allow;
    Ctl->RequireInput = c.require;
    Ctl->NextFocusCtrlName = c.name;
    // Put the text in the field as the user would have it (no events for the write).
    Ctl->MSetCaptionCtrlEx(L"", FALSE);
    SetWindowTextW(Ctl->Edit.m_hWnd, c.text);
    Form->TakeCalls();
    const WORD ask[] = {0, 0, 0, 1013, 1014, 999};
    if (c.move == Next || c.move == NextIgnoringName) Ctl->SetNextFocus(c.move == NextIgnoringName);
    if (c.move == Previous) Ctl->SetPreFocus();
    if (ask[c.move]) {
      EXPECT_EQ(SendMessageW(Ctl->m_hWnd, WM_JT_EVENT, MAKEWPARAM(0, ask[c.move]), 0), 0);
    }
    EXPECT_SEQ(ProtocolCalls(Form), c.calls);
  }
}

TEST_F(Events, TheFieldTakesTheFocusAndTellsTheFormOnlyForAnEnabledVisiblePlacedControl) {
  Create();
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
  Ctl->Visible = TRUE;
  // The control passes the focus to its field, and the SetFocus method only while enabled.
  for (BOOL enabled : {FALSE, TRUE}) {
    ::SetFocus(FormWindow());
    Ctl->Enabled = enabled;
    ASSERT_EQ(Call(L"SetFocus", {}), S_OK);
    EXPECT_EQ(GetFocus(), enabled ? Ctl->Edit.m_hWnd : FormWindow());
  }
  ::SetFocus(FormWindow());
  ::SetFocus(Ctl->m_hWnd);
  EXPECT_EQ(GetFocus(), Ctl->Edit.m_hWnd);
}
