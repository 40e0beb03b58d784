#include <initguid.h>

#include "ScriptHost.h"

#include <cguid.h>

ScriptHost::~ScriptHost() { Close(); }

void ScriptHost::Close() {
  if (!m_engine) return;
  // Closing releases the engine's hold on the named item before the item goes.
  m_engine->Close();
  m_engine.Release();
}

std::wstring ScriptHost::LanguageOf(const std::wstring& path) {
  size_t dot = path.rfind(L'.');
  std::wstring ext = dot == std::wstring::npos ? L"" : path.substr(dot);
  if (_wcsicmp(ext.c_str(), L".js") == 0) return L"JScript";
  if (_wcsicmp(ext.c_str(), L".vbs") == 0) return L"VBScript";
  return L"";
}

int ScriptHost::Run(const std::wstring& language, const std::wstring& text, const wchar_t* itemName, IDispatch* item) {
  m_itemName = itemName;
  m_item = item;
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(language.c_str(), &clsid);
  if (SUCCEEDED(hr))
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript, reinterpret_cast<void**>(&m_engine));
  if (FAILED(hr)) {
    m_out(L"script error: no " + language + L" engine on this system");
    return 1;
  }
  CComPtr<IActiveScriptParse> parse;
  hr = m_engine->QueryInterface(IID_IActiveScriptParse, reinterpret_cast<void**>(&parse));
  if (SUCCEEDED(hr)) hr = parse->InitNew();
  if (SUCCEEDED(hr)) hr = m_engine->SetScriptSite(this);
  if (SUCCEEDED(hr)) hr = m_engine->AddNamedItem(itemName, SCRIPTITEM_ISVISIBLE);
  // Started before parsing, so that the text runs at once and its functions stay callable.
  if (SUCCEEDED(hr)) hr = m_engine->SetScriptState(SCRIPTSTATE_STARTED);
  if (FAILED(hr)) {
    Close();
    m_out(L"script error: the " + language + L" engine did not start");
    return 1;
  }
  CExcepInfo excep;
  hr = parse->ParseScriptText(text.c_str(), nullptr, nullptr, nullptr, 0, 0, SCRIPTTEXT_ISVISIBLE, nullptr, &excep);
  Close();
  if (m_quit) return m_quitCode;
  if (m_failed) return 1;
  if (FAILED(hr)) {
    // An engine that failed without reporting through the site.
    wchar_t code[16];
    wsprintfW(code, L"0x%08lX", static_cast<unsigned long>(hr));
    m_out(std::wstring(L"script error: the script failed (") + code + L")");
    return 1;
  }
  return 0;
}

bool ScriptHost::CallFunction(const std::wstring& name) {
  if (!m_engine || Stopping()) return false;
  CComPtr<IDispatch> script;
  if (FAILED(m_engine->GetScriptDispatch(nullptr, &script)) || !script) return false;
  DISPID id = 0;
  LPOLESTR n = const_cast<LPOLESTR>(name.c_str());
  if (FAILED(script->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id))) return false;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  CVariant result;
  CExcepInfo excep;
  // An error inside the handler reaches OnScriptError, which stops the script.
  script->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result, &excep, nullptr);
  return true;
}

void ScriptHost::Quit(int code) {
  if (m_quit || m_failed) return;
  m_quit = true;
  m_quitCode = code;
}

STDMETHODIMP ScriptHost::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IActiveScriptSite)) {
    *ppv = static_cast<IActiveScriptSite*>(this);
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP ScriptHost::GetLCID(LCID* lcid) {
  if (!lcid) return E_POINTER;
  *lcid = LOCALE_USER_DEFAULT;
  return S_OK;
}

STDMETHODIMP ScriptHost::GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** info) {
  if (item) *item = nullptr;
  if (info) *info = nullptr;
  if (!name || m_itemName != name) return TYPE_E_ELEMENTNOTFOUND;
  if (mask & SCRIPTINFO_IUNKNOWN) {
    if (!item) return E_POINTER;
    m_item->AddRef();
    *item = m_item;
  }
  // No type information: the engines bind the item's members by name.
  return S_OK;
}

STDMETHODIMP ScriptHost::GetDocVersionString(BSTR* version) {
  if (version) *version = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ScriptHost::OnScriptError(IActiveScriptError* error) {
  // Quit travels as an error to unwind the script; it is no error of the script's.
  if (m_quit || m_failed) return S_OK;
  m_failed = true;
  CExcepInfo excep;
  error->GetExceptionInfo(&excep);
  if (excep.pfnDeferredFillIn) excep.pfnDeferredFillIn(&excep);
  DWORD context = 0;
  ULONG line = 0;
  LONG column = 0;
  error->GetSourcePosition(&context, &line, &column);
  std::wstring description = excep.bstrDescription ? excep.bstrDescription : L"";
  if (description.empty()) {
    wchar_t code[16];
    wsprintfW(code, L"0x%08lX", static_cast<unsigned long>(excep.scode ? excep.scode : excep.wCode));
    description = std::wstring(L"error ") + code;
  }
  m_out(L"script error: line " + std::to_wstring(line + 1) + L": " + description);
  return S_OK;
}
