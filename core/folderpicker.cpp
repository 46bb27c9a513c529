#include "folderpicker.h"

#include <shlobj.h>

#include "dialogs.h"
#include "seam.h"
#include "state.h"

namespace vm {

FolderPickerHooks folderPickerHooks;

namespace {

// The dialog itself, through the seam so that tests script the choice; true
// when a folder was chosen.
bool browseForFolderDialog(HWND owner, const std::string& initial, const std::string& title, std::string& chosen) {
    chosen = initial;
    return seamBrowseForFolder(owner, title, 0, chosen);
}

HWND ownerFrom(const std::function<HWND()>& window) { return window ? window() : nullptr; }

} // namespace

void procBrowseForFolder(const std::string& initial, const std::string& title) {
    const FolderPickerHooks& hooks = folderPickerHooks;
    HWND owner = folderPicker.SearchingFavorites ? ownerFrom(hooks.optionsWindow)
                 : folderPicker.BrowseForExtract ? ownerFrom(hooks.mainWindow)
                                                 : ownerFrom(hooks.scanWindow);
    // A window out of sight (the scan window for a folder's icon) makes no
    // owner: the picker stands over the window the person works in.
    if (!owner || !IsWindowVisible(owner)) owner = GetActiveWindow();
    std::string chosen;
    if (!browseForFolderDialog(owner, initial, title, chosen)) return;
    if (folderPicker.SearchingFavorites) {
        if (hooks.setFavoritesFolder) hooks.setFavoritesFolder(chosen);
    } else if (folderPicker.BrowseForExtract) {
        folderPicker.BrowseResult = chosen;
    } else if (hooks.setScanFolder) {
        hooks.setScanFolder(chosen);
    }
}

} // namespace vm
