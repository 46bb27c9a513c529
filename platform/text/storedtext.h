#pragma once
// Text files the program wrote before it held UTF-8 are in the system's ANSI code page.
#include <string>
#include <string_view>

namespace vm {

// True when bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view bytes);
// The system's ANSI code page (1252 on a western machine), not the program's own UTF-8.
unsigned SystemAnsiCodePage();
// Text read from a file: kept when it is UTF-8 (a leading byte-order mark dropped), otherwise
// read in the system's ANSI code page, so nothing saved earlier changes meaning.
std::string StoredText(std::string_view bytes);

} // namespace vm
