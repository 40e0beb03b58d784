// TamveroDemo.exe: a small form runtime hosting the date and time control.
//   TamveroDemo.exe                   the default form, to use by hand
//   TamveroDemo.exe --script FILE     runs a .js or .vbs file against the form
//   TamveroDemo.exe --headless DIR    the scripted session: screenshots and a transcript
//   TamveroDemo.exe --gallery DIR     every style and format as tiles and a contact sheet
#include "DefaultForm.h"
#include "Gallery.h"
#include "HeadlessSession.h"
#include "ScriptMode.h"
#include "WholeFile.h"
#include "fxhandle.h"

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

void Print(const std::wstring& line) {
  std::wstring text = line + L"\n";
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], n, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

int Usage() {
  Print(L"usage: TamveroDemo.exe [--script FILE.js|FILE.vbs | --headless OUTPUT-FOLDER | --gallery OUTPUT-FOLDER]");
  return 2;
}

int Interactive(DemoForm& form) {
  std::wstring error;
  if (!BuildDefaultForm(form, error)) {
    Print(L"the default form was not built: " + error);
    return 1;
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

int Run(const std::vector<std::wstring>& args) {
  std::wstring mode = args.size() > 1 ? args[1] : L"";
  if (!mode.empty() && (args.size() != 3 || (mode != L"--script" && mode != L"--headless" && mode != L"--gallery")))
    return Usage();

  ControlLibrary library;
  if (!library.Load()) {
    Print(library.Error);
    return 1;
  }
  DemoForm form(library);
  if (!form.Open(L"Tamvero demo")) {
    Print(L"the form window was not created");
    return 1;
  }
  if (mode == L"--script") return RunScriptFile(form, args[2], Print);
  if (mode == L"--headless") {
    int code = RunHeadlessSession(form, args[2]);
    if (code) Print(L"the session's transcript was not written into " + args[2]);
    return code;
  }
  if (mode == L"--gallery") {
    // A fixed "today", so that the drop-down shows the same month on every run.
    if (form.Library().CanPinClock()) form.Library().PinClock(L"20240315093000");
    std::wstring log;
    int failures = RunGallery(form, args[2], {}, log);
    Print(log);
    return failures ? 1 : 0;
  }
  return Interactive(form);
}

// When the launcher names a file in TAMVERO_EXIT_FILE, the exit code is written there as
// the program's last act: a run whose Wine server died takes the process with it and
// leaves an exit status of 0, so only a written code proves that the run finished.
void ReportExit(int code) {
  wchar_t path[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"TAMVERO_EXIT_FILE", path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  std::string text = std::to_string(code) + "\n";
  WriteWholeFile(path, text.data(), text.size());
}

} // namespace

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  CLocalHandle argvMemory(argv);
  std::vector<std::wstring> args(argv, argv + argc);

  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
  InitCommonControlsEx(&icc);
  int code = Run(args);
  OleUninitialize();
  ReportExit(code);
  return code;
}
