#pragma once
// Readable names of the item types. Everything after the page loaders compares
// these texts, never the one-character codes, and always without regard to case.
#include <string>

namespace vm {

// The TypeText of a TypeCode; "Unknown" for anything not in the table
// (including codes longer than one character and the empty code).
std::string TypeTextOf(const std::string& typeCode);

// The key of the type picture in the main window's small-picture list; empty for
// "Unknown", so the type panel keeps the picture it had.
std::string TypePictureKeyOf(const std::string& typeText);

bool IsIconText(const std::string& typeText);
bool IsAnimationText(const std::string& typeText);
bool IsCursorText(const std::string& typeText);
// The kinds of Windows icon the change window can replace (its TargetKind).
bool IsChangeTargetText(const std::string& typeText);

} // namespace vm
