#pragma once
// The shell's special folders (favourites, Send To, desktop ...).
#include <string>

namespace vm {

class cSpecialFolders {
public:
    // The folder of a CSIDL with a trailing "\", or "" when the shell has none.
    std::string GetSpecialFolder(int csidl) const;
};

// The one shared instance, made on first use and kept for the run.
cSpecialFolders& SpecialFolders();

} // namespace vm
