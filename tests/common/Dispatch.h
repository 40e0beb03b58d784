// Automation by name on any dispatch, as a host drives it; values read back as text.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace testhost {

HRESULT PutProp(IDispatch* disp, const wchar_t* name, VARIANT value);
std::wstring GetProp(IDispatch* disp, const wchar_t* name);
// Arguments first to last; the result as text.
HRESULT CallMethod(IDispatch* disp, const wchar_t* name, std::vector<VARIANT> args, std::wstring* result = nullptr,
                   EXCEPINFO* excep = nullptr);
VARIANT VLong(long v);
VARIANT VStr(const wchar_t* s);

} // namespace testhost
