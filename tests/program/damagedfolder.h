#pragma once
// A folder of generated damaged files of every kind the program opens (ICO,
// CUR, ANI, EXE, DLL, ICL, ZIP) and of shortcuts (LNK), with a few whole icons
// among them so that there is something to page through.
#include <string>

namespace vmtest {

// Writes the files into folder (which exists) and returns how many.
int WriteDamagedFolder(const std::string& folder);

} // namespace vmtest
