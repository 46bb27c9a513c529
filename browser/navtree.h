#pragma once
// The navigation tree: every icon source the browser offers as a node whose
// key says what a click lists. Built whole at start-up and after every switch
// of the data set; the favourites branch mirrors the favourites folder tree.
#include <string>

#include "browserhost.h"
#include "browserstate.h"
#include "listaccess.h"
#include "treeview.h"

namespace vm {

inline constexpr const char* kFavoritesKey = "favori";
inline constexpr const char* kCursorSchemesKey = "Control Panel\\Cursors\\Schemes";

// Keys compare without regard to case.
bool SameKey(const std::string& a, const std::string& b);
// The key begins with the six characters of a node family ("groups", "ctheme", "favori").
bool HasFamily(const std::string& key, const char* family);

// What a tree build reads.
struct TreeBuild {
    TreeView& pnlNav;
    const ListAccess& cmbSearch;  // the keywords of the data set, in list order
    const BrowserHost& host;      // status texts; yields during the favourites walk
    std::string ProductName;      // "Vellumar" when the library index is there
    int IconSize = 32;
    std::string FavoritesFolder;  // "" when none is set: the branch stays empty
    std::string FavoritesFolderName;
};

// Rebuilds the whole tree.
void procBuildTree(TreeBuild& build);

// The text of a group keyword's node, or "" when the keyword is no group keyword.
std::string GroupNodeText(const std::string& keyword);

// The favourites root as the first of "your"'s children, with its folder nodes.
void AddFavoritesBranch(TreeView& pnlNav, const BrowserHost& host, const std::string& favoritesFolder,
                        const std::string& favoritesFolderName);
// Walks the favourites folder and adds a node per sub-folder, sorted by text.
void WalkFavoriteFolders(TreeView& pnlNav, const BrowserHost& host, const std::string& favoritesFolder);
// Sorts the node's children by text (all levels below too when deep).
void SortChildren(TreeView& pnlNav, Node& node, bool deep);

// The folder of a favourites node: the favourites folder and the key after
// "favori", with one "\" between. "" for a key of another family or when no
// favourites folder is set.
std::string FavoriteFolderOf(const std::string& key, const std::string& favoritesFolder);

} // namespace vm
