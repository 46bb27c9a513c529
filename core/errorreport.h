#pragma once
// The standard error report: a message box titled "Error" with the exclamation
// icon that names the error and asks the user to pass it on. The procedure
// that shows it goes on with its next step afterwards.
#include <cstdint>
#include <string>

#include "vberror.h"

namespace vm {

// Errors the core procedures report themselves carry the program's name as source.
inline constexpr const char* kErrorSource = "Vellumar";

// A command may title the report after itself ("Edit With Error").
void procShowError(std::int32_t number, const std::string& source, const std::string& description,
                   const std::string& title = "Error");
void procShowError(const VbError& error);

} // namespace vm
