#include "startfolders.h"

#include <windows.h>
#include <shlobj.h>

#include "files.h"
#include "shellfolders.h"
#include "state.h"

namespace vm {

StartFolders folders;

void procFindStartFolders(const std::string& favDir) {
    folders.SendToFolder = SpecialFolders().GetSpecialFolder(CSIDL_SENDTO);
    folders.DesktopFolder = SpecialFolders().GetSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    // A localised Windows names its favourites folder in its own language.
    std::string favorites = SpecialFolders().GetSpecialFolder(CSIDL_FAVORITES);
    if (!favorites.empty()) favorites.pop_back();
    folders.FavoritesFolderName = procGetFileName(favorites);
    if (folders.FavoritesFolderName.empty()) folders.FavoritesFolderName = "Favorites";
    folders.FavoritesFolder = paths.DataPath + folders.FavoritesFolderName;
    if (!favDir.empty()) {
        folders.FavoritesFolder = favDir;
        return;
    }
    const std::string own = paths.DataPath + folders.FavoritesFolderName;
    if (!SetCurrentDirectoryA(own.c_str())) CreateDirectoryA(own.c_str(), nullptr);
}

} // namespace vm
