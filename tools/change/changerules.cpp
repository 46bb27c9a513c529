#include "changerules.h"
#include "utf8text.h"

#include <windows.h>

#include <cctype>
#include <cstdlib>

namespace vm::change {

namespace {

bool sameText(const std::string& a, const std::string& b) { return SameText(a, b); }

} // namespace

std::string changeTitle(const std::string& text) {
    const auto hash = text.find('#');
    if (hash == std::string::npos) return text;
    return hash == 0 ? std::string() : text.substr(0, hash - 1);
}

std::string fileTypeKey(const std::string& entry) {
    const auto star = entry.find('*');
    if (star == std::string::npos) return {};
    const auto semi = entry.find(';', star);
    // The letters between "*." and the ")" ahead of the ";".
    if (semi == std::string::npos || semi < star + 3) return {};
    std::string key = ".";
    key.append(entry, star + 2, semi - star - 3);
    key += ':';
    return key;
}

std::optional<std::string> findSystemIconRow(const std::vector<std::string>& rows, const std::string& text) {
    for (const std::string& row : rows)
        if (sameText(row.substr(0, row.find(';')), text)) return row;
    return std::nullopt;
}

std::optional<std::string> findFileTypeRow(const std::vector<std::string>& rows, const std::string& key) {
    if (key.empty()) return std::nullopt;
    for (const std::string& row : rows)
        if (row.size() >= key.size() && sameText(row.substr(0, key.size()), key)) return row;
    return std::nullopt;
}

std::string shortcutPath(const std::string& windowsDir, const std::string& folder, const std::string& name) {
    // The shortcut lister names the folder in full where it does not lie
    // below the Windows folder (a user's own desktop): then it is the place.
    const bool full = (folder.size() >= 2 && folder[1] == ':') || folder.rfind("\\\\", 0) == 0;
    if (!full) return windowsDir + "\\" + folder + "\\" + name + ".lnk";
    return folder + (folder.back() == '\\' ? "" : "\\") + name + ".lnk";
}

IconLocation splitIconLocation(const std::string& text) {
    IconLocation location;
    const auto comma = text.find(',');
    location.file = text.substr(0, comma);
    if (comma != std::string::npos) {
        const std::string number = text.substr(comma + 1);
        char* end = nullptr;
        const long value = std::strtol(number.c_str(), &end, 10);
        if (end != number.c_str()) location.index = static_cast<int>(value);
    }
    return location;
}

std::optional<FileTypeRow> parseFileTypeRow(const std::string& row) {
    const auto colon = row.find(':');
    if (colon == std::string::npos) return std::nullopt;
    const auto semi = row.find(';', colon);
    if (semi == std::string::npos) return std::nullopt;
    FileTypeRow parsed;
    parsed.fileClass = row.substr(colon + 1, semi - colon - 1);
    const auto next = row.find(';', semi + 1);
    parsed.iconLocation = row.substr(semi + 1, next == std::string::npos ? std::string::npos : next - semi - 1);
    parsed.icon = splitIconLocation(parsed.iconLocation);
    if (parsed.fileClass.empty()) return std::nullopt;
    return parsed;
}

std::string freeChangedIconName(const std::string& folder, const std::string& extension) {
    for (int n = 1; n <= 5000; ++n) {
        const std::string name = folder + std::to_string(n) + extension;
        if (GetFileAttributesA(name.c_str()) == INVALID_FILE_ATTRIBUTES) return name;
    }
    return {};
}

std::string keptValueName(const std::string& valueName) { return "VmDefault" + valueName; }

std::string changeBackupKey(const std::string& location) {
    std::string name = location;
    for (char& c : name)
        if (c == '\\') c = '/';
    return "Software\\Vellumar\\Settings\\Changes\\" + name;
}

} // namespace vm::change
