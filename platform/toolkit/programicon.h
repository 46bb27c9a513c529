#pragma once
// The program's own icon: icon resource 1 of the program file.
#include <windows.h>

namespace vm {

// The icon at this size in pixels (Windows picks and scales the nearest image),
// or null when the program file has none. The caller destroys it.
HICON LoadProgramIcon(int width, int height);

} // namespace vm
