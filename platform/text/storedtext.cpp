#include "storedtext.h"

#include <windows.h>

#include <cstdlib>

#include "utf8text.h"

namespace vm {

bool IsUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        size_t extra = 0;
        unsigned min = 0;
        unsigned value = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80, value = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800, value = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000, value = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= bytes.size()) return false;
        for (size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            value = (value << 6) | (next & 0x3F);
        }
        if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

namespace {

// With UTF-8 as the program's own code page GetACP() and GetOEMCP() answer 65001; the code pages
// the system gives programs without one are kept in the registry.
unsigned systemCodePage(const char* name, unsigned fallback) {
    char text[16] = {};
    DWORD size = sizeof text - 1;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage", name,
                     RRF_RT_REG_SZ, nullptr, text, &size) == ERROR_SUCCESS) {
        const unsigned page = static_cast<unsigned>(std::strtoul(text, nullptr, 10));
        if (page != 0 && page != CP_UTF8 && IsValidCodePage(page)) return page;
    }
    return fallback;
}

} // namespace

unsigned SystemAnsiCodePage() { return systemCodePage("ACP", 1252); }

unsigned SystemOemCodePage() { return systemCodePage("OEMCP", 437); }

std::string TextInCodePage(std::string_view bytes, unsigned page) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(page, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(page, 0, bytes.data(), size, wide.data(), n);
    return Utf8Text(wide);
}

std::string StoredText(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (IsUtf8(bytes)) return std::string(bytes);
    return TextInCodePage(bytes, SystemAnsiCodePage());
}

std::string ZipMemberNameText(std::string_view bytes, bool markedUtf8) {
    if (markedUtf8 || IsUtf8(bytes)) return std::string(bytes);
    return TextInCodePage(bytes, SystemOemCodePage());
}

} // namespace vm
