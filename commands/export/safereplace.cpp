#include "safereplace.h"

#include <windows.h>

namespace vm {

bool writeThroughTemporary(const std::string& target, const std::function<bool(const std::string&)>& write) {
    const std::size_t slash = target.find_last_of('\\');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    char temporary[MAX_PATH] = {};
    if (!GetTempFileNameA(folder.c_str(), "vm", 0, temporary)) return false;
    bool ok = write(temporary);
    if (ok) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ok = GetFileAttributesExA(temporary, GetFileExInfoStandard, &data) &&
             (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0);
    }
    // A read-only file is the user's to keep, whatever the file system would allow.
    const DWORD existing = GetFileAttributesA(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        ok = false;
    ok = ok && MoveFileExA(temporary, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
    if (!ok) DeleteFileA(temporary);
    return ok;
}

} // namespace vm
