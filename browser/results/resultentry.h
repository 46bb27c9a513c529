#pragma once
// ResultEntry: the one text form of an entry of the entry list and the tag of a
// result item. Its last four characters are the kind, the character before them
// the TypeCode; a "book" entry's fields are separated by ":", every other kind's
// by ";" with a ";" after the last field.
#include <cstdint>
#include <initializer_list>
#include <string>

namespace vm {

inline constexpr const char* kKindBook = "book";
inline constexpr const char* kKindOpen = "open";
inline constexpr const char* kKindZip = "azip";
inline constexpr const char* kKindUser = "user";
inline constexpr const char* kKindShortcut = "shor";
inline constexpr const char* kKindCurrentCursor = "sycu";
inline constexpr const char* kKindThemeCursor = "sytu";
inline constexpr const char* kKindFileType = "syas";
inline constexpr const char* kKindSystemIcon = "sysy";

// The LibraryIconId "<chunk>:<position>:<k><t>" and its "book" entry.
std::string LibraryIconId(long chunk, long position, int keyDigit, int typeDigit);
std::string BookEntry(const std::string& libraryIconId);

// Any kind but "book": the fields joined by ";", then ";", the TypeCode and the kind.
// An "azip" entry's first two fields are the extracted file and the archive.
std::string FileEntry(std::initializer_list<std::string> fields, char typeCode, const std::string& kind);

// The kind in lower case (last four characters), "" for a shorter entry.
std::string EntryKind(const std::string& entry);
// The TypeCode: the fifth character from the end, "" for a shorter entry.
std::string EntryTypeCode(const std::string& entry);
bool EntryIsKind(const std::string& entry, const std::string& kind);
// Field n of the entry, split by the separator of its kind.
std::string EntryField(const std::string& entry, int n);

// The TypeCode of a one-image ".ico" or ".cur" file from its length, measured
// against a 32 x 32 file of 256 colours (2238 bytes); '\0' for other extensions.
char TypeCodeForIconFile(const std::string& extension, std::int64_t length);

} // namespace vm
