#include "HeadlessSession.h"

#include "DefaultForm.h"
#include "FormDriver.h"
#include "RealInput.h"
#include "Screenshot.h"
#include "WholeFile.h"

#include <functional>
#include <vector>

namespace {

class Session {
public:
  Session(DemoForm& form, const std::wstring& outDir) : m_form(form), m_driver(form), m_dir(outDir) {}

  // One step: what is done, then what the user sees afterwards.
  void Step(const std::wstring& title, const std::function<bool(FormDriver&)>& action,
            std::vector<std::wstring> watch) {
    m_form.Fired.clear();
    Line(L"> " + title);
    if (!action(m_driver)) {
      Line(L"  not done: " + m_driver.Error);
      ++m_failures;
    }
    for (auto& name : watch) {
      std::wstring text, selection;
      bool open = false;
      if (m_driver.FieldText(name, text) && m_driver.Selection(name, selection) && m_driver.CalendarOpen(name, open))
        Line(L"  field " + name + L": \"" + text + L"\" selection " + selection + (open ? L", drop-down open" : L""));
      std::wstring said;
      if (m_driver.Accessible(name, said)) Line(L"  reader " + name + L": " + said);
    }
    std::wstring focus = m_form.Focused();
    Line(L"  focus: " + (focus.empty() ? L"(none)" : focus));
    std::wstring events;
    for (auto& e : m_form.Fired) events += L" " + e;
    Line(L"  events:" + (events.empty() ? L" (none)" : events));
  }

  void Shot(const std::wstring& file) {
    std::wstring error;
    if (SaveScreenshot(m_form.Window(), m_dir + L"\\" + file, error)) {
      Line(L"  screenshot " + file);
    } else {
      Line(L"  screenshot " + file + L" failed: " + error);
      ++m_failures;
    }
  }

  void Line(const std::wstring& line) { m_lines.push_back(line); }

  bool Write() {
    std::string utf8;
    for (auto& l : m_lines) {
      int n = WideCharToMultiByte(CP_UTF8, 0, l.c_str(), static_cast<int>(l.size()), nullptr, 0, nullptr, nullptr);
      std::string s(static_cast<size_t>(n), '\0');
      WideCharToMultiByte(CP_UTF8, 0, l.c_str(), static_cast<int>(l.size()), &s[0], n, nullptr, nullptr);
      utf8 += s + "\n";
    }
    return WriteWholeFile(m_dir + L"\\transcript.txt", utf8.data(), utf8.size());
  }

  int Failures() const { return m_failures; }

private:
  DemoForm& m_form;
  FormDriver m_driver;
  std::wstring m_dir;
  std::vector<std::wstring> m_lines;
  int m_failures = 0;
};

} // namespace

int RunHeadlessSession(DemoForm& form, const std::wstring& outDir) {
  Session s(form, outDir);
  s.Line(L"Tamvero demo session");
  // A fixed "today", before the controls compute their first values, so that every run
  // shows the same dates.
  if (!form.Library().CanPinClock())
    s.Line(L"clock: not pinned (this Tamvero.dll exports no TamveroPinClock)");
  else if (form.Library().PinClock(L"20240315093000"))
    s.Line(L"clock: pinned to 2024-03-15 09:30:00");
  std::wstring error;
  if (!BuildDefaultForm(form, error)) {
    s.Line(L"the default form was not built: " + error);
    s.Write();
    return 1;
  }
  realinput::BringToFront(form.Window());
  s.Shot(L"01-form.png");

  s.Step(L"Type date1 \"20240315\": a full date", [](FormDriver& d) { return d.Type(L"date1", L"20240315"); },
         {L"date1"});
  s.Step(L"Key date1 Up: one day on", [](FormDriver& d) { return d.Key(L"date1", L"Up"); }, {L"date1"});
  s.Step(L"Key date1 Down: and back", [](FormDriver& d) { return d.Key(L"date1", L"Down"); }, {L"date1"});
  s.Step(L"Type plain1 \"20240231\": an impossible date, rolled back",
         [](FormDriver& d) { return d.Type(L"plain1", L"20240231"); }, {L"plain1"});
  s.Step(L"Type spin1 \"20241225\": a full date moves the focus on",
         [](FormDriver& d) { return d.Type(L"spin1", L"20241225"); }, {L"spin1"});
  s.Step(L"Click spin1 spinup", [](FormDriver& d) { return d.Click(L"spin1", L"spinup"); }, {L"spin1"});
  s.Step(L"Type date2 \"2024\" then KeypadPlus: the keypad's plus moves on",
         [](FormDriver& d) { return d.Type(L"date2", L"2024") && d.Key(L"date2", L"KeypadPlus"); }, {L"date2"});
  s.Step(L"Type time1 \"093015\"", [](FormDriver& d) { return d.Type(L"time1", L"093015"); }, {L"time1"});
  s.Step(L"Type time2 \"141500\"", [](FormDriver& d) { return d.Type(L"time2", L"141500"); }, {L"time2"});
  s.Step(L"Type hour27 \"253000\": past midnight on a 27-hour clock",
         [](FormDriver& d) { return d.Type(L"hour27", L"253000"); }, {L"hour27"});
  s.Shot(L"02-typed.png");

  s.Step(L"Key date1 F4: open the calendar", [](FormDriver& d) { return d.Key(L"date1", L"F4"); }, {L"date1"});
  s.Shot(L"03-dropdown.png");
  s.Step(L"ClickDay date1 20240320: pick a day", [](FormDriver& d) { return d.ClickDay(L"date1", L"20240320"); },
         {L"date1"});
  s.Step(L"Click date1 arrow: the arrow opens it too", [](FormDriver& d) { return d.Click(L"date1", L"arrow"); },
         {L"date1"});
  s.Step(L"ClickOutside: a click elsewhere closes it", [](FormDriver& d) { return d.ClickOutside(); }, {L"date1"});
  s.Shot(L"04-end.png");

  s.Line(L"steps not done: " + std::to_wstring(s.Failures()));
  return s.Write() ? 0 : 1;
}
