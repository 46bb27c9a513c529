#pragma once
// Shortcut icons: the shortcut files of the desktop or the Start menu, the
// user's and the all-users folder, each listed with the icon it shows.
#include <functional>
#include <vector>
#include <string>

#include "browserhost.h"
#include "browserstate.h"
#include "pageloaders.h"

namespace vm {

struct ShortcutContext {
    EntryLists& entries; // lstFiles receives the shortcut files, cmbResult their entries
    PagingState& paging;
    BusyState& busy;
    const BrowserHost& host;
    // The folder of a CSIDL with a trailing "\", or "" (the shell's special folders by default).
    std::function<std::string(int csidl)> specialFolder;
    std::function<void(const std::string&)> setSearchText; // the keyword box's text
};

// The folders a scope walks, in order: "Desktop" or "Start Menu" (any case);
// none for any other scope. The second is left out when it is empty or
// equals the first.
std::vector<std::string> ShortcutFolders(const ShortcutContext& ctx, const std::string& scope);

// The entry of one shortcut file, or "" when it gives none: its icon file
// (the link's icon location, or its target when that names no folder) must
// be an icon-bearing file.
std::string ShortcutEntry(const std::string& linkFile);

// Lists every shortcut of the scope's folders and their sub-folders and shows page 1.
void procSearchShortcuts(ShortcutContext& ctx, const std::string& scope);

// Page loader of "shor": the shortcut's name (ItemData = its index in lstFiles),
// its folder as origin, and its icon.
void procGetShortcutItem(PageLoadContext& ctx, const std::string& entry);

} // namespace vm
