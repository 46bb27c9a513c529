#include "saveasnaming.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <string_view>

namespace vm::exportnaming {

namespace {

bool same(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

bool anyOf(const std::string& text, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return same(text, n); });
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string tail(const std::string& s, std::size_t n) { return s.size() > n ? s.substr(s.size() - n) : s; }

bool isAnimationText(const std::string& t) {
    return anyOf(t, {"16 Color Animation", "256 Color Animation", "High Color Animation", "Animated Icon",
                     "Animated Cursor"});
}

bool isCursorText(const std::string& t) {
    return anyOf(t, {"16 Color Cursor", "256 Color Cursor", "High Color Cursor", "Current Cursor", "Theme Cursor"});
}

// The right double quotation mark, a character of three bytes: its last byte alone is part of
// many other letters ("Ô").
constexpr const char* kRightQuote = "”";

} // namespace

DialogChoice dialogChoiceFor(int iconSize, bool detailPane, const std::string& typePanelText,
                             const std::string& itemTypeText) {
    if (iconSize != 32 || detailPane) return {FilterSet::Icon, 1, "ico"};
    if (isAnimationText(typePanelText)) return {FilterSet::Animation, 4, "ani"};
    if (isCursorText(itemTypeText)) return {FilterSet::Cursor, 2, "cur"};
    return {FilterSet::Cursor, 1, "ico"};
}

const char* filterText(FilterSet set) {
    switch (set) {
    case FilterSet::Animation:
        return "Icon (*.ico)|*.ico|Cursor (*.cur)|*.cur|Bitmap (*.bmp)|*.bmp|Animated icon (*.ani)|*.ani|"
               "Seperate icons (*.ico)|*.ico|Compuserve GIF (*.gif)|*.gif|JPEG (*.jpg)|*.jpg";
    case FilterSet::Cursor:
        return "Icon (*.ico)|*.ico|Cursor (*.cur)|*.cur|Bitmap (*.bmp)|*.bmp|Compuserve GIF (*.gif)|*.gif|"
               "JPEG (*.jpg)|*.jpg";
    case FilterSet::Icon:
    default:
        return "Icon (*.ico)|*.ico|Bitmap (*.bmp)|*.bmp|Compuserve GIF (*.gif)|*.gif|JPEG (*.jpg)|*.jpg";
    }
}

ForcedExtension forcedExtension(FilterSet set, int filterIndex) {
    static const char* const animation[] = {".ico", ".cur", ".bmp", ".ani", ".ico", ".gif", ".jpg"};
    static const char* const cursor[] = {".ico", ".cur", ".bmp", ".gif", ".jpg"};
    static const char* const icon[] = {".ico", ".bmp", ".gif", ".jpg"};
    const char* const* table = icon;
    int size = 4;
    if (set == FilterSet::Animation) table = animation, size = 7;
    if (set == FilterSet::Cursor) table = cursor, size = 5;
    if (filterIndex < 1 || filterIndex > size) return {};
    return {table[filterIndex - 1], set == FilterSet::Animation && filterIndex == 5};
}

std::string withExtension(const std::string& fileName, const std::string& extension) {
    if (extension.empty() || lower(tail(fileName, 4)) == lower(extension)) return fileName;
    return fileName + extension;
}

std::string suggestedName(const std::string& itemText) { return itemText.substr(0, itemText.find('.')); }

std::string withoutForbiddenCharacters(const std::string& name) {
    std::string kept;
    for (char ch : name)
        if (std::string_view("\\/:*?\"<>|").find(ch) == std::string_view::npos) kept += ch;
    return kept;
}

bool hasIllegalFavoriteCharacter(const std::string& name) {
    return name.find_first_of("?/\\<>*|:;") != std::string::npos || name.find(kRightQuote) != std::string::npos;
}

std::string illegalCharactersMessage() {
    return std::string("The Favorite Name contains illegal characters, do not use ?") + kRightQuote +
           "/\\<>*|:; characters. Please specify the Favorite Name";
}

std::string favoriteExtension(const std::string& itemTypeText) {
    if (anyOf(itemTypeText, {"16 Color Animation", "256 Color Animation", "High Color Animation"})) return ".ani";
    if (isCursorText(itemTypeText)) return ".cur";
    return ".ico";
}

std::string favoritesTargetFolder(const std::string& favoritesFolder, const std::string& nodeKey) {
    std::string folder = favoritesFolder;
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    if (nodeKey.size() < 6 || strncasecmp(nodeKey.c_str(), "favori", 6) != 0) return folder;
    std::string below = nodeKey.substr(6);
    while (!below.empty() && below.front() == '\\') below.erase(0, 1);
    while (!below.empty() && below.back() == '\\') below.pop_back();
    return below.empty() ? folder : folder + "\\" + below;
}

std::string startFolderOf(const std::string& storedPath, bool isFolder) {
    if (isFolder) return storedPath;
    const std::size_t slash = storedPath.find_last_of('\\');
    return slash == std::string::npos ? storedPath : storedPath.substr(0, slash);
}

Writer writerFor(const std::string& fileName) {
    const std::string key = lower(tail(fileName, 3));
    if (key == "bmp") return Writer::Bmp;
    if (key == "ico") return Writer::Ico;
    if (key == "cur") return Writer::Cur;
    if (key == "ani") return Writer::Ani;
    if (key == "jpg") return Writer::Jpg;
    if (key == "gif") return Writer::Gif;
    return Writer::None;
}

} // namespace vm::exportnaming
