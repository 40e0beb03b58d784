' Every method of the control, called from VBScript as a host script would.
form.PinClock "20240315093000"
Set c = form.Create("d", 10, 10, 150, 24)
form.Echo "GetItem [" & c.GetItem() & "]"
form.Echo "GetComputedDate " & c.GetComputedDate(3, 1, 1)
c.SetFocus
form.Echo "Focused " & form.Focused()
c.SetRedraw False
c.SetRedraw True
form.Echo "SetValue " & c.SetValue("20240105") & " -> " & c.GetValue()
form.Echo "GetComputedTime " & c.GetComputedTime(2, 30, 1)
c.SetCaptionCtrl "20240229"
form.Echo "GetCaptionCtrl " & c.GetCaptionCtrl() & " check " & c.CheckCaption()
c.SetCaptionCtrlEx "20240301", False
Dim y, m, d
r = c.GetCurDate(y, m, d)
form.Echo "GetCurDate " & r & " " & y & "-" & m & "-" & d
form.Echo "Base " & c.GetBaseComputedDate("20230231", 1, 0, 1)
form.Echo "Events " & Replace(form.Events(), vbLf, " ")
On Error Resume Next
x = c.GetBaseComputedDate("19691231", 1, 1, 1)
form.Echo "Err " & Hex(Err.Number) & " " & Err.Description
On Error GoTo 0
v = "20240106"
r = c.SetValue(v)
form.Echo "SetValue from a variable " & r & " -> " & c.GetValue()
r = c.SetValue(12345)
form.Echo "SetValue from a number " & r & " -> " & c.GetValue()
y = "text"
r = c.GetCurDate(y, m, d)
form.Echo "GetCurDate into a text " & r & " " & TypeName(y)
