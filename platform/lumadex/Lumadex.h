// Link-information library of the form runtime: login information by key and the
// size of the runtime's main window.
#pragma once

#ifdef LUMADEX_BUILD
#define LUMADEX_API __declspec(dllexport)
#else
#define LUMADEX_API __declspec(dllimport)
#endif

#include "fx.h"

// The login information stored under key; empty when there is none.
LUMADEX_API CString JTLink_GetLoginInfo(LPCWSTR key);
// The main window's size; (0, 0) when the runtime has none.
LUMADEX_API CSize JTLink_GetMainWindowSize();

// Set by the runtime (and by tests).
LUMADEX_API void JTLink_SetLoginInfo(LPCWSTR key, LPCWSTR value);
LUMADEX_API void JTLink_SetMainWindowSize(int cx, int cy);
