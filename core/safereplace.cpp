#include "safereplace.h"

#include <windows.h>

#include "temporaryname.h"

namespace vm {

namespace {

WriteResult failed(DWORD code) { return {false, writeErrorReason(code)}; }

bool hasContent(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
           (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0);
}

// Moves the finished temporary file into place; the previous file becomes the
// backup when one is asked for.
WriteResult putInPlace(const std::string& temporary, const std::string& target, const std::string& backupPath,
                       DWORD attributes) {
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (existed && !backupPath.empty()) {
        if (!DeleteFileA(backupPath.c_str()) && GetFileAttributesA(backupPath.c_str()) != INVALID_FILE_ATTRIBUTES)
            return {false, "its backup " + backupPath + " could not be replaced"};
        if (!MoveFileA(target.c_str(), backupPath.c_str())) return failed(GetLastError());
        if (!MoveFileA(temporary.c_str(), target.c_str())) {
            const DWORD code = GetLastError();
            MoveFileA(backupPath.c_str(), target.c_str());
            return failed(code);
        }
    } else if (!MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        return failed(GetLastError());
    }
    // A hidden desktop.ini or keyword file stays hidden.
    if (existed && attributes != FILE_ATTRIBUTE_NORMAL) SetFileAttributesA(target.c_str(), attributes);
    return {true, {}};
}

} // namespace

std::string writeErrorReason(unsigned long code) {
    switch (code) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return "the disk is full";
    case ERROR_ACCESS_DENIED:
    case ERROR_NETWORK_ACCESS_DENIED: return "there is no permission to write it";
    case ERROR_WRITE_PROTECT: return "the disk is write-protected";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY: return "the folder does not exist";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return "the file is in use";
    default: break;
    }
    return code ? "Windows error " + std::to_string(code) : "the file could not be written whole";
}

WriteResult writeThroughTemporary(const std::string& target, const std::function<bool(const std::string&)>& write,
                                  const std::string& backupPath, bool emptyAllowed) {
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {false, "a folder has that name"};
    // A read-only file is the user's to keep, whatever the file system would allow.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return {false, "the file is read-only"};

    const std::size_t slash = target.find_last_of('\\');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string temporary = NewTemporaryFileIn(folder, "vm");
    if (temporary.empty()) return failed(GetLastError());
    SetLastError(0);
    WriteResult result{true, {}};
    if (!write(temporary)) result = failed(GetLastError());
    else if (!emptyAllowed && !hasContent(temporary)) result = failed(0);
    if (result.ok) result = putInPlace(temporary, target, backupPath, attributes);
    if (!result.ok) DeleteFileA(temporary.c_str());
    return result;
}

std::string writeFailureText(const std::string& file, const WriteResult& result) {
    return "The file " + file + " could not be written: " + result.reason + ".";
}

} // namespace vm
