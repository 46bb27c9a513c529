#pragma once
// Text inside the program is UTF-8 (the program's active code page). These helpers treat it by
// character: a byte of a letter outside ASCII is never folded, cut off or compared alone.
#include <string>
#include <string_view>

namespace vm {

std::wstring WideText(std::string_view text);
std::string Utf8Text(std::wstring_view text);

// The text in lower or upper case, every letter of every script.
std::string LowerText(std::string_view text);
std::string UpperText(std::string_view text);

// Equal but for case (what Windows does for file names).
bool SameText(std::string_view a, std::string_view b);
// True when text begins or ends with the other text, case aside.
bool StartsWithText(std::string_view text, std::string_view prefix);
bool EndsWithText(std::string_view text, std::string_view suffix);
// Order of a and b for the user's eyes, case aside: < 0, 0 or > 0.
int CompareText(std::string_view a, std::string_view b);

// The first character, whole (one to four bytes); "" for "".
std::string FirstCharacter(std::string_view text);
// The text cut to at most maxBytes bytes, never inside a character.
std::string CutText(std::string_view text, size_t maxBytes);
// The length of the text as Windows' boxes and lists count it (UTF-16 units): one for each
// character of every common script, two for a character beyond them (an emoji).
size_t TextLength(std::string_view text);

} // namespace vm
