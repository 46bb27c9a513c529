#include "safereplace.h"

#include <windows.h>

#include "writekill.h"

namespace vm {

namespace {

WriteResult failed(DWORD code) { return {false, writeErrorReason(code)}; }
WriteResult failedNow() { return failed(GetLastError()); }
const WriteResult kDone{true, {}};

bool hasContent(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
           (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0);
}

bool missing(DWORD code) { return code == ERROR_FILE_NOT_FOUND; }

// An interrupted write leaves only its temporary file, which may carry the
// attributes of the file it was to replace.
void removeLeftover(const std::string& temporary) {
    if (GetFileAttributesA(temporary.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
    removeUserFile(temporary);
}

} // namespace

std::string temporaryFor(const std::string& target) { return target + ".vm-new"; }

WriteResult checkReplaceable(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return missing(GetLastError()) ? kDone : failedNow();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return {false, "a folder has that name"};
    // A read-only file is the user's to keep, whatever the file system would allow.
    if (attributes & FILE_ATTRIBUTE_READONLY) return {false, "the file is read-only"};
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return failedNow();
    CloseHandle(file);
    return kDone;
}

WriteResult checkFolderWritable(const std::string& folder) {
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return failed(ERROR_PATH_NOT_FOUND);
    HANDLE handle = CreateFileA(folder.c_str(), FILE_WRITE_ATTRIBUTES | FILE_ADD_FILE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return failedNow();
    CloseHandle(handle);
    return kDone;
}

StagedFile::StagedFile(std::string target) : target_(std::move(target)) {}

StagedFile::~StagedFile() {
    if (written_) removeLeftover(temporaryFor(target_));
}

WriteResult StagedFile::write(const std::function<bool(const std::string&)>& write, bool emptyAllowed,
                              std::optional<unsigned long> attributes) {
    if (const WriteResult replaceable = checkReplaceable(target_); !replaceable) return replaceable;
    const DWORD replaced = GetFileAttributesA(target_.c_str());
    const std::string temporary = temporaryFor(target_);
    removeLeftover(temporary);
    written_ = true;
    SetLastError(0);
    if (!write(temporary)) return failedNow();
    if (!emptyAllowed && !hasContent(temporary)) return failed(0);
    AfterOwnedWrite();
    // The attributes go with the file into place, in the same rename: a hidden
    // desktop.ini or keyword file is never seen unhidden.
    if (!attributes && replaced != INVALID_FILE_ATTRIBUTES) attributes = replaced & ~DWORD(FILE_ATTRIBUTE_NORMAL);
    if (attributes && *attributes & ~DWORD(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL)) {
        if (const WriteResult set = setUserAttributes(temporary, *attributes); !set) return set;
    }
    return kDone;
}

WriteResult StagedFile::commit(const std::string& backupPath) {
    if (!written_) return failed(0);
    if (!backupPath.empty() && GetFileAttributesA(target_.c_str()) != INVALID_FILE_ATTRIBUTES) {
        // A copy, not a move: the target never goes missing.
        const WriteResult backup = writeThroughTemporary(
            backupPath, [&](const std::string& temp) { return CopyFileA(target_.c_str(), temp.c_str(), FALSE) != 0; },
            {}, true);
        if (!backup) return {false, "its backup " + backupPath + " could not be replaced (" + backup.reason + ")"};
    }
    if (const WriteResult moved = moveUserFile(temporaryFor(target_), target_); !moved) return moved;
    written_ = false;
    return kDone;
}

bool writeFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size() && FlushFileBuffers(file);
    const DWORD code = GetLastError();
    CloseHandle(file);
    SetLastError(code);
    return ok;
}

WriteResult writeThroughTemporary(const std::string& target, const std::function<bool(const std::string&)>& write,
                                  const std::string& backupPath, bool emptyAllowed) {
    StagedFile staged(target);
    if (const WriteResult written = staged.write(write, emptyAllowed); !written) return written;
    return staged.commit(backupPath);
}

WriteResult moveUserFile(const std::string& from, const std::string& to) {
    if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return failedNow();
    AfterOwnedWrite();
    return kDone;
}

WriteResult removeUserFile(const std::string& path) {
    if (!DeleteFileA(path.c_str())) return missing(GetLastError()) ? kDone : failedNow();
    AfterOwnedWrite();
    return kDone;
}

WriteResult setUserAttributes(const std::string& path, unsigned long attributes) {
    if (!SetFileAttributesA(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL)) return failedNow();
    AfterOwnedWrite();
    return kDone;
}

void clearUnfinishedWrite(const std::string& target, const std::string& backupPath) {
    removeLeftover(temporaryFor(target));
    if (!backupPath.empty()) removeLeftover(temporaryFor(backupPath));
}

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
    case ERROR_FILENAME_EXCED_RANGE: return "the name is too long";
    default: break;
    }
    return code ? "Windows error " + std::to_string(code) : "the file could not be written whole";
}

std::string writeFailureText(const std::string& file, const WriteResult& result) {
    return "The file " + file + " could not be written: " + result.reason + ".";
}

} // namespace vm
