#pragma once
// The one folder walker: finds files for the shortcut, favourites, opened-folder
// and scan listings, and builds the favourites branch of the navigation tree.
#include <cstdint>
#include <functional>
#include <string>

#include "browserhost.h"
#include "browserstate.h"
#include "hiddenlist.h"

namespace vm {

// The yield spacing of the walks of folders full of files (the favourites).
inline constexpr unsigned kSpacedYieldMs = 15;

struct FolderWalk {
    HiddenList& lstFiles;     // receives the full path of every matching file
    BusyState& busy;          // AbortRequested ends the walk at once
    const BrowserHost& host;  // yields to the message loop between items
    bool WalkSubfolders = false;
    bool SearchingFavorites = false; // add a favourites node for every sub-folder found
    // A yield to the message loop costs a round trip to the window system; the
    // walk yields when this much time has passed since the last one (0: after
    // every entry), so Esc still stops it within a moment.
    unsigned yieldIntervalMs = 0;
    YieldClock yields;
    std::string FavoritesFolder;     // the favourites home, with or without a trailing "\"
    // A favourites node: parent key, key ("favori" & path below the favourites
    // folder, levels joined by "\"), and the folder's name as its text.
    std::function<void(const std::string& parentKey, const std::string& key, const std::string& text)> addFolderNode;
};

// Appends to lstFiles every file of folder (and, with WalkSubfolders, of its
// sub-folders at any depth) whose name matches pattern: a folder's files come
// before its sub-folders'. folder gains a trailing "\" when it lacks one. The
// counters are the caller's and are only added to. Links and junctions are
// never followed, so a walk stays inside the tree it was given.
void procWalkFolders(FolderWalk& walk, std::string& folder, const std::string& pattern, std::int32_t& fileCount,
                     std::int32_t& folderCount);

} // namespace vm
