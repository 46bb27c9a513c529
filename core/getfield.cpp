#include "getfield.h"

namespace vm {

std::string procGetField(const std::string& text, char delimiter, int n) {
    if (n < 1) return {};
    std::size_t start = 0;
    for (int field = 1;; ++field) {
        std::size_t end = text.find(delimiter, start);
        if (end == std::string::npos) end = text.size();
        if (field == n) return text.substr(start, end - start);
        if (end == text.size()) return {};
        start = end + 1;
    }
}

} // namespace vm
