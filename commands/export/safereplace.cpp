#include "safereplace.h"

#include <windows.h>

#include "temporaryname.h"

namespace vm {

bool writeThroughTemporary(const std::string& target, const std::function<bool(const std::string&)>& write) {
    const std::size_t slash = target.find_last_of('\\');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string temporary = NewTemporaryFileIn(folder, "vm");
    if (temporary.empty()) return false;
    bool ok = write(temporary);
    if (ok) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ok = GetFileAttributesExA(temporary.c_str(), GetFileExInfoStandard, &data) &&
             (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0);
    }
    // A read-only file is the user's to keep, whatever the file system would allow.
    const DWORD existing = GetFileAttributesA(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        ok = false;
    ok = ok && MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
    if (!ok) DeleteFileA(temporary.c_str());
    return ok;
}

} // namespace vm
