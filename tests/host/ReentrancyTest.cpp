// Handlers that change, disable, hide, restyle or remove the control whose event is
// running, or another one, or replace the whole form: every event the control fires, each
// with every such handler. After each the script goes on, the demo answers, and what is
// left on the form holds sane values; nothing is used after it is freed.
#include "HostFixture.h"

#include "RealInput.h"
#include "fxwnd.h"

#include <regex>

namespace {

// Each action runs once, from the handler of $SELF's $EVENT, on a fresh pair a and b (b
// holding 20240105); a line then tells whether it ran and what a and b hold.
const wchar_t kHarness[] = LR"js(form.PinClock('20240115093000');
var P = '$DIR', S = '$SELF', O = '$OTHER', act = '', ran = 0;
function fresh() {
  try { form.Remove('a'); } catch (e) {}
  try { form.Remove('b'); } catch (e) {}
  form.Create('a', 10, 10, 150, 24, '$PROPS');
  form.Create('b', 10, 50, 150, 24).SetCaptionCtrl('20240105');
  CollectGarbage();
}
fresh(); form.Save(P + 'ab.tvf');
function $SELF_$EVENT() { if (act) { var s = act; act = ''; ran++; eval(s); } }
var actions = ['form.Control(S).DateFormat = 8', 'form.Control(S).Enabled = 0', 'form.Control(S).Visible = 0',
  "form.Control(S).SetValue('20240301')", "form.Control(S).SetCaptionCtrl('20240302')",
  'form.Control(O).SetFocus()', 'form.Remove(S)', 'form.Remove(O)', "form.Load(P + 'ab.tvf')"];
for (var style = 0; style <= 5; style++) actions.push('form.Control(S).Style = ' + style);
for (var i = 0; i < actions.length; i++) {
  fresh(); ran = 0; $BEFORE;
  act = actions[i];
  var err = '';
  try { $TRIGGER; } catch (e) { err = ' (' + e.message + ')'; }
  act = '';
  var line = actions[i] + ': ' + ran;
  for (var n = 0; n < 2; n++) {
    var name = n ? 'b' : 'a';
    try { line += ' ' + name + '=' + form.Control(name).GetValue() + '[' + form.FieldText(name) + ']'; }
    catch (e) { line += ' ' + name + ' gone'; }
  }
  form.Echo(line + err);
}
)js";

std::wstring Fill(std::wstring text, const std::vector<std::pair<std::wstring, std::wstring>>& values) {
  for (const auto& v : values)
    for (size_t at = text.find(v.first); at != std::wstring::npos; at = text.find(v.first, at + v.second.size()))
      text.replace(at, v.first.size(), v.second);
  return text;
}

} // namespace

