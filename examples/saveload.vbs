' Saves the form's controls with their stored properties, changes one, and loads them back.
' Run: scripts/demo --script examples/saveload.vbs
form.Create "ordered", 20, 20, 160, 24, "Style=2;DateFormat=4;StartTime=20000101"
form.Create "at", 20, 60, 160, 24, "Style=5;TimeFormat=0"
form.Save "saved-form.tvf"
form.Control("ordered").DateFormat = 0
form.Load "saved-form.tvf"
Set o = form.Control("ordered")
form.Echo "after Load: DateFormat " & o.DateFormat & ", StartTime " & o.StartTime & ", Style " & o.Style
