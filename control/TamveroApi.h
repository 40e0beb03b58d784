#pragma once

#ifdef TAMVERO_BUILD
#define TAMVERO_API __declspec(dllexport)
#else
#define TAMVERO_API __declspec(dllimport)
#endif
