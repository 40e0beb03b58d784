// The window and automation subset that the control and its stand-in libraries share.
// Class names follow MFC where the control's design uses them; nothing here exists
// without a caller.
#pragma once

#ifdef TAMFX_BUILD
#define FX_API __declspec(dllexport)
#else
#define FX_API __declspec(dllimport)
#endif

#include <windows.h>
#include <commctrl.h>
#include <oleauto.h>
#include <ocidl.h>
#include <olectl.h>

#include "fxstring.h"
#include "fxtypes.h"
