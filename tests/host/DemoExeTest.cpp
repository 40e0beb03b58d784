// The built TamveroDemo.exe run as a user runs it: script mode's exit code and output,
// and the headless session's screenshots and transcript.
#include "HostFixture.h"

#include <cstdio>

namespace {

struct Outcome {
  DWORD code = 0xFFFFFFFF;
  std::string out;
};

// Runs a program built beside this one (the demo unless named), collecting its standard
// output and error.
Outcome Launch(const std::wstring& args, const wchar_t* exe = L"TamveroDemo.exe") {
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
      {L"notes.txt", "", 1, L"script error: *"},
      {L"zero.js", std::string("form.Echo('one');\nform.Echo('two');\0form.Quit(3);\n", 50), 1,
       L"script error: line 2: a NUL character; a script is text\n*"},
      {L"latin1.js", "form.Echo('caf\xE9');\n", 1, L"script error: * is not UTF-8 or UTF-16 text\n*"},
      {L"odd.js", std::string("\xFF\xFE\x66\0o\0o", 7), 1, L"script error: * is not UTF-8 or UTF-16 text\n*"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.file);
    std::wstring path = dir.Path + L"\\" + k.file;
    WriteWholeFile(path, k.text.data(), k.text.size());
    Outcome o = Launch(L"--script \"" + path + L"\"");
    EXPECT_EQ(o.code, k.code);
    EXPECT_TRUE(LineMatches(std::wstring(o.out.begin(), o.out.end()), k.out)) << o.out;
  }
  EXPECT_EQ(Launch(L"--bogus x").code, 2u);
}

TEST(DemoExe, HeadlessSessionWritesScreenshotsAndTranscript) {
  TempFolder dir;
  Outcome o = Launch(L"--headless \"" + dir.Path + L"\"");
  ASSERT_EQ(o.code, 0u) << o.out;
  // Every step and screenshot done, and the typed digits reached the fields, whatever the
  // mask puts between.
  const std::vector<BYTE> bytes = ReadBytes(dir.Path + L"\\transcript.txt");
  const std::string transcript(bytes.begin(), bytes.end());
  EXPECT_TRUE(LineMatches(std::wstring(transcript.begin(), transcript.end()),
                          L"Tamvero demo session\n*\n  screenshot 01-form.png\n*\n  field date1: \"2024*03*15\" "
                          L"selection *\n  field time1: \"09*30*15\" selection *\n  screenshot 04-end.png\n"
                          L"steps not done: 0\n"))
      << transcript;
}

TEST(DemoExe, ACrashEndsTheProgramWithItsBacktraceInsteadOfWaiting) {
  Outcome o = Launch(L"", L"crash_probe.exe");
  EXPECT_NE(o.code, 0u);
  EXPECT_NE(o.out.find("Backtrace:"), std::string::npos) << o.out;
}
