#include "safereplace.h"

#include <windows.h>

#include "writekill.h"
#include "widefile.h"

namespace vm {

namespace {

WriteResult failed(DWORD code) { return {false, writeErrorReason(code)}; }
WriteResult failedNow() { return failed(GetLastError()); }
const WriteResult kDone{true, {}};

bool hasContent(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return wide::AttributeData(path, data) &&
           (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0);
}

bool missing(DWORD code) { return code == ERROR_FILE_NOT_FOUND; }

// An interrupted write leaves only its temporary file, which may carry the
// attributes of the file it was to replace.
void removeLeftover(const std::string& temporary) {
    if (wide::Attributes(temporary) == INVALID_FILE_ATTRIBUTES) return;
    wide::SetAttributes(temporary, FILE_ATTRIBUTE_NORMAL);
    removeUserFile(temporary);
}

} // namespace

std::string temporaryFor(const std::string& target) { return target + ".vm-new"; }

WriteResult checkReplaceable(const std::string& path) {
    const DWORD attributes = wide::Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return missing(GetLastError()) ? kDone : failedNow();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return {false, "a folder has that name"};
    // A read-only file is the user's to keep, whatever the file system would allow.
    if (attributes & FILE_ATTRIBUTE_READONLY) return {false, "the file is read-only"};
    HANDLE file = wide::Open(path, GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING, 0);
    if (file == INVALID_HANDLE_VALUE) return failedNow();
    CloseHandle(file);
    return kDone;
}

WriteResult checkFolderWritable(const std::string& folder) {
    const DWORD attributes = wide::Attributes(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return failed(ERROR_PATH_NOT_FOUND);
    HANDLE handle = wide::Open(folder, FILE_WRITE_ATTRIBUTES | FILE_ADD_FILE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
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
    const DWORD replaced = wide::Attributes(target_);
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
    if (!backupPath.empty() && wide::Attributes(target_) != INVALID_FILE_ATTRIBUTES) {
        // A copy, not a move: the target never goes missing.
        const WriteResult backup = writeThroughTemporary(
            backupPath, [&](const std::string& temp) { return wide::Copy(target_, temp, false); },
            {}, true);
        if (!backup) return {false, "its backup " + backupPath + " could not be replaced (" + backup.reason + ")"};
    }
    if (const WriteResult moved = moveUserFile(temporaryFor(target_), target_); !moved) return moved;
    written_ = false;
    return kDone;
}

bool writeFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = wide::Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
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
    if (!wide::Move(from, to, MOVEFILE_REPLACE_EXISTING)) return failedNow();
    AfterOwnedWrite();
    return kDone;
}

WriteResult removeUserFile(const std::string& path) {
    if (!wide::Delete(path)) return missing(GetLastError()) ? kDone : failedNow();
    AfterOwnedWrite();
    return kDone;
}

WriteResult setUserAttributes(const std::string& path, unsigned long attributes) {
    if (!wide::SetAttributes(path, attributes ? attributes : FILE_ATTRIBUTE_NORMAL)) return failedNow();
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
