#pragma once
// The numbered errors the icon classes raise, with the program's own name in
// their source ("Vellumar.cFileIcon").
#include <cstdint>
#include <string>
#include <variant>

namespace vm {

// A resource of a module is numbered or named; an icon read from an ICO file
// has neither (monostate).
using ResourceKey = std::variant<std::monostate, std::int32_t, std::string>;

// The running executable's base name without its extension.
std::string executableName();

// Throws VbError(kObjectError + n, "<executable>.<className>", text).
[[noreturn]] void raiseClassError(int n, const char* className, const std::string& text);

// The run-time errors of a caller's bad argument: 9 "Subscript out of range"
// for a position outside a list, 6 "Overflow" for a value too large to store.
[[noreturn]] void raiseSubscriptError(const char* className);
[[noreturn]] void raiseOverflowError(const char* className);

} // namespace vm
