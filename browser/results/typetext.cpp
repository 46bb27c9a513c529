#include "typetext.h"

#include <cctype>
#include <strings.h>

namespace vm {
namespace {

struct TypeRow {
    char code;
    const char* text;
    const char* picture;
};

constexpr TypeRow kTypes[] = {
    {'0', "16 Color Icon", "icon"},         {'1', "256 Color Icon", "icon"},
    {'2', "High Color Icon", "icon"},       {'3', "16 Color Animation", "typeani"},
    {'4', "256 Color Animation", "typeani"}, {'5', "High Color Animation", "typeani"},
    {'6', "16 Color Cursor", "cursor"},     {'7', "256 Color Cursor", "cursor"},
    {'8', "High Color Cursor", "cursor"},   {'a', "Animated Icon", "typeani"},
    {'g', "Animated Cursor", "typeani"},    {'d', "Icon Library", "library"},
    {'e', "Icon Library", "library"},       {'i', "Icon Library", "library"},
    {'s', "Shortcut Icon", "shortcut"},     {'c', "Current Cursor", "cursor"},
    {'t', "Theme Cursor", "cursor"},        {'f', "File Type Icon", "aso"},
    {'w', "System Icon", "system"},
};

bool inGroup(const std::string& text, std::initializer_list<const char*> group) {
    for (const char* member : group)
        if (strcasecmp(text.c_str(), member) == 0) return true;
    return false;
}

} // namespace

std::string TypeTextOf(const std::string& typeCode) {
    if (typeCode.size() != 1) return "Unknown";
    const char code = static_cast<char>(std::tolower(static_cast<unsigned char>(typeCode[0])));
    for (const TypeRow& row : kTypes)
        if (row.code == code) return row.text;
    return "Unknown";
}

std::string TypePictureKeyOf(const std::string& typeText) {
    for (const TypeRow& row : kTypes)
        if (strcasecmp(typeText.c_str(), row.text) == 0) return row.picture;
    return {};
}

bool IsIconText(const std::string& t) {
    return inGroup(t, {"16 Color Icon", "256 Color Icon", "High Color Icon"});
}

bool IsAnimationText(const std::string& t) {
    return inGroup(t, {"16 Color Animation", "256 Color Animation", "High Color Animation", "Animated Icon",
                       "Animated Cursor"});
}

bool IsCursorText(const std::string& t) {
    return inGroup(t, {"16 Color Cursor", "256 Color Cursor", "High Color Cursor", "Current Cursor", "Theme Cursor"});
}

bool IsChangeTargetText(const std::string& t) {
    return inGroup(t, {"File Type Icon", "Current Cursor", "Animated Cursor", "System Icon", "Shortcut Icon"});
}

} // namespace vm
