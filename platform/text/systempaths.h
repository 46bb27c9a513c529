#pragma once
// Paths Windows hands out, in UTF-8 and whole however many bytes their letters take (an ANSI
// call into a buffer of MAX_PATH bytes would cut a long name in any language).
#include <string>

namespace vm {

// The program's own file.
std::string ProgramFile();
// The current folder, without a trailing backslash unless it is a drive's root.
std::string CurrentFolder();
// The temporary folder, with a trailing backslash.
std::string TemporaryFolder();

} // namespace vm
