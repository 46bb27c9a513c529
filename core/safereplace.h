#pragma once
// Every file of the user's that the program writes (exports, the keyword and
// reference files, desktop.ini, folder.ico) is written to a temporary file
// beside the target and moved over it in one rename only once complete, so
// that whenever the program stops, even killed, the target is either the whole
// old file or the whole new one. The temporary file is named after its target,
// so the next write of that target (or clearUnfinishedWrite) removes one that
// a stopped program left. Every change of a user's file or folder made here,
// and only here, counts as one write for vm::AfterOwnedWrite().
#include <functional>
#include <optional>
#include <string>

namespace vm {

// What became of a write: ok, or the reason it failed in words a user reads
// ("the disk is full", "the file is read-only" ...).
struct WriteResult {
    bool ok = false;
    std::string reason;
    explicit operator bool() const { return ok; }
};

// The file a write of target goes through before it takes the target's place.
std::string temporaryFor(const std::string& target);

// ok when a write could replace the file at path, or make it where there is
// none: not a folder, not read-only, not in use, open to writing.
WriteResult checkReplaceable(const std::string& path);
// ok when the folder exists and its attributes can be set.
WriteResult checkFolderWritable(const std::string& folder);

// A new content of a user's file, written beside it now and put in its place
// later, by commit(); dropped (its temporary file removed) when not committed.
class StagedFile {
public:
    explicit StagedFile(std::string target);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // write(temporary) writes the file and tells whether it succeeded; a write
    // that reports success but leaves an empty file counts as failed unless
    // emptyAllowed. The file takes the attributes given, or else those of the
    // file it will replace. Fails when the target cannot be replaced
    // (checkReplaceable), the folder cannot take a file or the write fails.
    WriteResult write(const std::function<bool(const std::string&)>& write, bool emptyAllowed = false,
                      std::optional<unsigned long> attributes = std::nullopt);
    // Moves the written file over the target. With a backupPath a copy of the
    // file it replaces first takes that name (through a temporary file of its
    // own, so the previous backup too is whole until then).
    WriteResult commit(const std::string& backupPath = {});

private:
    std::string target_;
    bool written_ = false;
};

// Writes bytes as the whole file at path (a write for StagedFile::write).
bool writeFileBytes(const std::string& path, const std::string& bytes);

// Writes and commits at once. A replaced file keeps its attributes.
WriteResult writeThroughTemporary(const std::string& target, const std::function<bool(const std::string&)>& write,
                                  const std::string& backupPath = {}, bool emptyAllowed = false);

// Moves a user's file to another name in its folder, replacing a file there.
WriteResult moveUserFile(const std::string& from, const std::string& to);
// Removes a user's file; ok when there is none.
WriteResult removeUserFile(const std::string& path);
// Sets the attributes of a user's file or folder.
WriteResult setUserAttributes(const std::string& path, unsigned long attributes);
// Removes the temporary files a stopped write of target (and of its backup) left.
void clearUnfinishedWrite(const std::string& target, const std::string& backupPath = {});

// The reason for a Windows error code, as the writes give it.
std::string writeErrorReason(unsigned long code);

// "The file <file> could not be written: <reason>."
std::string writeFailureText(const std::string& file, const WriteResult& result);

} // namespace vm
