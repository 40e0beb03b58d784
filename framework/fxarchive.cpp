#include "fxarchive.h"

#include <cstring>

CArchive::CArchive(std::vector<BYTE>& data, Mode mode, size_t writeLimit)
    : m_data(data), m_mode(mode), m_writeLimit(writeLimit) {}

CArchive& CArchive::Write(const void* p, size_t n) {
  if (m_data.size() + n > m_writeLimit) throw CArchiveException(CArchiveException::writeFailed);
  const BYTE* b = static_cast<const BYTE*>(p);
  m_data.insert(m_data.end(), b, b + n);
  return *this;
}

CArchive& CArchive::Read(void* p, size_t n) {
  if (m_data.size() - m_pos < n) {
    m_pos = m_data.size();
    throw CArchiveException(CArchiveException::endOfFile);
  }
  std::memcpy(p, m_data.data() + m_pos, n);
  m_pos += n;
  return *this;
}

void AfxWriteStringLength(CArchive& ar, ULONGLONG length, BOOL wide) {
  if (wide) ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFE);
  if (length < 0xFF) {
    ar << static_cast<BYTE>(length);
  } else if (length < 0xFFFE) {
    ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(length);
  } else if (length < 0xFFFFFFFF) {
    ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(length);
  } else {
    ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(0xFFFFFFFF) << length;
  }
}

ULONGLONG AfxReadStringLength(CArchive& ar, int& charSize) {
  charSize = 1;
  BYTE b;
  ar >> b;
  if (b < 0xFF) return b;
  WORD w;
  ar >> w;
  if (w == 0xFFFE) {
    charSize = 2;
    ar >> b;
    if (b < 0xFF) return b;
    ar >> w;
  }
  if (w < 0xFFFF) return w;
  DWORD d;
  ar >> d;
  if (d < 0xFFFFFFFF) return d;
  ULONGLONG q;
  ar >> q;
  return q;
}

CArchive& CArchive::operator<<(const CString& s) {
  AfxWriteStringLength(*this, static_cast<ULONGLONG>(s.GetLength()), TRUE);
  return Write(s.GetString(), static_cast<size_t>(s.GetLength()) * sizeof(wchar_t));
}

CArchive& CArchive::operator>>(CString& s) {
  int charSize = 1;
  ULONGLONG length = AfxReadStringLength(*this, charSize);
  // A length whose bytes cannot be held fails before any character is read.
  if (length > (static_cast<ULONGLONG>(SIZE_MAX) / 2) / static_cast<ULONGLONG>(charSize) ||
      length > static_cast<ULONGLONG>(INT_MAX))
    throw CMemoryException();
  size_t n = static_cast<size_t>(length);
  if (n * static_cast<size_t>(charSize) > Remaining()) {
    m_pos = m_data.size();
    throw CArchiveException(CArchiveException::endOfFile);
  }
  if (charSize == 2) {
    std::wstring w(n, L'\0');
    if (n) Read(&w[0], n * sizeof(wchar_t));
    s = CString(w);
  } else {
    std::string a(n, '\0');
    if (n) Read(&a[0], n);
    int wn = n ? MultiByteToWideChar(CP_ACP, 0, a.data(), static_cast<int>(n), nullptr, 0) : 0;
    std::wstring w(static_cast<size_t>(wn), L'\0');
    if (wn) MultiByteToWideChar(CP_ACP, 0, a.data(), static_cast<int>(n), &w[0], wn);
    s = CString(w);
  }
  return *this;
}
