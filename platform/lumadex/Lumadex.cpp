#include "Lumadex.h"

#include <map>

namespace {
std::map<std::wstring, std::wstring>& LoginInfo() {
  static std::map<std::wstring, std::wstring> info;
  return info;
}
CSize g_mainWindowSize(0, 0);
} // namespace

LUMADEX_API CString JTLink_GetLoginInfo(LPCWSTR key) {
  auto it = LoginInfo().find(key ? key : L"");
  return it == LoginInfo().end() ? CString() : CString(it->second);
}

LUMADEX_API CSize JTLink_GetMainWindowSize() { return g_mainWindowSize; }

LUMADEX_API void JTLink_SetLoginInfo(LPCWSTR key, LPCWSTR value) {
  if (value)
    LoginInfo()[key ? key : L""] = value;
  else
    LoginInfo().erase(key ? key : L"");
}

LUMADEX_API void JTLink_SetMainWindowSize(int cx, int cy) { g_mainWindowSize = CSize(cx, cy); }
