#include "favoritefolders.h"

#include <windows.h>

#include <strings.h>

#include <cctype>

#include "files.h"
#include "utf8text.h"
#include "widefile.h"

namespace vm {
namespace {

std::string fullPath(const std::string& path) {
    std::string full = procGetFullPath(path);
    while (full.size() > 3 && full.back() == '\\') full.pop_back();
    return full;
}

bool isLink(DWORD attributes) { return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT); }

} // namespace

bool IsValidFolderName(const std::string& name) {
    // Windows counts a name's length in UTF-16 units, not in bytes.
    if (name.empty() || WideText(name).size() > 240) return false;
    for (unsigned char c : name)
        if (c < 32 || std::string("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string::npos) return false;
    if (name.back() == '.' || name.back() == ' ') return false;
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL"})
        if (strcasecmp(stem.c_str(), device) == 0) return false;
    if (stem.size() == 4 && (strncasecmp(stem.c_str(), "COM", 3) == 0 || strncasecmp(stem.c_str(), "LPT", 3) == 0) &&
        stem[3] >= '1' && stem[3] <= '9')
        return false;
    return true;
}

bool SamePath(const std::string& a, const std::string& b) {
    const std::string fa = fullPath(a), fb = fullPath(b);
    return !fa.empty() && SameText(fa, fb);
}

bool IsFolderInside(const std::string& path, const std::string& home) {
    const std::string full = fullPath(path), base = fullPath(home);
    if (full.empty() || base.empty() || full.size() <= base.size() + 1) return false;
    if (!StartsWithText(full, base) || full[base.size()] != '\\') return false;
    const DWORD attributes = wide::Attributes(full);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    // Every folder between home and the target is a real folder: a link on
    // the way would lead out of the tree.
    for (std::string::size_type at = full.find('\\', base.size() + 1); at != std::string::npos;
         at = full.find('\\', at + 1))
        if (isLink(wide::Attributes(full.substr(0, at)))) return false;
    return true;
}

bool IsFavoriteFile(const std::string& file, const std::string& home) {
    const std::string full = fullPath(file), base = fullPath(home);
    if (home.empty() || full.empty() || base.empty() || full.size() <= base.size() + 1) return false;
    return StartsWithText(full, base) && full[base.size()] == '\\';
}

} // namespace vm
