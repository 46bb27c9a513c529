#include "folderpicker.h"

#include <shlobj.h>

#include "dialogs.h"
#include "seam.h"
#include "state.h"

namespace vm {

FolderPickerHooks folderPickerHooks;

namespace {

// Opens the dialog on the initial folder once it is up.
int CALLBACK openOnInitial(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

// The dialog itself, through the seam so that tests script the choice; true
// when a folder was chosen.
bool browseForFolderDialog(HWND owner, const std::string& initial, const std::string& title, std::string& chosen) {
    SeamAnswer answer;
    if (Seam::get().record({"Folder", initial, title, 0}, answer, {vbCancel, {}, true})) {
        if (answer.cancelled) return false;
        chosen = answer.text;
        return true;
    }
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.lpfn = openOnInitial;
    info.lParam = reinterpret_cast<LPARAM>(initial.c_str());
    PIDLIST_ABSOLUTE item = SHBrowseForFolderA(&info);
    if (!item) return false;
    chosen = PathOfShellItem(item);
    CoTaskMemFree(item);
    return true;
}

HWND ownerFrom(const std::function<HWND()>& window) { return window ? window() : nullptr; }

} // namespace

void procBrowseForFolder(const std::string& initial, const std::string& title) {
    const FolderPickerHooks& hooks = folderPickerHooks;
    HWND owner = folderPicker.SearchingFavorites ? ownerFrom(hooks.optionsWindow)
                 : folderPicker.BrowseForExtract ? ownerFrom(hooks.mainWindow)
                                                 : ownerFrom(hooks.scanWindow);
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
