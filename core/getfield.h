#pragma once
#include <string>

namespace vm {

// Field n (from 1) of text split at delimiter, untrimmed; "" when the text
// has fewer fields or n is below 1.
std::string procGetField(const std::string& text, char delimiter, int n);

} // namespace vm
