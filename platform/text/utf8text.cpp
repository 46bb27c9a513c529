#include "utf8text.h"

#include <windows.h>

namespace vm {

std::wstring WideText(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, out.data(), n);
    return out;
}

std::string Utf8Text(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

namespace {

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

bool isAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

std::string mapCase(std::string_view text, DWORD flags) {
    // The invariant case of an ASCII letter is its ASCII case; asking the
    // system costs more than the rest of listing a ZIP member.
    if (isAscii(text)) {
        std::string out(text);
        for (char& c : out)
            c = flags == LCMAP_UPPERCASE ? (c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c)
                                         : asciiLower(c);
        return out;
    }
    std::wstring wide = WideText(text);
    if (wide.empty()) return std::string(text);
    LCMapStringEx(LOCALE_NAME_INVARIANT, flags, wide.data(), static_cast<int>(wide.size()), wide.data(),
                  static_cast<int>(wide.size()), nullptr, nullptr, 0);
    return Utf8Text(wide);
}

} // namespace

std::string LowerText(std::string_view text) { return mapCase(text, LCMAP_LOWERCASE); }

std::string UpperText(std::string_view text) { return mapCase(text, LCMAP_UPPERCASE); }

bool SameText(std::string_view a, std::string_view b) {
    if (isAscii(a) && isAscii(b)) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (asciiLower(a[i]) != asciiLower(b[i])) return false;
        return true;
    }
    const std::wstring wa = WideText(a), wb = WideText(b);
    return CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(), static_cast<int>(wb.size()),
                                TRUE) == CSTR_EQUAL;
}

bool StartsWithText(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

bool EndsWithText(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && SameText(text.substr(text.size() - suffix.size()), suffix);
}

int CompareText(std::string_view a, std::string_view b) {
    const std::wstring wa = WideText(a), wb = WideText(b);
    const int order = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.data(), static_cast<int>(wa.size()),
                                     wb.data(), static_cast<int>(wb.size()));
    return order == 0 ? 0 : order - CSTR_EQUAL;
}

namespace {

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

} // namespace

std::string FirstCharacter(std::string_view text) {
    if (text.empty()) return {};
    size_t end = 1;
    while (end < text.size() && end < 4 && isContinuation(text[end])) ++end;
    return std::string(text.substr(0, end));
}

std::string CutText(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return std::string(text);
    size_t end = maxBytes;
    while (end > 0 && isContinuation(text[end])) --end;
    return std::string(text.substr(0, end));
}

size_t TextLength(std::string_view text) {
    size_t length = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!isContinuation(c)) ++length;
        if (byte >= 0xF0) ++length; // four bytes take two units
    }
    return length;
}

} // namespace vm
