#pragma once
// The shell's folder picker. Its callers set one flag of vm::folderPicker
// (state.h) around the call to say where the chosen folder goes; the windows
// that receive it are built elsewhere and register themselves here.
#include <windows.h>

#include <functional>
#include <string>

namespace vm {

struct FolderPickerHooks {
    // While SearchingFavorites: the options window owns the picker and takes
    // the folder into its favourites-folder box.
    std::function<HWND()> optionsWindow;
    std::function<void(const std::string&)> setFavoritesFolder;
    // While BrowseForExtract: the main window owns the picker; the folder goes
    // into folderPicker.BrowseResult.
    std::function<HWND()> mainWindow;
    // Otherwise: the scan window owns the picker, takes the folder into its
    // folder box and enables its start button.
    std::function<HWND()> scanWindow;
    std::function<void(const std::string&)> setScanFolder;
};
extern FolderPickerHooks folderPickerHooks;

// Shows the picker opened on initial; a chosen folder is delivered as above
// ("" for a virtual folder), a cancel delivers nothing.
void procBrowseForFolder(const std::string& initial, const std::string& title);

} // namespace vm
