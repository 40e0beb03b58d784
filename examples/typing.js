// Types a full date as a user would and watches the events and the focus move on.
// Run: scripts/demo --script examples/typing.js
form.Create("date1", 20, 20, 160, 24);
form.Create("date2", 20, 60, 160, 24, "DateFormat=3");

function date1_EditChange() { form.Echo("  date1 changed: " + form.FieldText("date1")); }
function date1_EditFull() { form.Echo("  date1 is full: " + form.Control("date1").GetValue()); }

form.Type("date1", "20240315");
form.Echo("field: " + form.FieldText("date1") + ", focus now on: " + (form.Focused() || "(none)"));
form.Key("date1", "Up");
form.Echo("after Up: " + form.FieldText("date1"));
form.Echo("events:\n" + form.Events());
