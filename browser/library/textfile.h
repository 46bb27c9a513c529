#pragma once
// Plain text files of one record a line, ended by CR LF: written in UTF-8 without a byte-order
// mark; one written before in the system's ANSI code page is read as such.
#include <string>
#include <vector>

#include "safereplace.h"

namespace vm {

// The lines of the file (a CR LF, a lone CR or a lone LF ends a line; a last
// line without an ending counts). False when the file cannot be read.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);

// The lines, each followed by CR LF, as one text.
std::string JoinTextLines(const std::vector<std::string>& lines);

// Replaces path with content through a temporary file beside it (the one
// helper every writer of the user's files uses): the previous file becomes
// backupPath once the new one is whole.
WriteResult ReplaceWithBackup(const std::string& path, const std::string& backupPath, const std::string& content);

} // namespace vm
