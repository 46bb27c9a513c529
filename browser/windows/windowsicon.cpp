#include "windowsicon.h"

#include <strings.h>

#include "chunkcell.h"
#include "librarychunks.h"

namespace vm {
namespace {

bool startsWithNoCase(const std::string& text, size_t length, const char* name) {
    return text.size() >= length && std::char_traits<char>::length(name) == length &&
           strncasecmp(text.c_str(), name, length) == 0;
}

} // namespace

bool IsAnimatedName(const std::string& file) {
    return file.size() >= 3 && strcasecmp(file.c_str() + file.size() - 3, "ani") == 0;
}

HICON WindowsFileIcon(PageLoaderState& loader, int iconSize, const std::string& file) {
    // No file (a shortcut that could not be read) must not reach the shell,
    // which may take an empty name for a module of its own.
    if (file.empty()) return nullptr;
    return FileItemIcon(loader, iconSize, file);
}

Picture ItemPicture(HICON icon, int iconSize) {
    return Picture::fromIcon(icon ? icon : IconFromCell(NoIconCell(iconSize)));
}

std::string ExpandLeadingVariable(const std::string& text, const std::string& windowsDir) {
    if (text.size() < 3) return text;
    const size_t close = text.find('%', 2);
    if (close == std::string::npos) return text;
    const size_t p = close + 1; // the variable with both its marks
    if (startsWithNoCase(text, p, "%systemroot%")) return windowsDir + text.substr(p);
    if (startsWithNoCase(text, p, "%systemdrive%")) return windowsDir.substr(0, 2) + text.substr(p);
    if (startsWithNoCase(text, p + 1, "%%systemroot%%")) return windowsDir + text.substr(p + 1);
    return text;
}

} // namespace vm
