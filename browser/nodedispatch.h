#pragma once
// What a click on a node of the navigation tree lists. Every node kind has one
// row in one table: the library and reference searches, the Windows sources,
// the keyword groups, the cursor schemes and the favourites folders.
#include <functional>
#include <string>

#include "librarysearch.h"
#include "nodesources.h"

namespace vm {

// The favourites nodes the Favorites menu works on, by key ("" = none).
struct FavoriteNodes {
    std::string CurrentFavoriteNode; // the favourites node whose folder is listed
    std::string FavoriteFolderNode;  // the favourites node last clicked; kept over other clicks
};

struct NodeClickContext {
    SearchContext& search;       // entries, paging, busy state, host and the keyword box
    const NodeSources& sources;
    HiddenList& lstChange;       // the system-icon rows of the last system-icon listing
    FavoriteNodes& favorites;
    bool& SearchingFavorites;    // true only while a favourites folder is listed
    std::string FavoritesFolder;
    std::string OSCode, WindowsDir, SystemDir;
    // The favourites folder commands: Create Folder (add) and Remove Folder (remove).
    std::function<void(bool add, bool remove)> enableFolderCommands;
    std::function<void()> clearKeywordText; // empties the keyword box's text
};

// The clicked node as the dispatcher sees it.
struct ClickedNode {
    std::string key;
    std::string tag;          // a group node's keyword
    bool hasChildren = false; // a parent node lists nothing
};

void procNodeClick(NodeClickContext& ctx, const ClickedNode& node);

// Whether a node of this key lists something when clicked.
bool NodeHasListing(const std::string& key);

// Keeps in lstFiles only the files Windows keeps icons in (.ani, .cur, .dll,
// .exe, .icl, .ico, any case). False when an abort stopped it.
bool KeepIconFiles(HiddenList& lstFiles, const BusyState& busy);

} // namespace vm
