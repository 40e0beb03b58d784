// Script mode, in JScript; the every-method example is the VBScript smoke test.
#include "HostFixture.h"

#include <fstream>
#include <iterator>

namespace {

using Lines = std::vector<std::wstring>;

} // namespace

TEST_F(HostTest, ScriptReadsDefaultsAndRoundTripsProperties) {
  Lines out;
  EXPECT_EQ(Script(L"JScript",
                   L"form.PinClock('20240105093015');\n"
                   L"var c = form.Create('d1', 10, 10, 150, 24);\n"
                   L"form.Echo(c.Style + ' ' + c.DateFormat + ' ' + c.TimeFormat + ' ' + c.StartTime + ' ' + "
                   L"c.EndTime + ' ' + c.Enabled + ' ' + c.ItemFlag + ' [' + c.Caption + ']');\n"
                   L"c.Style = 4; c.TimeFormat = 2; c.NextFocusCtrlName = 'd2'; c.Item = 'x y';\n"
                   L"var same = form.Control('D1');\n"
                   L"form.Echo(same.Style + ' ' + same.TimeFormat + ' ' + same.NextFocusCtrlName + ' ' + same.Item);\n"
                   L"var k = form.Create('d2', 10, 50, 150, 24, 'Style=2;DateFormat=7;EndTime=20301231');\n"
                   L"form.Echo(k.Style + ' ' + k.DateFormat + ' ' + k.EndTime);\n",
                   out),
            0);
  EXPECT_EQ(out, (Lines{L"0 2 0 19700101 99991231 1 1 [20240105]", L"4 2 d2 x y", L"2 7 20301231"}));
}

TEST_F(HostTest, HandlersAndEventsSeeTheSameFiringOrder) {
  // date1's handler changes date2, whose event fires inside date1's handler.
  Lines out;
  EXPECT_EQ(Script(L"JScript",
                   L"var a = form.Create('date1', 10, 10, 150, 24);\n"
                   L"var b = form.Create('date2', 10, 50, 150, 24);\n"
                   L"function date1_SelSelected() { form.Echo('in date1_SelSelected ' + a.Caption); "
                   L"b.SetCaptionCtrl('20240102'); form.Echo('out date1_SelSelected'); }\n"
                   L"function date2_SelSelected() { form.Echo('in date2_SelSelected ' + b.Caption); }\n"
                   L"a.SetCaptionCtrl('20240101');\n"
                   L"form.Echo(form.Events());\n"
                   L"form.ClearEvents(); form.TakeEvents(true);\n"
                   L"a.SetCaptionCtrl('20240103');\n"
                   L"form.Echo('taken: [' + form.Events() + ']');\n"
                   L"form.TakeEvents(false); b.SetCaptionCtrlEx('20240104', false);\n"
                   L"form.Echo('silent: [' + form.Events() + ']');\n",
                   out),
            0);
  EXPECT_EQ(out, (Lines{L"in date1_SelSelected 20240101", L"in date2_SelSelected 20240102", L"out date1_SelSelected",
                        L"date1.SelSelected", L"date2.SelSelected", L"taken: []", L"silent: []"}));
}

