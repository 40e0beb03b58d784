// Runs a JScript or VBScript text through the platform's Active Scripting engines, with
// one named item of ours ("form"), and calls the script's functions by name.
#pragma once

#include "fxauto.h"

#include <activscp.h>

#include <functional>
#include <string>

class ScriptHost : public IActiveScriptSite {
public:
  using Output = std::function<void(const std::wstring& line)>;
  explicit ScriptHost(Output out) : m_out(std::move(out)) {}
  ~ScriptHost();

  // Language "JScript" or "VBScript"; item is the object the script knows as itemName.
  // Answers the exit code: the script's Quit code, 0 at its end, 1 after a script error.
  int Run(const std::wstring& language, const std::wstring& text, const wchar_t* itemName, IDispatch* item);
  // Ends the engine; Run does so when the script is over.
  void Close();
  // Calls the script function name without arguments; false when there is none.
  bool CallFunction(const std::wstring& name);
  // Ends the script with code at the next return to the engine.
  void Quit(int code);
  void Print(const std::wstring& line) { m_out(line); }
  bool Stopping() const { return m_failed || m_quit; }

  // The language of a script file by its extension (".js", ".vbs"); empty when unknown.
  static std::wstring LanguageOf(const std::wstring& path);

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  // The site lives on the stack of its runner.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetLCID(LCID* lcid) override;
  STDMETHODIMP GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** info) override;
  STDMETHODIMP GetDocVersionString(BSTR* version) override;
  STDMETHODIMP OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
  STDMETHODIMP OnStateChange(SCRIPTSTATE) override { return S_OK; }
  STDMETHODIMP OnScriptError(IActiveScriptError* error) override;
  STDMETHODIMP OnEnterScript() override { return S_OK; }
  STDMETHODIMP OnLeaveScript() override { return S_OK; }

private:
  Output m_out;
  CComPtr<IActiveScript> m_engine;
  std::wstring m_itemName;
  IDispatch* m_item = nullptr;
  bool m_failed = false;
  bool m_quit = false;
  int m_quitCode = 0;
};
