#pragma once
// System icons: one entry per row of lstChange, each row
// "<display name>;<default icon>;<root name>\<key path>[,<value name>]".
// A row whose registry value is missing gets it written from the default
// icon, so the change window later finds a value to replace.
#include <windows.h>

#include <string>

#include "hiddenlist.h"
#include "pageloaders.h"

namespace vm {

struct SystemIconContext {
    HiddenList& lstChange; // the rows, left as they are
    HiddenList& cmbResult; // one entry per row; ItemData = the row's index
    std::string windowsDir; // what %SystemRoot% stands for
};

// The registry root of "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
// "HKEY_LOCAL_MACHINE" or "HKEY_USERS" (case ignored); null for any other name.
HKEY RegistryRootNamed(const std::string& name);

// Raises VbError 5 for a row without its fields or with a root of another name,
// ending the listing; the rows are the program's own tables.
void procSearchSystemIcons(SystemIconContext& ctx);

// Page loader of "sysy": the display name, "File" as origin, and the icon.
void procGetSystemIconItem(PageLoadContext& ctx, const std::string& entry);

} // namespace vm
