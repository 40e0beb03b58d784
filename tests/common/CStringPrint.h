// Lets GoogleTest show a CString as text rather than as a pointer.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <ostream>

#include "fxstring.h"

inline void PrintTo(const CString& s, std::ostream* os) {
  *os << '"';
  for (int i = 0; i < s.GetLength(); ++i) {
    wchar_t c = s[i];
    if (c >= 0x20 && c < 0x7F)
      *os << static_cast<char>(c);
    else
      *os << "\\u" << std::hex << static_cast<unsigned>(c) << std::dec;
  }
  *os << '"';
}
