#pragma once
// Text files the program wrote before it held UTF-8 are in the system's ANSI code page.
#include <string>
#include <string_view>

namespace vm {

// True when bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view bytes);
// The system's ANSI and OEM code pages (1252 and 437 or 850 on a western machine), not the
// program's own UTF-8.
unsigned SystemAnsiCodePage();
unsigned SystemOemCodePage();
// Bytes in a code page as UTF-8.
std::string TextInCodePage(std::string_view bytes, unsigned page);
// Text read from a file: kept when it is UTF-8 (a leading byte-order mark dropped), otherwise
// read in the system's ANSI code page, so nothing saved earlier changes meaning.
std::string StoredText(std::string_view bytes);
// A ZIP member's name: UTF-8 when the archive says so or when it is well-formed UTF-8, otherwise
// the OEM code page that archivers of the system's own kind wrote names in.
std::string ZipMemberNameText(std::string_view bytes, bool markedUtf8);

} // namespace vm
