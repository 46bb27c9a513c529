#pragma once
// Modules loaded as data files, shared by file while anyone holds them: the
// resource lister keeps a file loaded while the icon model reads its groups
// one by one, and every read then uses that one mapping instead of loading
// the file again.
#include <windows.h>

#include <string>

namespace vm {

// The file loaded as a data file through the loader gate (a sound PE module
// only), or the module already held for it (names compared as Windows compares
// them). Null when it cannot be loaded. Every non-null result is released once.
HMODULE AcquireDataModule(const std::string& file);
// Lets go of a module from AcquireDataModule; the last holder frees it.
void ReleaseDataModule(HMODULE module);

} // namespace vm
