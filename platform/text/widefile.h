#pragma once
// File calls for UTF-8 paths of any length. The ANSI calls convert a path into a buffer of
// MAX_PATH characters and fail on a longer one, even where the system itself takes it; the wide
// calls take a path as long as the system allows.
#include <windows.h>

#include <string>

namespace vm::wide {

DWORD Attributes(const std::string& path); // INVALID_FILE_ATTRIBUTES when there is none
bool AttributeData(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data);
bool SetAttributes(const std::string& path, DWORD attributes);
HANDLE Open(const std::string& path, DWORD access, DWORD share, DWORD creation, DWORD flags);
bool Delete(const std::string& path);
bool Move(const std::string& from, const std::string& to, DWORD flags);
bool Copy(const std::string& from, const std::string& to, bool failIfThere);
bool MakeFolder(const std::string& path);
bool RemoveFolder(const std::string& path);

// Whether the path is longer than the calls that still take MAX_PATH characters (a common
// dialog, the shell's icon extraction) can hold.
bool TooLongForOldCalls(const std::string& path);

} // namespace vm::wide
