// The built TamveroDemo.exe run as a user runs it: script mode's exit code and output,
// and the headless session's screenshots and transcript.
#include "HostFixture.h"

#include <cstdio>
#include <string>

namespace {

struct Outcome {
  DWORD code = 0xFFFFFFFF;
  std::string out;
};

// Runs a program built beside this one, collecting its standard output and error.
Outcome RunProgram(const wchar_t* exe, const std::wstring& args) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring dir(self);
  // The command processor takes the outer quotes off the whole line.
  const std::wstring command = L"\"\"" + dir.substr(0, dir.rfind(L'\\') + 1) + exe + L"\" " + args + L" 2>&1\"";
  Outcome o;
  FILE* pipe = _wpopen(command.c_str(), L"rb");
  if (!pipe) return o;
  char buf[4096];
  for (size_t got; (got = fread(buf, 1, sizeof buf, pipe)) > 0;) o.out.append(buf, got);
  o.code = static_cast<DWORD>(_pclose(pipe));
  return o;
}

Outcome RunDemo(const std::wstring& args) { return RunProgram(L"TamveroDemo.exe", args); }

} // namespace

// A script file's exit code and the start of its output ('*' standing for any text); a
// file that is not text is a script error before any of it runs.
TEST(DemoExe, ScriptModeGivesTheScriptsExitCodeAndErrorLine) {
  TempFolder dir;
  const struct {
    const wchar_t* file;
    std::string text;
    DWORD code;
    const wchar_t* out;
  } cases[] = {
      {L"quit.vbs", "form.Echo \"bye\"\r\nform.Quit 3\r\nform.Echo \"never\"\r\n", 3, L"bye\n*"},
      {L"bad.js", "form.Echo('one');\n\nform.Click('a', 'field');\n", 1,
       L"one\nscript error: line 3: Click: no control named 'a'\n*"},
      {L"notes.txt", "", 1, L"script error: *"},
      {L"zero.js", std::string("form.Echo('one');\nform.Echo('two');\0form.Quit(3);\n", 50), 1,
       L"script error: line 2: a NUL character; a script is text\n*"},
      {L"latin1.js", "form.Echo('caf\xE9');\n", 1, L"script error: * is not UTF-8 or UTF-16 text\n*"},
      {L"odd.js",
       std::string("\xFF\xFE"
                   "f\0o\0o",
                   7),
       1, L"script error: * is not UTF-8 or UTF-16 text\n*"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.file);
    std::wstring path = dir.Path + L"\\" + k.file;
    WriteWholeFile(path, k.text.data(), k.text.size());
    Outcome o = RunDemo(L"--script \"" + path + L"\"");
    EXPECT_EQ(o.code, k.code);
    EXPECT_TRUE(LineMatches(std::wstring(o.out.begin(), o.out.end()), k.out)) << o.out;
  }
  EXPECT_EQ(RunDemo(L"--bogus x").code, 2u);
}

TEST(DemoExe, HeadlessSessionWritesScreenshotsAndTranscript) {
  TempFolder dir;
  Outcome o = RunDemo(L"--headless \"" + dir.Path + L"\"");
  ASSERT_EQ(o.code, 0u) << o.out;
  // Every step done, and the typed digits reached the fields, whatever the mask puts between.
  const std::vector<BYTE> bytes = ReadBytes(dir.Path + L"\\transcript.txt");
  const std::string transcript(bytes.begin(), bytes.end());
  EXPECT_TRUE(LineMatches(std::wstring(transcript.begin(), transcript.end()),
                          L"Tamvero demo session\n*\n  field date1: \"2024*03*15\" selection *\n"
                          L"  field time1: \"09*30*15\" selection *\nsteps not done: 0\n"))
      << transcript;

  for (const wchar_t* shot : {L"01-form.png", L"02-typed.png", L"03-dropdown.png", L"04-end.png"}) {
    std::vector<BYTE> png = ReadBytes(dir.Path + L"\\" + shot);
    ASSERT_GT(png.size(), 8u) << shot;
    EXPECT_EQ(memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
  }
}

TEST(DemoExe, ACrashEndsTheProgramWithItsBacktraceInsteadOfWaiting) {
  Outcome o = RunProgram(L"crash_probe.exe", L"");
  EXPECT_NE(o.code, 0u);
  EXPECT_NE(o.out.find("Backtrace:"), std::string::npos) << o.out;
}
