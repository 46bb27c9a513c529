#include "shellfolders.h"

#include <windows.h>
#include <shlobj.h>

namespace vm {

std::string cSpecialFolders::GetSpecialFolder(int csidl) const {
    PIDLIST_ABSOLUTE item = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, csidl, &item) != S_OK || !item) return {};
    char buffer[MAX_PATH] = {};
    bool found = SHGetPathFromIDListA(item, buffer) != FALSE;
    CoTaskMemFree(item);
    std::string path = found ? std::string(buffer) : std::string();
    if (path.empty()) return {};
    if (path.back() != '\\') path += '\\';
    return path;
}

cSpecialFolders& SpecialFolders() {
    static cSpecialFolders folders;
    return folders;
}

} // namespace vm
