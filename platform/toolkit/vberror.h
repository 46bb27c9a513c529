#pragma once
// The error that the program's classes raise: a number, the source that raised
// it and a description, shown to the user by the standard error report.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace vm {

// Class errors are numbered from this base (0x80040000 + n).
constexpr std::int32_t kObjectError = static_cast<std::int32_t>(0x80040000u);

class VbError : public std::runtime_error {
public:
    VbError(std::int32_t number, std::string source, std::string description)
        : std::runtime_error(description), number_(number), source_(std::move(source)),
          description_(std::move(description)) {}

    std::int32_t number() const { return number_; }
    const std::string& source() const { return source_; }
    const std::string& description() const { return description_; }

private:
    std::int32_t number_;
    std::string source_;
    std::string description_;
};

} // namespace vm
