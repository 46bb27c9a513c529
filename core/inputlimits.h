#pragma once
// The longest text each kind of box takes: what its data can hold. Longer
// typed or pasted text is cut there and refused with a message. Lengths are
// counted in characters as the boxes count them (TextLength), never in bytes:
// the files these texts go to limit no line's bytes.
#include <string>

#include "controls_basic.h"

namespace vm {

// A keyword is shown whole as a node of the navigation tree and an item of the
// keyword lists, whose labels Windows keeps below 260 characters.
inline constexpr int kMaxKeywordLength = 255;
// A full path, as Windows' file calls take it.
inline constexpr int kMaxPathLength = 259;

// "A keyword can be at most 255 characters long." ...; what: "A keyword".
std::string InputLimitText(const std::string& what, int length);

// Sets the box's length and shows InputLimitText, titled with its window's
// caption, whenever text is cut at it.
void LimitInput(TextBox& box, int length, const std::string& what);
void LimitInput(ComboBox& box, int length, const std::string& what);

} // namespace vm
