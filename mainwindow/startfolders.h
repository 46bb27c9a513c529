#pragma once
// The shell folders the main window finds at start-up: Send To, the desktop,
// and the program's own favourites folder, named after the user's.
#include <string>

namespace vm {

struct StartFolders {
    std::string SendToFolder;        // with a trailing "\"
    std::string DesktopFolder;       // with a trailing "\"
    std::string FavoritesFolderName; // the last part of the user's favourites folder, or "Favorites"
    std::string FavoritesFolder;     // where the program keeps its favourites
};
extern StartFolders folders;

// Sets the folders above; favDir is the stored favourites folder ("" when
// none is stored), which then is the program folder's own one, made when missing.
void procFindStartFolders(const std::string& favDir);

} // namespace vm
