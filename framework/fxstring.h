// CString: a wide string with the MFC operations the control uses. Header-only over
// std::wstring; every module links the same shared C++ runtime, so it may cross DLLs.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdarg>
#include <cwchar>
#include <cwctype>
#include <string>

class CString {
public:
  CString() = default;
  CString(const wchar_t* s) : m_str(s ? s : L"") {}
  CString(const wchar_t* s, int n) : m_str(s ? std::wstring(s, static_cast<size_t>(n > 0 ? n : 0)) : std::wstring()) {}
  CString(wchar_t ch, int repeat = 1) : m_str(static_cast<size_t>(repeat > 0 ? repeat : 0), ch) {}
  CString(const std::wstring& s) : m_str(s) {}

  int GetLength() const { return static_cast<int>(m_str.size()); }
  bool IsEmpty() const { return m_str.empty(); }
  void Empty() { m_str.clear(); }
  operator const wchar_t*() const { return m_str.c_str(); }
  const wchar_t* GetString() const { return m_str.c_str(); }
  const std::wstring& str() const { return m_str; }
  wchar_t GetAt(int i) const { return m_str[static_cast<size_t>(i)]; }
  wchar_t operator[](int i) const { return GetAt(i); }
  void SetAt(int i, wchar_t ch) { m_str[static_cast<size_t>(i)] = ch; }

  CString& operator=(const wchar_t* s) {
    m_str = s ? s : L"";
    return *this;
  }
  CString& operator+=(const CString& s) {
    m_str += s.m_str;
    return *this;
  }
  CString& operator+=(const wchar_t* s) {
    if (s) m_str += s;
    return *this;
  }
  CString& operator+=(wchar_t ch) {
    m_str += ch;
    return *this;
  }
  friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
  friend CString operator+(const CString& a, const wchar_t* b) { return CString(a.m_str + (b ? b : L"")); }
  friend CString operator+(const wchar_t* a, const CString& b) { return CString((a ? a : L"") + b.m_str); }
  friend CString operator+(const CString& a, wchar_t ch) { return CString(a.m_str + ch); }
  friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
  friend bool operator==(const CString& a, const wchar_t* b) { return a.m_str == (b ? b : L""); }
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
  friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

  CString Left(int n) const { return Mid(0, n); }
  CString Right(int n) const {
    if (n <= 0) return CString();
    int len = GetLength();
    return n >= len ? *this : CString(m_str.substr(static_cast<size_t>(len - n)));
  }
  CString Mid(int first) const { return Mid(first, GetLength()); }
  CString Mid(int first, int count) const {
    if (first < 0) first = 0;
    if (first >= GetLength() || count <= 0) return CString();
    return CString(m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
  }
  int Find(wchar_t ch, int start = 0) const {
    if (start < 0) start = 0;
    size_t p = m_str.find(ch, static_cast<size_t>(start));
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
  }
  int Find(const wchar_t* sub, int start = 0) const {
    if (start < 0) start = 0;
    size_t p = m_str.find(sub ? sub : L"", static_cast<size_t>(start));
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
  }
  // Removes every occurrence of ch; returns how many were removed.
  int Remove(wchar_t ch) {
    size_t before = m_str.size();
    std::wstring out;
    out.reserve(before);
    for (wchar_t c : m_str)
      if (c != ch) out += c;
    m_str.swap(out);
    return static_cast<int>(before - m_str.size());
  }
  int Replace(wchar_t from, wchar_t to) {
    int n = 0;
    for (auto& c : m_str)
      if (c == from) {
        c = to;
        ++n;
      }
    return n;
  }
  CString& TrimLeft() {
    size_t i = 0;
    while (i < m_str.size() && iswspace(m_str[i])) ++i;
    m_str.erase(0, i);
    return *this;
  }
  CString& TrimRight() {
    size_t n = m_str.size();
    while (n > 0 && iswspace(m_str[n - 1])) --n;
    m_str.erase(n);
    return *this;
  }
  CString& Trim() {
    TrimRight();
    return TrimLeft();
  }
  void Delete(int index, int count = 1) {
    if (index < 0 || index >= GetLength() || count <= 0) return;
    m_str.erase(static_cast<size_t>(index), static_cast<size_t>(count));
  }

  // printf-style formatting with the C runtime's wide conversions ("%04d", "%2.2s" ...).
  void Format(const wchar_t* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    FormatV(fmt, args);
    va_end(args);
  }
  void FormatV(const wchar_t* fmt, va_list args) {
    wchar_t buf[256];
    va_list copy;
    va_copy(copy, args);
    int n = _vsnwprintf(buf, 256, fmt, copy);
    va_end(copy);
    if (n >= 0 && n < 256) {
      m_str.assign(buf, static_cast<size_t>(n));
      return;
    }
    std::wstring big(4096, L'\0');
    n = _vsnwprintf(&big[0], big.size(), fmt, args);
    big.resize(n > 0 ? static_cast<size_t>(n) : 0);
    m_str.swap(big);
  }

  // A BSTR copy for automation callers, who free it.
  BSTR AllocSysString() const { return SysAllocStringLen(m_str.data(), static_cast<UINT>(m_str.size())); }

private:
  std::wstring m_str;
};

// Digit reading used for every group of a value: leading blanks skipped, an optional
// sign, digits up to the first non-digit; 0 when there is none.
inline int ReadDecimal(const wchar_t* text) { return text ? _wtoi(text) : 0; }

// A text is shown in a window only when the number it starts with is non-zero.
inline bool ReadsNonZero(const wchar_t* text) { return ReadDecimal(text) != 0; }
