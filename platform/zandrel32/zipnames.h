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

// Whether two member paths name the same file: either separator, case
// ignored, as Windows compares file names.
bool samePath(const std::string& a, const std::string& b);
// The path as samePath compares it: "\\" between folders, lower case.
std::string pathKey(const std::string& path);
// The part after the last separator (the whole path when there is none).
std::string fileNamePart(const std::string& path);

} // namespace zandrel