TEST_F(HostTest, ScriptErrorsReportTheirLineAndEndNonZero) {
  const struct {
    const wchar_t* text;
    int code;
    Lines out; // the error line is matched by its start
  } cases[] = {
      {L"form.Echo('one');\nnoSuchFunction();\nform.Echo('never');", 1, {L"one", L"script error: line 2: "}},
      {L"form.Create('a', 1, 1, 100, 20);\n\nform.Type('b', '1');",
       1,
       {L"script error: line 3: Type: no control named 'b'"}},
      {L"form.Create('a', 1, 1, 100, 20);\nform.Key('a', 'Tab');",
       1,
       {L"script error: line 2: Key: unknown key 'Tab'"}},
      {L"form.Quit(0);\nform.Echo('never');", 0, {}},
      {L"function date1_SelSelected() { undefinedThing.x = 1; }\n"
       L"var c = form.Create('date1', 1, 1, 100, 20);\nc.SetCaptionCtrl('20240101');\n"
       L"form.Type('date1', '');\nform.Echo('never');",
       1,
       {L"script error: line 1: "}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(std::string(k.text, k.text + wcslen(k.text)));
    Lines out;
    EXPECT_EQ(Script(L"JScript", k.text, out), k.code);
    ASSERT_EQ(out.size(), k.out.size());
    for (size_t i = 0; i < out.size(); ++i) EXPECT_EQ(out[i].substr(0, k.out[i].size()), k.out[i]);
    Form->RemoveAll();
  }
}

TEST_F(HostTest, PinClockTakesOnlyAnInstant) {
  Lines out;
  ASSERT_TRUE(Library.CanPinClock());
  EXPECT_EQ(Script(L"JScript", L"form.PinClock('20240315093000');\nform.Echo('pinned');\nform.PinClock('');", out), 0);
  EXPECT_EQ(out, Lines{L"pinned"});
  EXPECT_EQ(Script(L"JScript", L"form.PinClock('2024');", out), 1);
  EXPECT_EQ(out, Lines{L"script error: line 1: PinClock: '2024' is no instant YYYYMMDDHHMMSS"});
}

TEST_F(HostTest, AccessibleSaysWhatAScreenReaderSays) {
  Lines out;
  EXPECT_EQ(Script(L"JScript",
                   L"form.PinClock('20240315093000');\n"
                   L"var c = form.Create('d1', 10, 10, 150, 24, 'BasicClient=4');\n"
                   L"c.Item = 'Birth date';\n"
                   L"form.Echo(form.Accessible('d1'));\n"
                   L"form.Type('d1', '20240');\n"
                   L"form.Echo(form.Accessible('d1'));\n"
                   L"form.Type('d1', '315'); form.Key('d1', 'F4');\n"
                   L"form.Echo(form.Accessible('d1'));\n"
                   L"form.Key('d1', 'Escape'); c.Enabled = false;\n"
                   L"var s = form.Create('s1', 10, 50, 150, 24, 'Style=4;TimeFormat=3');\n"
                   L"form.Echo(form.Accessible('d1'));\n"
                   L"form.Echo(form.Accessible('s1'));\n"
                   L"try { form.Accessible('nobody'); } catch (e) { form.Echo('error'); }\n",
                   out),
            0);
  EXPECT_EQ(out, (Lines{L"combo box|Birth date||collapsed, focusable",
                        L"combo box|Birth date|2024/0|focused, collapsed, focusable",
                        L"combo box|Birth date|2024/03/15|expanded, focusable",
                        L"combo box|Birth date|2024/03/15|unavailable, focused, read only, collapsed",
                        L"spin box||09:30|focusable", L"error"}));
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

TEST_F(HostTest, AHandlersFailedLoadKeepsTheFormAndQuitStopsTheScript) {
  struct {
    const wchar_t* script;
    int exit;
    Lines out;
  } const cases[] = {
      {L"var c = form.Create('a', 10, 10, 150, 24);\n"
       L"function a_SelSelected() { try { form.Load('x.tvf'); } catch (e) { form.Echo('refused: ' + e.message); } }\n"
       L"c.SetCaptionCtrl('20240105');\nform.Echo('after: ' + c.GetValue());\n",
       0,
       {L"refused: Load: cannot read x.tvf", L"after: 20240105"}},
      {L"var c = form.Create('a', 10, 10, 150, 24);\n"
       L"function a_SelSelected() { form.Quit(7); }\n"
       L"c.SetCaptionCtrl('20240105');\nform.Echo('still running');\n",
       7,
       {}},
  };
  for (const auto& c : cases) {
    Lines out;
    EXPECT_EQ(Script(L"JScript", c.script, out), c.exit);
    EXPECT_EQ(out, c.out);
    Form->RemoveAll();
  }
}

TEST_F(HostTest, PasteLaysTheClipboardTextIntoTheMaskWithoutEvents) {
  // Each row: what is typed first (and where the caret goes), what is pasted, and the
  // field, caret and value after. The caret rests on the first empty position at or
  // after the paste point, or at the end; pasting fires no event of its own.
  const struct {
    const wchar_t* before; // a script fragment on control d after it is focused
    const wchar_t* pasted;
    const wchar_t* field;
    const wchar_t* selection;
    const wchar_t* value;
  } cases[] = {
      {L"", L"2024/01/05", L"2024/01/05", L"10,10", L"20240105"},
      {L"", L"202401", L"2024/01/  ", L"8,8", L"202401"}, // incomplete: kept as typed
      {L"form.Type('d', '2024');", L"/03/1", L"2024/03/1 ", L"9,9", L"2024031"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::wstring(L"before [") + c.before + L"] pasting " + c.pasted);
    Lines out;
    std::wstring script = std::wstring(L"var d = form.Create('d', 10, 10, 150, 24, 'Style=2;DateFormat=2');\n"
                                       L"form.Type('d', ''); ") +
                          c.before +
                          L"\nform.ClearEvents();\n"
                          L"form.Paste('d', '" +
                          c.pasted +
                          L"');\n"
                          L"form.Echo(form.FieldText('d'));\nform.Echo(form.Selection('d'));\n"
                          L"form.Echo('[' + d.GetValue() + ']');\nform.Echo('[' + form.Events() + ']');\n";
    ASSERT_EQ(Script(L"JScript", script, out), 0) << (out.empty() ? L"" : out[0]);
    EXPECT_EQ(out, (Lines{c.field, c.selection, std::wstring(L"[") + c.value + L"]", L"[]"}));
    Form->RemoveAll();
  }
}
