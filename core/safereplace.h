#pragma once
// Every file of the user's that the program writes (exports, the keyword and
// reference files, desktop.ini) is written to a fresh temporary file in the
// target's folder and moved over the target only once complete, so a failed
// write leaves an existing file as it was and nothing half-written behind.
#include <functional>
#include <string>

namespace vm {

// What became of a write: ok, or the reason it failed in words a user reads
// ("the disk is full", "the file is read-only" ...).
struct WriteResult {
    bool ok = false;
    std::string reason;
    explicit operator bool() const { return ok; }
};

// write(temporary) writes the file and tells whether it succeeded; a write
// that reports success but leaves an empty file counts as failed unless
// emptyAllowed. Fails when the folder cannot take a file, the write fails or
// the target cannot be replaced (read-only, or in use). A replaced file keeps
// its attributes. With a backupPath the previous file takes that name (an older
// backup goes first); a backup that cannot be removed stops the write.
WriteResult writeThroughTemporary(const std::string& target, const std::function<bool(const std::string&)>& write,
                                  const std::string& backupPath = {}, bool emptyAllowed = false);

// The reason for a Windows error code, as writeThroughTemporary gives it.
std::string writeErrorReason(unsigned long code);

// "The file <file> could not be written: <reason>."
std::string writeFailureText(const std::string& file, const WriteResult& result);

} // namespace vm
