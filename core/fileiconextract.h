#pragma once
// The one way the program asks Windows for the icons of a file: every lister
// and page loader goes through here, so a file Windows should not be handed
// is refused in one place: a damaged module, icon or animation gives no
// icons (the loader gate).
#include <windows.h>

#include <string>

namespace vm {

// How many icons the file holds, as the shell counts them; a cursor file
// counts 1 when it loads, since the shell's extraction does not read every
// cursor. 0 for a file that gives none.
int procFileIconCount(const std::string& file);

// Icon number index of the file at 16 or 32 pixels (size), or nullptr. The
// caller owns the handle.
HICON procExtractFileIcon(const std::string& file, int index, int size);

} // namespace vm
