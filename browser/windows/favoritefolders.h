#pragma once
// The favourites folder on disk: which names a new folder may take, and
// whether a path lies inside the favourites tree (RemoveFolderTree, files.h,
// removes a folder of it).
#include <string>

namespace vm {

// A name Windows accepts for a folder: not empty, no character it forbids
// (control characters and \ / : * ? " < > |), not ending in a dot or blank,
// and no device name (CON, NUL, COM1 ...).
bool IsValidFolderName(const std::string& name);

// Whether path names an existing folder strictly inside home, reached without
// passing a link or junction. Both are made full paths first.
bool IsFolderInside(const std::string& path, const std::string& home);

// Whether file lies in the favourites tree home; an empty home holds nothing.
bool IsFavoriteFile(const std::string& file, const std::string& home);

// Two paths of one file or folder (full paths compared without regard to case).
bool SamePath(const std::string& a, const std::string& b);

} // namespace vm
