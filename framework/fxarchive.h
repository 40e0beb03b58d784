// A byte archive over memory, with MFC's little-endian fields and its string-length
// encoding, so that stored forms read the same in every tool that speaks it.
#pragma once

#include "fx.h"

#include <vector>

class FX_API CArchiveException {
public:
  enum Cause { none, generic, endOfFile, writeFailed, badSchema };
  explicit CArchiveException(Cause c) : m_cause(c) {}
  Cause m_cause;
};

class FX_API CMemoryException {};

class FX_API CArchive {
public:
  enum Mode { store = 0, load = 1 };
  // A storing archive writes into data; a loading archive reads it from the start.
  CArchive(std::vector<BYTE>& data, Mode mode, size_t writeLimit = static_cast<size_t>(-1));
  bool IsStoring() const { return m_mode == store; }

  CArchive& operator<<(BYTE v) { return Write(&v, 1); }
  CArchive& operator<<(WORD v) { return Write(&v, 2); }
  CArchive& operator<<(short v) { return Write(&v, 2); }
  CArchive& operator<<(LONG v) { return Write(&v, 4); }
  CArchive& operator<<(DWORD v) { return Write(&v, 4); }
  CArchive& operator<<(int v) { return Write(&v, 4); }
  CArchive& operator<<(ULONGLONG v) { return Write(&v, 8); }
  CArchive& operator<<(const CString& s);

  CArchive& operator>>(BYTE& v) { return Read(&v, 1); }
  CArchive& operator>>(WORD& v) { return Read(&v, 2); }
  CArchive& operator>>(short& v) { return Read(&v, 2); }
  CArchive& operator>>(LONG& v) { return Read(&v, 4); }
  CArchive& operator>>(DWORD& v) { return Read(&v, 4); }
  CArchive& operator>>(int& v) { return Read(&v, 4); }
  CArchive& operator>>(ULONGLONG& v) { return Read(&v, 8); }
  CArchive& operator>>(CString& s);

  CArchive& Write(const void* p, size_t n);
  CArchive& Read(void* p, size_t n);
  size_t Position() const { return m_pos; }
  size_t Remaining() const { return m_mode == load ? m_data.size() - m_pos : 0; }

private:
  std::vector<BYTE>& m_data;
  Mode m_mode;
  size_t m_pos = 0;
  size_t m_writeLimit;
};

// MFC's string-length prefix: the wide tag 0xFF 0xFFFE, then 1, 2, 4 or 8 bytes of length.
FX_API void AfxWriteStringLength(CArchive& ar, ULONGLONG length, BOOL wide);
// Returns the length in characters; charSize becomes 1 (narrow) or 2 (wide).
FX_API ULONGLONG AfxReadStringLength(CArchive& ar, int& charSize);
