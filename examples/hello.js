// Two controls, their defaults, a property change and a value set by the host.
// Run: scripts/demo --script examples/hello.js
var due = form.Create("due", 20, 20, 160, 24);
var start = form.Create("start", 20, 60, 160, 24, "Style=2;DateFormat=3");
form.Echo("due: Style " + due.Style + ", DateFormat " + due.DateFormat + ", range " + due.StartTime + "-" + due.EndTime);
form.Echo("start: Style " + start.Style + ", DateFormat " + start.DateFormat);

due.EndTime = "20301231";
form.Echo("due.EndTime is now " + form.Control("due").EndTime);

function due_SelSelected() {
  form.Echo("due_SelSelected: the value is " + due.GetValue());
}
due.SetCaptionCtrl("20240315");
form.Echo("fired:\n" + form.Events());
