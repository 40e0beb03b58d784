// Whole files read into and written from memory in one call each: the form file, script
// files and the headless session's transcript.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

enum class FileRead { Done, CannotOpen, CannotRead };

// Reads the file at path into bytes; a file longer than maxBytes counts as unreadable.
FileRead ReadWholeFile(const std::wstring& path, ULONGLONG maxBytes, std::vector<BYTE>& bytes);
// Creates or replaces the file at path with size bytes from data.
bool WriteWholeFile(const std::wstring& path, const void* data, size_t size);
