#include "WholeFile.h"

#include "fxhandle.h"

FileRead ReadWholeFile(const std::wstring& path, ULONGLONG maxBytes, std::vector<BYTE>& bytes) {
  CFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return FileRead::CannotOpen;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.Get(), &size) || static_cast<ULONGLONG>(size.QuadPart) > maxBytes)
    return FileRead::CannotRead;
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) || got != bytes.size())
    return FileRead::CannotRead;
  return FileRead::Done;
}

bool WriteWholeFile(const std::wstring& path, const void* data, size_t size) {
  CFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.Get(), data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}
