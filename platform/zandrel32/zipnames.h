// Member names as paths. A name comes from the archive and is never trusted:
// only a plain relative path that Windows keeps exactly as written is ever
// listed or written.
#pragma once
#include <string>

namespace zandrel {

// The member name as a relative Windows path with "\" between folders, or ""
// when the name is unsafe: empty, absolute, with a drive, a "." or ".."
// step, an empty step, a character Windows refuses in file names (":" and
// "|" among them, so a listed name never splits a listing line), a step
// ending in a dot or blank (Windows would drop it), or a device name.
std::string safeRelativePath(const std::string& memberName);

// The path with "\\" between folders, whichever separator the archive used.
std::string backslashed(const std::string& path);
// The part after the last separator (the whole path when there is none).
std::string fileNamePart(const std::string& path);

} // namespace zandrel