TEST_F(HostTest, EveryEventSurvivesHandlersThatChangeOrRemoveAnyControl) {
  // Each row: the control and event whose handler acts, a's properties, the input that
  // gets there, and the input that fires the event.
  const struct {
    const wchar_t* self;
    const wchar_t* event;
    const wchar_t* props;
    const wchar_t* before;
    const wchar_t* trigger;
  } rows[] = {
      {L"a", L"EditChange", L"Style=0", L"", L"form.Type('a', '2')"},
      {L"a", L"EditFull", L"Style=0", L"", L"form.Type('a', '20240117')"},
      {L"a", L"EditFull", L"Style=1", L"", L"form.Type('a', '101010')"},
      {L"a", L"EditEnter", L"Style=0", L"form.Type('a', '2')", L"form.Key('a', 'Enter')"},
      {L"a", L"SetFocus", L"Style=0", L"form.Type('b', '')", L"form.Click('a', 'field')"},
      {L"a", L"KillFocus", L"Style=0", L"form.Type('a', '')", L"form.Click('b', 'field')"},
      {L"a", L"KillFocus", L"Style=0", L"form.Key('a', 'F4'); form.Key('a', 'Escape')", L"form.Click('b', 'field')"},
      {L"a", L"SelChange", L"Style=0", L"form.Key('a', 'F4')", L"form.ClickDay('a', '20240117')"},
      {L"a", L"SelSelected", L"Style=0", L"form.Key('a', 'F4')", L"form.ClickDay('a', '20240117')"},
      {L"a", L"SelSelected", L"Style=0", L"form.Key('a', 'F4')", L"form.Key('a', 'Up')"},
      {L"a", L"SelSelected", L"Style=0", L"", L"form.Control('a').SetCaptionCtrl('20240110')"},
      {L"a", L"SelSelected", L"Style=0", L"form.Control('a').SetValue('20240110')", L"form.Key('a', 'Down')"},
      {L"a", L"SelSelected", L"Style=2", L"form.Control('a').SetValue('20240110')", L"form.Click('a', 'spinup')"},
      {L"a", L"EditChange", L"Style=4", L"", L"form.Type('a', '1')"},
      // The next-focus move of a full field fires the next control's SetFocus inside it.
      {L"b", L"SetFocus", L"Style=0;NextFocusCtrlName=b", L"", L"form.Type('a', '20240117')"},
  };
  TempFolder dir;
  const long deferredBefore = FxDeferredCount();
  for (const auto& r : rows) {
    SCOPED_TRACE(std::wstring(r.self) + L"." + r.event + L" by " + r.trigger);
    const bool selfA = r.self[0] == L'a';
    Lines out = Js(Fill(kHarness, {{L"$DIR", dir.ScriptPath()},
                                   {L"$SELF", r.self},
                                   {L"$OTHER", selfA ? L"b" : L"a"},
                                   {L"$PROPS", r.props},
                                   {L"$EVENT", r.event},
                                   {L"$BEFORE", r.before},
                                   {L"$TRIGGER", r.trigger}}));
    ASSERT_EQ(out.size(), 15u);
    for (const std::wstring& line : out) {
      SCOPED_TRACE(line);
      const std::wstring action = line.substr(0, line.find(L": "));
      // The handler ran, inside the event; each control left answers with digits alone,
      // and b, untouched unless its own handler acted, keeps its value (a loaded form
      // gives both their first values).
      EXPECT_EQ(line.compare(action.size(), 4, L": 1 "), 0) << "the handler did not run";
      const bool load = action.find(L"Load") != std::wstring::npos;
      const bool removedA = action == (selfA ? L"form.Remove(S)" : L"form.Remove(O)");
      const bool removedB = action == (selfA ? L"form.Remove(O)" : L"form.Remove(S)");
      const std::wstring sane = L"=\\d*\\[[^\\]]*\\]";
      EXPECT_TRUE(std::regex_search(line, std::wregex(removedA ? L" a gone" : L" a" + sane)));
      EXPECT_TRUE(std::regex_search(line, std::wregex(removedB         ? L" b gone"
                                                      : selfA && !load ? L" b=20240105\\[2024/01/05\\]"
                                                                       : L" b" + sane)));
    }
    Form->RemoveAll();
  }
  EXPECT_GT(FxDeferredCount(), deferredBefore) << "no removal waited for the control's own event to return";

  // The crash of a handler restyling its control while its drop-down delivers the day,
  // round after round, and the same at the pick; a retired drop-down goes once the
  // calendar is out of its notification.
  for (const wchar_t* style : {L"SelChange() { a.Style = 1; }", L"SelSelected() { a.Style = 4; }"}) {
    SCOPED_TRACE(style);
    Lines out = Js(std::wstring(L"form.PinClock('20240115093000');\nvar a = form.Create('a', 10, 10, 150, 24);\n"
                                L"function a_") +
                   style +
                   L"\nfor (var i = 0; i < 3; i++) {\n"
                   L"  a.Style = 0; a.SetValue('');\n"
                   L"  form.Key('a', 'F4'); form.ClickDay('a', '20240117');\n"
                   L"}\n"
                   L"form.Echo(a.Style + ' [' + form.FieldText('a') + ']');\n");
    EXPECT_EQ(out, Lines{std::wstring(style).substr(std::wstring(style).find(L"= ") + 2, 1) + L" [  :  :  ]"});
    Form->RemoveAll();
    realinput::Settle();
    EXPECT_EQ(FindWindowW(L"SysMonthCal32", nullptr), nullptr) << "a retired drop-down outlived its notification";
  }
}
