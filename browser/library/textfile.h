#pragma once
// Plain text files of one record a line, ended by CR LF: written in UTF-8 without a byte-order
// mark; one written before in the system's ANSI code page is read as such.
#include <string>
#include <vector>

namespace vm {

// The lines of the file (a CR LF, a lone CR or a lone LF ends a line; a last
// line without an ending counts). False when the file cannot be read.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);

// The lines, each followed by CR LF, as one text.
std::string JoinTextLines(const std::vector<std::string>& lines);

enum class ReplaceResult { Written, BackupBlocked, Failed };

// Replaces path with content without ever leaving a half-written file: the text
// goes to a temporary file beside it first; then the previous backup is deleted,
// the old file becomes the backup and the temporary file takes the name.
// BackupBlocked: an old backup could not be removed, nothing was changed.
ReplaceResult ReplaceWithBackup(const std::string& path, const std::string& backupPath, const std::string& content,
                                std::string& error);

} // namespace vm
