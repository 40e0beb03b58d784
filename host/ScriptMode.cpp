#include "ScriptMode.h"

#include "FormObject.h"

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
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    out(L"script error: cannot open " + path);
    return 1;
  }
  LARGE_INTEGER size = {};
  // Scripts are small; anything past 16 MiB is no script.
  if (!GetFileSizeEx(file, &size) || size.QuadPart > (16 << 20)) {
    CloseHandle(file);
    out(L"script error: cannot read " + path);
    return 1;
  }
  std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  BOOL read = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(file);
  if (!read || got != bytes.size()) {
    out(L"script error: cannot read " + path);
    return 1;
  }
  std::wstring text;
  if (got >= 2 && static_cast<BYTE>(bytes[0]) == 0xFF && static_cast<BYTE>(bytes[1]) == 0xFE) {
    text.assign(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (got - 2) / 2);
  } else {
    size_t skip = got >= 3 && static_cast<BYTE>(bytes[0]) == 0xEF && static_cast<BYTE>(bytes[1]) == 0xBB &&
                          static_cast<BYTE>(bytes[2]) == 0xBF
                      ? 3
                      : 0;
    int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data() + skip, static_cast<int>(got - skip), nullptr, 0);
    text.resize(static_cast<size_t>(n));
    MultiByteToWideChar(CP_UTF8, 0, bytes.data() + skip, static_cast<int>(got - skip), &text[0], n);
  }
  return RunScriptText(form, language, text, std::move(out));
}
