#pragma once
#include <string>

namespace vm {

// Gives the process the right to shut Windows down before a restart. "" when it has it, else
// why not, in words (the step that failed and the system's reason).
std::string procEnableShutdownPrivilege();

// The system's text for an error number, without its line end; "" for none.
std::string SystemErrorText(unsigned long code);

} // namespace vm
