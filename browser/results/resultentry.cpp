#include "resultentry.h"

#include <cctype>
#include <strings.h>

#include "getfield.h"

namespace vm {

std::string LibraryIconId(long chunk, long position, int keyDigit, int typeDigit) {
    return std::to_string(chunk) + ":" + std::to_string(position) + ":" + std::to_string(keyDigit) +
           std::to_string(typeDigit);
}

std::string BookEntry(const std::string& libraryIconId) { return libraryIconId + kKindBook; }

std::string FileEntry(std::initializer_list<std::string> fields, char typeCode, const std::string& kind) {
    std::string entry;
    for (const std::string& field : fields) entry += field + ";";
    entry += typeCode;
    return entry + kind;
}

std::string EntryKind(const std::string& entry) {
    if (entry.size() < 4) return {};
    std::string kind = entry.substr(entry.size() - 4);
    for (char& c : kind) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return kind;
}

std::string EntryTypeCode(const std::string& entry) {
    if (entry.size() < 5) return {};
    return entry.substr(entry.size() - 5, 1);
}

bool EntryIsKind(const std::string& entry, const std::string& kind) {
    return strcasecmp(EntryKind(entry).c_str(), kind.c_str()) == 0;
}

std::string EntryField(const std::string& entry, int n) {
    return procGetField(entry, EntryIsKind(entry, kKindBook) ? ':' : ';', n);
}

char TypeCodeForIconFile(const std::string& extension, std::int64_t length) {
    constexpr std::int64_t kOneImage256 = 6 + 16 + 40 + 1024 + 1024 + 128;
    char base;
    if (strcasecmp(extension.c_str(), ".ico") == 0) base = '0';
    else if (strcasecmp(extension.c_str(), ".cur") == 0) base = '6';
    else return '\0';
    if (length < kOneImage256) return base;
    return static_cast<char>(base + (length == kOneImage256 ? 1 : 2));
}

} // namespace vm
