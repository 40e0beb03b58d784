// Handlers that change, disable, hide, restyle or remove the control whose event is
// running, or another one, or replace the whole form: every event the control fires, each
// with every such handler. After each the script goes on, the demo answers, and what is
// left on the form holds sane values; nothing is used after it is freed.
#include "HostFixture.h"

#include "fxwnd.h"

#include <regex>

namespace {

using Lines = std::vector<std::wstring>;

BOOL CALLBACK CountCalendar(HWND hwnd, LPARAM count) {
  wchar_t name[32] = {};
  GetClassNameW(hwnd, name, 32);
  if (_wcsicmp(name, L"SysMonthCal32") == 0) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int CalendarWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountCalendar, reinterpret_cast<LPARAM>(&count));
  return count;
}

void PumpFor(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    FxPumpMessages();
    Sleep(5);
  }
}

// What a handler does, once, to its own control S or the other one O.
const wchar_t* const kActions[] = {
    L"form.Control(S).Style = 1",
    L"form.Control(S).Style = 2",
    L"form.Control(S).Style = 3",
    L"form.Control(S).Style = 4",
    L"form.Control(S).Style = 5",
    L"form.Control(S).Style = 0",
    L"form.Control(S).DateFormat = 8",
    L"form.Control(S).Enabled = 0",
    L"form.Control(S).Visible = 0",
    L"form.Control(S).SetValue('20240301')",
    L"form.Control(S).SetCaptionCtrl('20240302')",
    L"form.Control(O).SetFocus()",
    L"form.Remove(S)",
    L"form.Remove(O)",
    L"form.Load(P + 'ab.tvf')",
};

} // namespace

TEST_F(HostTest, EveryEventSurvivesHandlersThatChangeOrRemoveAnyControl) {
  // Each row: the control and event whose handler acts, a's properties, the input that
  // gets there, and the input that fires the event; the actions run in turn, each on a
  // fresh pair a and b (b holding 20240105).
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
    std::wstring other = std::wstring(r.self) == L"a" ? L"b" : L"a";
    std::wstring script = L"form.PinClock('20240115093000');\nvar P = '" + dir.ScriptPath() + L"', S = '" + r.self +
                          L"', O = '" + other +
                          L"', act = '', ran = 0;\n"
                          L"function fresh() {\n"
                          L"  try { form.Remove('a'); } catch (e) {}\n"
                          L"  try { form.Remove('b'); } catch (e) {}\n"
                          L"  form.Create('a', 10, 10, 150, 24, '" +
                          r.props +
                          L"');\n"
                          L"  form.Create('b', 10, 50, 150, 24).SetCaptionCtrl('20240105');\n"
                          L"  CollectGarbage();\n"
                          L"}\n"
                          L"fresh(); form.Save(P + 'ab.tvf');\n"
                          L"function " +
                          r.self + L"_" + r.event +
                          L"() { if (act) { var s = act; act = ''; ran++; eval(s); } }\n"
                          L"var actions = [";
    for (const wchar_t* a : kActions) script += std::wstring(script.back() == L'[' ? L"\"" : L", \"") + a + L"\"";
    script +=
        L"];\n"
        L"for (var i = 0; i < actions.length; i++) {\n"
        L"  fresh(); ran = 0; " +
        std::wstring(r.before) + L";\n  act = actions[i];\n  var err = '';\n  try { " + r.trigger +
        L"; } catch (e) { err = ' (' + e.message + ')'; }\n"
        L"  act = '';\n"
        L"  var line = actions[i] + ': ' + ran;\n"
        L"  for (var n = 0; n < 2; n++) {\n"
        L"    var name = n ? 'b' : 'a';\n"
        L"    try { line += ' ' + name + '=' + form.Control(name).GetValue() + '[' + form.FieldText(name) + ']'; }\n"
        L"    catch (e) { line += ' ' + name + ' gone'; }\n"
        L"  }\n"
        L"  form.Echo(line + err);\n"
        L"}\n";
    SCOPED_TRACE(std::wstring(r.self) + L"." + r.event + L" by " + r.trigger);
    Lines out;
    ASSERT_EQ(Script(L"JScript", script, out), 0) << (out.empty() ? L"" : out.back());
    ASSERT_EQ(out.size(), std::size(kActions));
    for (size_t i = 0; i < out.size(); ++i) {
      const std::wstring& line = out[i];
      std::wstring action = kActions[i];
      SCOPED_TRACE(line);
      // The handler ran, inside the event; each control left answers with digits alone,
      // and b, untouched unless its own handler acted, keeps its value (a loaded form
      // gives both their first values).
      EXPECT_EQ(line.compare(action.size(), 4, L": 1 "), 0) << "the handler did not run";
      bool selfA = r.self[0] == L'a', load = action.find(L"Load") != std::wstring::npos;
      bool removedA = action == (selfA ? L"form.Remove(S)" : L"form.Remove(O)");
      bool removedB = action == (selfA ? L"form.Remove(O)" : L"form.Remove(S)");
      const wchar_t* sane = L"=\\d*\\[[^\\]]*\\]";
      EXPECT_TRUE(std::regex_search(line, std::wregex(removedA ? L" a gone" : std::wstring(L" a") + sane)));
      EXPECT_TRUE(std::regex_search(line, std::wregex(removedB         ? L" b gone"
                                                      : selfA && !load ? L" b=20240105\\[2024/01/05\\]"
                                                                       : std::wstring(L" b") + sane)));
    }
    Form->RemoveAll();
  }
  EXPECT_GT(FxDeferredCount(), deferredBefore) << "no removal waited for the control's own event to return";

  // The crash of a handler restyling its control while its drop-down delivers the day,
  // round after round, and the same at the pick; a retired drop-down goes once the
  // calendar is out of its notification.
  for (const wchar_t* regression : {L"SelChange() { a.Style = 1; }", L"SelSelected() { a.Style = 4; }"}) {
    SCOPED_TRACE(regression);
    Lines out;
    ASSERT_EQ(Script(L"JScript",
                     std::wstring(L"form.PinClock('20240115093000');\n"
                                  L"var a = form.Create('a', 10, 10, 150, 24);\n"
                                  L"function a_") +
                         regression +
                         L"\nfor (var i = 0; i < 3; i++) {\n"
                         L"  a.Style = 0; a.SetValue('');\n"
                         L"  form.Key('a', 'F4'); form.ClickDay('a', '20240117');\n"
                         L"}\n"
                         L"form.Echo(a.Style + ' [' + form.FieldText('a') + ']');\n",
                     out),
              0)
        << (out.empty() ? L"" : out.back());
    EXPECT_EQ(out,
              Lines{std::wstring(regression).substr(std::wstring(regression).find(L"= ") + 2, 1) + L" [  :  :  ]"});
    Form->RemoveAll();
    PumpFor(50);
    EXPECT_EQ(CalendarWindows(), 0) << "a retired drop-down outlived its notification";
  }
}
