' The form's part in the focus chain: next and previous in creation order, and the
' form's right to take events and to hold the focus.
' Run: scripts/demo --script examples/focus.vbs
Set a = form.Create("a", 20, 20, 160, 24)
Set b = form.Create("b", 20, 60, 160, 24)
Set c = form.Create("c", 20, 100, 160, 24, "Style=1;TimeFormat=2")

form.Type "a", ""
form.Echo "focus: " & form.Focused()
form.Key "a", "KeypadPlus"
form.Echo "after the keypad's plus: " & form.Focused()
form.Key form.Focused(), "KeypadMinus"
form.Echo "after the keypad's minus: " & form.Focused()

form.TakeEvents True
a.SetCaptionCtrl "20240101"
form.Echo "taken by the form, so not fired: [" & form.Events() & "]"
form.TakeEvents False
a.SetCaptionCtrl "20240102"
form.Echo "fired: [" & form.Events() & "]"
