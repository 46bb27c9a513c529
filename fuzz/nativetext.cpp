// The program's case folding of member paths, for the native fuzz builds:
// the program asks Windows, which folds every script; this folds ASCII
// letters alone. What the targets check, that a name is found again by the
// folding it was listed with, holds for any folding both sides share.
#include <string>
#include <string_view>

#include "utf8text.h"

namespace vm {

std::string UpperText(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool SameText(std::string_view a, std::string_view b) { return UpperText(a) == UpperText(b); }

} // namespace vm
