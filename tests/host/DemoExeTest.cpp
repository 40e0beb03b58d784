// The built TamveroDemo.exe run as a user runs it: script mode's exit code and output,
// and the headless session's screenshots and transcript.
#include "HostFixture.h"

#include "fxhandle.h"

#include <algorithm>
#include <string>

namespace {

struct Outcome {
  DWORD code = 0xFFFFFFFF;
  std::string out;
};

// A program built beside this one.
std::wstring Beside(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring dir(self);
  return dir.substr(0, dir.rfind(L'\\') + 1) + name;
}

// Runs a program with args and collects its standard output and error.
Outcome RunProgram(const std::wstring& exe, const std::wstring& args) {
  Outcome o;
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE r = nullptr, w = nullptr;
  if (!CreatePipe(&r, &w, &sa, 0)) return o;
  CKernelHandle readEnd(r), writeEnd(w);
  SetHandleInformation(r, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = si.hStdError = w;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi = {};
  std::wstring command = L"\"" + exe + L"\" " + args;
  BOOL started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  writeEnd.Reset(); // the child's copy alone keeps the pipe open
  if (!started) return o;
  CKernelHandle process(pi.hProcess), thread(pi.hThread);
  char buf[4096];
  for (DWORD got = 0; ReadFile(r, buf, sizeof buf, &got, nullptr) && got;) o.out.append(buf, got);
  WaitForSingleObject(pi.hProcess, INFINITE);
  GetExitCodeProcess(pi.hProcess, &o.code);
  return o;
}

Outcome RunDemo(const std::wstring& args) { return RunProgram(Beside(L"TamveroDemo.exe"), args); }

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
  std::vector<std::wstring> lines = ReadLines(dir.Path + L"\\transcript.txt");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), L"Tamvero demo session");
  EXPECT_EQ(lines.back(), L"steps not done: 0");

  // The typed digits reached the fields (their first lines), whatever the mask puts between.
  for (const wchar_t* typed :
       {L"  field date1: \"2024*03*15\" selection*", L"  field time1: \"09*30*15\" selection*"}) {
    const std::wstring prefix(typed, static_cast<size_t>(wcschr(typed, L'"') - typed + 1));
    auto first =
        std::find_if(lines.begin(), lines.end(), [&](auto& l) { return l.compare(0, prefix.size(), prefix) == 0; });
    ASSERT_NE(first, lines.end()) << prefix;
    EXPECT_TRUE(LineMatches(*first, typed)) << *first;
  }

  for (const wchar_t* shot : {L"01-form.png", L"02-typed.png", L"03-dropdown.png", L"04-end.png"}) {
    std::vector<BYTE> png = ReadBytes(dir.Path + L"\\" + shot);
    ASSERT_GT(png.size(), 8u) << shot;
    EXPECT_EQ(memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
  }
}

TEST(DemoExe, ACrashEndsTheProgramWithItsBacktraceInsteadOfWaiting) {
  Outcome o = RunProgram(Beside(L"crash_probe.exe"), L"");
  EXPECT_NE(o.code, 0u);
  EXPECT_NE(o.out.find("Backtrace:"), std::string::npos) << o.out;
}
