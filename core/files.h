#pragma once
// Small helpers on paths and files used all over the program. Paths are ANSI
// texts with backslashes.
#include <windows.h>

#include <string>
#include <vector>

namespace vm {

// True when the path can be opened as a file for reading (a folder cannot).
bool procFileExists(const std::string& path);
// The part after the last backslash; "" when the path has none or ends in one.
std::string procGetFileName(const std::string& path);
// Cuts path back to its last backslash (inclusive) and returns it; "" when
// there is no backslash.
std::string procGetFolder(std::string& path);
// Every component in its stored case and long form; a network path comes back
// unchanged, a trailing "\" stays (exactly one), a drive root stays the root,
// and a component that does not exist gives "".
std::string procGetLongPath(const std::string& path);
// The short (8.3) form; "" for a path that does not exist.
std::string procGetShortPath(const std::string& path);
// Renames source to target when source exists and target does not. The
// source is only ever removed by a successful move (deleteSource asks for
// nothing more than that); a failed move leaves it where it was. Errors other
// than a missing source or an existing target are shown in the standard error report.
void procRenameFile(const std::string& source, const std::string& target, bool deleteSource);
// Deletes path only when it lies directly in WindowsDir & "\Icons\" (spelt as
// WindowsDir is) and exists; files anywhere else are never touched.
void procDeleteChangedIconFile(const std::string& path);
// The shell's properties sheet for a file; "File <file> not found." when the
// shell cannot show it.
void procShowFileProperties(const std::string& file, HWND owner);
// The major product version of a file as decimal text, or "".
std::string procGetFileMajorVersion(const std::string& file);
// The absolute form of a path, however long its name in any language; "" when Windows
// cannot make one.
std::string procGetFullPath(const std::string& path);
// One entry of a folder as the directory search finds it.
struct FolderEntry {
    std::string name;
    DWORD attributes = 0;
    FILETIME lastWrite{};
    FILETIME created{};
    bool isFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // A reparse point (symbolic link, junction, mount point) leads out of the tree.
    bool isLink() const { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
};
// The entries a search pattern ("C:\\icons\\*.ico") finds, "." and ".." left out, every name
// whole however long it is in UTF-8 (the ANSI search cuts a name at 259 bytes).
std::vector<FolderEntry> procListFolder(const std::string& pattern);
// Deletes folder (a trailing "\" or none) and everything below it. A link or
// junction, the folder itself or one met inside, is removed itself; what it
// points at is never touched. "" on success, else why it failed (what is left
// stays in place).
std::string RemoveFolderTree(const std::string& folder);
// Cuts text before its first NUL and returns it.
std::string procTrimNull(std::string& text);

} // namespace vm
