#pragma once
// Temporary files beside a target, in folders named in any language.
#include <windows.h>

#include <string>

namespace vm {

// A new empty file of a unique name in the folder, made by Windows (so the name is ours alone);
// asked wide, so that a folder whose UTF-8 name takes more than MAX_PATH bytes still gets one.
// "" when none can be made.
std::string NewTemporaryFileIn(const std::string& folder, const char* prefix);
// The same file left open for writing, its name in `name`; INVALID_HANDLE_VALUE when none can be made.
HANDLE OpenNewTemporaryFileIn(const std::string& folder, const char* prefix, std::string& name);

} // namespace vm
