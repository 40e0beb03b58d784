// Script mode, in JScript; the every-method example is the VBScript smoke test.
#include "HostFixture.h"

#include <algorithm>

namespace {

// Control a made with props and a value set, echoing its field, value and format code.
std::wstring Shown(const wchar_t* props, const wchar_t* then) {
  return std::wstring(L"var a = form.Create('a', 10, 10, 150, 24, '") + props + L"');\n" + then +
         L"\nform.Echo(form.FieldText('a') + ' ' + a.GetValue() + ' ' + a.Caption + ' ' + (a.Style == 1 ? "
         L"a.TimeFormat : a.DateFormat));";
}

} // namespace

TEST_F(HostTest, ScriptsAnswerWithTheirOutputAndExitCode) {
  TempFolder dir;
  std::wstring file = dir.Path + L"/saved.tvf"; // as a script writes it: forward slashes, no escaping
  std::replace(file.begin(), file.end(), L'\\', L'/');
  ExpectScripts({
      // date1's handler changes date2, whose event fires inside date1's handler; events
      // the form takes or a silent set never reach the record.
      {L"var a = form.Create('date1', 10, 10, 150, 24), b = form.Create('date2', 10, 50, 150, 24);\n"
       L"function date1_SelSelected() { form.Echo('in date1_SelSelected ' + a.Caption); "
       L"b.SetCaptionCtrl('20240102'); form.Echo('out date1_SelSelected'); }\n"
       L"function date2_SelSelected() { form.Echo('in date2_SelSelected ' + b.Caption); }\n"
       L"a.SetCaptionCtrl('20240101');\nform.Echo(form.Events().replace(/\\n/g, ' '));\n"
       L"form.ClearEvents(); form.TakeEvents(true); a.SetCaptionCtrl('20240103');\n"
       L"form.TakeEvents(false); b.SetCaptionCtrlEx('20240104', false);\nform.Echo('[' + form.Events() + ']');",
       0,
       {L"in date1_SelSelected 20240101", L"in date2_SelSelected 20240102", L"out date1_SelSelected",
        L"date1.SelSelected date2.SelSelected", L"[]"}},
      // Errors name their line and end the script with 1; Quit ends it with its code.
      {L"form.Create('a', 1, 1, 100, 20);\nform.Key('a', 'Tab');",
       1,
       {L"script error: line 2: Key: unknown key 'Tab'"}},
      {L"form.Quit(0);\nform.Echo('never');", 0, {}},
      // Arguments no form takes (damaged form files are the fuzz suite's).
      {L"form.Create(new Array(130).join('n'), 10, 10, 150, 24);",
       1,
       {L"*a control's name has at most 128 characters"}},
      {L"form.Create('a', 10, 90, -10, 20);", 1, {L"*the control a refuses the size -10x20"}},
      {L"form.Create('a', 10, 90, 150, -10);", 1, {L"*the control a refuses the size 150x-10"}},
      {L"form.Create('a', 0/0, 10, 150, 24);", 1, {L"*Create: x, y, width and height must be numbers"}},
      {L"form.Create('a\\u0000b', 10, 10, 150, 24);", 1, {L"*Create: argument 1 must be a name"}},
      // A saved form loads as it was saved.
      {L"form.Create('a', 10, 10, 150, 24, 'DateFormat=7');\nform.Save('" + file +
           L"'); form.Remove('a');\n"
           L"form.Load('" +
           file + L"'); form.Echo(form.Control('a').DateFormat);",
       0,
       {L"7"}},
      {L"function date1_SelSelected() { undefinedThing.x = 1; }\n"
       L"var c = form.Create('date1', 1, 1, 100, 20);\nc.SetCaptionCtrl('20240101');\nform.Type('date1', '');\n"
       L"form.Echo('never');",
       1,
       {L"script error: line 1: *"}},
      {L"form.PinClock('');\nform.PinClock('2024');",
       1,
       {L"script error: line 2: PinClock: '2024' is no instant YYYYMMDDHHMMSS"}},
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
      // Paste lays the clipboard text into the mask from the caret; a control is found by
      // its name in any case.
      {L"form.Create('d', 10, 10, 150, 24, 'Style=2;DateFormat=2');\n"
       L"form.Type('d', '2024'); form.Paste('d', '/03/1');\n"
       L"form.Echo(form.FieldText('d') + '|' + form.Selection('d') + '|' + form.Control('D').GetValue());",
       0,
       {L"2024/03/1 |9,9|2024031"}},
      // Real keys: named keys move and delete as the keyboard's do; the main keyboard's plus is typed.
      {L"form.Create('a', 10, 10, 150, 24, 'Style=3;DateFormat=2'); form.Create('b', 10, 50, 150, 24);\n"
       L"form.Type('a', '2024031'); form.Key('a', 'Home'); form.Key('a', 'Delete'); form.Key('a', 'Right');\n"
       L"form.Key('a', 'Backspace'); form.Echo(form.FieldText('a') + '|' + form.Selection('a'));\n"
       L"form.Type('a', '+'); form.Echo(form.Focused());",
       0,
       {L"2403/1 /  |0,0", L"a"}},
      // The keypad's plus and minus ask the form for the next and the previous control: in
      // creation order, wrapping round, past a hidden one; a name, in any case, counts
      // forwards only; a form that refuses the move, or holds the focus itself, keeps it.
      {L"var a = form.Create('a', 10, 10, 150, 24), b = form.Create('b', 10, 50, 150, 24), s = [];\n"
       L"var c = form.Create('c', 10, 90, 150, 24), d = form.Create('d', 10, 130, 150, 24);\n"
       L"function move(from, key) { form.Key(from, 'Keypad' + key); s.push(form.Focused()); }\n"
       L"move('a', 'Plus'); move('d', 'Plus'); move('a', 'Minus'); move('c', 'Minus');\n"
       L"a.NextFocusCtrlName = 'D'; c.Visible = 0; move('b', 'Plus'); move('a', 'Plus'); move('a', 'Minus');\n"
       L"form.AllowFocus(false); move('b', 'Minus'); form.AllowFocus(true);\n"
       L"form.BlockFocus(true); move('b', 'Minus'); form.BlockFocus(false); move('b', 'Minus');\n"
       L"form.Echo(s.join(' '));",
       0,
       {L"b a d b d d d b b a"}},
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
      // What a screen reader is told of the control, and of none.
      {L"form.Create('d1', 10, 10, 150, 24, 'BasicClient=4;Item=Birth date');\n"
       L"form.Type('d1', '20240');\nform.Echo(form.Accessible('d1'));\nform.Accessible('nobody');",
       1,
       {L"combo box|Birth date|2024/0|focused, collapsed, focusable",
        L"script error: line 4: Accessible: no control named 'nobody'"}},
  });
}

// The every-method example runs whole; what only a script shows is how VBScript hands
// over its variables: by reference, read through by SetValue and written into by
// GetCurDate whatever they held, and a number where a text is wanted.
TEST_F(HostTest, EveryMethodAnswersAScript) {
  const std::vector<BYTE> text = ReadBytes(L"" TAMVERO_SOURCE_DIR "/examples/every-method.vbs");
  Lines out;
  ASSERT_EQ(Script(L"VBScript", std::wstring(text.begin(), text.end()), out), 0) << testing::PrintToString(out);
  ASSERT_GE(out.size(), 3u);
  EXPECT_EQ(Lines(out.end() - 3, out.end()),
            (Lines{L"SetValue from a variable 0 -> 20240106", L"SetValue from a number 0 -> 20240106",
                   L"GetCurDate into a text 1 Long"}));
}
