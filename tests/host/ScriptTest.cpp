// Script mode, in JScript; the every-method example is the VBScript smoke test.
#include "HostFixture.h"

#include <fstream>
#include <iterator>

namespace {

// Control a made with props and a value set, echoing its field, value and format code.
std::wstring Shown(const wchar_t* props, const wchar_t* then) {
  return std::wstring(L"var a = form.Create('a', 10, 10, 150, 24, '") + props + L"');\n" + then +
         L"\nform.Echo(form.FieldText('a') + ' ' + a.GetValue() + ' ' + a.Caption + ' ' + (a.Style == 1 ? "
         L"a.TimeFormat : a.DateFormat));";
}

} // namespace

TEST_F(HostTest, ScriptsAnswerWithTheirOutputAndExitCode) {
  ExpectScripts({
      // date1's handler changes date2, whose event fires inside date1's handler; events
      // the form takes or a silent set never reach the record.
      {L"var a = form.Create('date1', 10, 10, 150, 24), b = form.Create('date2', 10, 50, 150, 24);\n"
       L"function date1_SelSelected() { form.Echo('in date1_SelSelected ' + a.Caption); "
       L"b.SetCaptionCtrl('20240102'); form.Echo('out date1_SelSelected'); }\n"
       L"function date2_SelSelected() { form.Echo('in date2_SelSelected ' + b.Caption); }\n"
       L"a.SetCaptionCtrl('20240101');\nform.Echo(form.Events());\n"
       L"form.ClearEvents(); form.TakeEvents(true); a.SetCaptionCtrl('20240103');\n"
       L"form.TakeEvents(false); b.SetCaptionCtrlEx('20240104', false);\nform.Echo('[' + form.Events() + ']');",
       0,
       {L"in date1_SelSelected 20240101", L"in date2_SelSelected 20240102", L"out date1_SelSelected",
        L"date1.SelSelected", L"date2.SelSelected", L"[]"}},
      // Errors name their line and end the script with 1; Quit ends it with its code.
      {L"form.Create('a', 1, 1, 100, 20);\nform.Key('a', 'Tab');",
       1,
       {L"script error: line 2: Key: unknown key 'Tab'"}},
      {L"form.Quit(0);\nform.Echo('never');", 0, {}},
      {L"function date1_SelSelected() { undefinedThing.x = 1; }\n"
       L"var c = form.Create('date1', 1, 1, 100, 20);\nc.SetCaptionCtrl('20240101');\nform.Type('date1', '');\n"
       L"form.Echo('never');",
       1,
       {L"script error: line 1: *"}},
      {L"form.PinClock('20240315093000');\nform.Echo('pinned');\nform.PinClock('');\nform.PinClock('2024');",
       1,
       {L"pinned", L"script error: line 4: PinClock: '2024' is no instant YYYYMMDDHHMMSS"}},
      // A handler's Quit stops the script.
      {L"var c = form.Create('a', 10, 10, 150, 24);\nfunction a_SelSelected() { form.Quit(7); }\n"
       L"c.SetCaptionCtrl('20240105');\nform.Echo('still running');",
       7,
       {}},
      // Handlers that give each other input end in an error instead of a stack overflow.
      {L"var a = form.Create('a', 10, 10, 150, 24), b = form.Create('b', 10, 50, 150, 24);\n"
       L"function a_EditChange() { form.Type('b', '1'); }\nfunction b_EditChange() { form.Type('a', '1'); }\n"
       L"form.Type('a', '2');\nform.Echo('never');",
       1,
       {L"*input nested 16 deep in event handlers*"}},
      // A caption in fullwidth and Arabic-Indic digits leaves the control in ASCII digits.
      {Shown(L"DateFormat=2", L"a.Caption = '\\uFF12\\u0660\\uFF12\\u0664\\uFF10\\u0663\\uFF11\\u0665';"),
       0,
       {L"2024/03/15 20240315 20240315 2"}},
      // A stored format out of range keeps the default's mask and its own code (a later
      // write of one is the control's own test).
      {Shown(L"Style=3;DateFormat=25", L"a.SetValue('20240315');"), 0, {L"2024/03/15 20240315 20240315 25"}},
      {Shown(L"Style=1;TimeFormat=12", L"a.SetValue('202403');"), 0, {L"20:24:03 202403 202403 12"}},
      // Paste lays the clipboard text into the mask from the caret, firing no event; a
      // control is found by its name in any case.
      {L"form.Create('d', 10, 10, 150, 24, 'Style=2;DateFormat=2');\n"
       L"form.Type('d', '2024'); form.ClearEvents(); form.Paste('d', '/03/1');\n"
       L"form.Echo(form.FieldText('d') + '|' + form.Selection('d') + '|' + form.Control('D').GetValue() + '|' + "
       L"form.Events());",
       0,
       {L"2024/03/1 |9,9|2024031|"}},
      // Real keys: named keys move and delete as the keyboard's do; the keypad's plus and
      // minus move the focus, the main keyboard's plus is typed.
      {L"var a = form.Create('a', 10, 10, 150, 24, 'Style=3;DateFormat=2'), b = form.Create('b', 10, 50, 150, 24);\n"
       L"form.Type('a', '2024031'); form.Key('a', 'Home'); form.Key('a', 'Delete'); form.Key('a', 'Right');\n"
       L"form.Key('a', 'Backspace'); form.Echo(form.FieldText('a') + '|' + form.Selection('a'));\n"
       L"form.Type('a', '+'); form.Echo(form.Focused()); form.Key('a', 'KeypadPlus'); form.Echo(form.Focused());\n"
       L"form.Key('b', 'KeypadMinus'); form.Echo(form.Focused());",
       0,
       {L"2403/1 /  |0,0", L"a", L"b", L"a"}},
      // Real clicks open the drop-down, close it by a click outside and pick a day, whose
      // handler removes its control: it goes once the event has returned.
      {L"form.PinClock('20240115093000');\nvar a = form.Create('a', 10, 10, 150, 24);\n"
       L"function a_SelSelected() { form.Remove('a'); form.Echo('removing ' + a.GetValue()); }\n"
       L"form.Click('a', 'arrow'); form.Echo('open ' + form.CalendarOpen('a'));\n"
       L"form.ClickOutside(); form.Echo('open ' + form.CalendarOpen('a'));\n"
       L"form.Click('a', 'arrow'); form.ClickDay('a', '20240117');\n"
       L"try { form.Control('a'); } catch (e) { form.Echo('gone'); }",
       0,
       {L"open true", L"open false", L"removing 20240117", L"gone"}},
      // What a screen reader is told of the control.
      {L"form.Create('d1', 10, 10, 150, 24, 'BasicClient=4;Item=Birth date');\n"
       L"form.Type('d1', '20240');\nform.Echo(form.Accessible('d1'));",
       0,
       {L"combo box|Birth date|2024/0|focused, collapsed, focusable"}},
  });
}

TEST_F(HostTest, EveryMethodAnswersAScript) {
  std::ifstream file(TAMVERO_SOURCE_DIR "/examples/every-method.vbs");
  ASSERT_TRUE(file.good());
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  Lines out;
  ASSERT_EQ(Script(L"VBScript", std::wstring(text.begin(), text.end()), out), 0);
  EXPECT_EQ(out, (Lines{L"GetItem []", L"GetComputedDate 20240415", L"Focused d", L"SetValue 0 -> 20240105",
                        L"GetComputedTime 100000", L"GetCaptionCtrl 2024/02/29 check 1", L"GetCurDate 1 2024-3-1",
                        L"Base 20230303", L"Events d.SetFocus d.SelSelected",
                        L"Err 80004005 GetBaseComputedDate: the base date is before 1970 or its month or day is out "
                        L"of range",
                        L"SetValue from a variable 0 -> 20240106", L"SetValue from a number 0 -> 20240106",
                        L"GetCurDate into a text 1 Long"}));
}
