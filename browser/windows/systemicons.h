#pragma once
// The system icons Windows shows, per Windows version: for each, the name the
// result list shows, the file and index of Windows' own default, and where in
// the registry a changed icon is recorded. One row is
//   <display name>;<folder>\<file>,<index>;<root name>\<key path>[,<value name>]
// and the change window later finds a row by its display name.
#include <windows.h>

#include <string>
#include <vector>

namespace vm {

// Whether key is one of the five system-icon nodes of the navigation tree
// ("SysDesktop", "SysStart", "SysDrives", "SysFolders", "SysFiles"; any case).
bool IsSystemIconNode(const std::string& key);

// The rows of that node for the running Windows (osCode "95", "98", "ME",
// "NT3", "NT4" or "2000"; anything else counts as "NT4"), in table order.
// windowsDir and systemDir: lower case, no trailing "\". No rows for any other key.
std::vector<std::string> SystemIconRows(const std::string& key, const std::string& osCode,
                                        const std::string& windowsDir, const std::string& systemDir);

// The registry root a row's location names ("HKEY_CLASSES_ROOT",
// "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS", any case; the short
// "HKEY_USER" of older tables means HKEY_USERS too); null for any other name.
HKEY RegistryRootOf(const std::string& name);

} // namespace vm
