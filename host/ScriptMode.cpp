#include "ScriptMode.h"

#include "FormObject.h"
#include "WholeFile.h"

#include <algorithm>
#include <vector>

int RunScriptText(DemoForm& form, const std::wstring& language, const std::wstring& text, ScriptHost::Output out) {
  ScriptHost host(std::move(out));
  FormObject item(form, host);
  form.EventHandler = [&host](const std::wstring& control, const std::wstring& event) {
    return host.CallFunction(control + L"_" + event);
  };
  int code = host.Run(language, text, L"form", &item);
  form.EventHandler = nullptr;
  return code;
}

int RunScriptFile(DemoForm& form, const std::wstring& path, ScriptHost::Output out) {
  std::wstring language = ScriptHost::LanguageOf(path);
  if (language.empty()) {
    out(L"script error: " + path + L" is neither .js nor .vbs");
    return 1;
  }
  std::vector<BYTE> bytes;
  // Scripts are small; anything past 16 MiB is no script.
  switch (ReadWholeFile(path, 16 << 20, bytes)) {
  case FileRead::CannotOpen:
    out(L"script error: cannot open " + path);
    return 1;
  case FileRead::CannotRead:
    out(L"script error: cannot read " + path);
    return 1;
  case FileRead::Done:
    break;
  }
  const size_t got = bytes.size();
  const char* chars = reinterpret_cast<const char*>(bytes.data());
  std::wstring text;
  bool decoded = true;
  if (got >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    decoded = got % 2 == 0;
    text.assign(reinterpret_cast<const wchar_t*>(chars + 2), (got - 2) / 2);
  } else {
    size_t skip = got >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
    const int length = static_cast<int>(got - skip);
    int n = length ? MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, chars + skip, length, nullptr, 0) : 0;
    decoded = n > 0 || length == 0;
    text.resize(static_cast<size_t>(n));
    if (n) MultiByteToWideChar(CP_UTF8, 0, chars + skip, length, &text[0], n);
  }
  if (!decoded) {
    out(L"script error: " + path + L" is not UTF-8 or UTF-16 text");
    return 1;
  }
  // The script engines stop reading at a NUL: what follows would be silently left out.
  if (size_t nul = text.find(L'\0'); nul != std::wstring::npos) {
    size_t line =
        1 + static_cast<size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(nul), L'\n'));
    out(L"script error: line " + std::to_wstring(line) + L": a NUL character; a script is text");
    return 1;
  }
  return RunScriptText(form, language, text, std::move(out));
}
