#pragma once
// A loosely typed value as the program passes settings around: Empty (nothing
// was read), a text, or a 32-bit signed whole number.
#include <cctype>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace vm {

class Variant {
public:
    Variant() = default;
    Variant(std::string text) : value_(std::move(text)) {}
    Variant(const char* text) : value_(std::string(text)) {}
    Variant(std::int32_t number) : value_(number) {}
    // A Boolean is stored as "True"/"False" or as "0"/"1" depending on the
    // setting; the caller says which, rather than a silent 1.
    Variant(bool) = delete;

    bool isEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    bool isText() const { return std::holds_alternative<std::string>(value_); }
    bool isLong() const { return std::holds_alternative<std::int32_t>(value_); }

    // The value as text: Empty gives "", a number its decimal digits.
    std::string toText() const {
        if (isText()) return std::get<std::string>(value_);
        if (isLong()) return std::to_string(std::get<std::int32_t>(value_));
        return {};
    }

    // The value as a 32-bit number: a number as it is, a text when it holds a
    // whole number (blanks around it allowed); Empty and any other text give
    // nothing, so the caller decides what a missing number means.
    std::optional<std::int32_t> toLong() const {
        if (isLong()) return std::get<std::int32_t>(value_);
        if (!isText()) return std::nullopt;
        const std::string& s = std::get<std::string>(value_);
        std::size_t b = 0, e = s.size();
        while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
        while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
        if (b < e && s[b] == '+') ++b;
        std::int32_t n = 0;
        auto [end, ec] = std::from_chars(s.data() + b, s.data() + e, n);
        if (b == e || ec != std::errc() || end != s.data() + e) return std::nullopt;
        return n;
    }

    bool operator==(const Variant&) const = default;

private:
    std::variant<std::monostate, std::string, std::int32_t> value_;
};

} // namespace vm
