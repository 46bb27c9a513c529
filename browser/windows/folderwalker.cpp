#include "folderwalker.h"

#include <windows.h>

#include <vector>

#include "files.h"

namespace vm {
namespace {

std::string favoritesTail(const FolderWalk& walk, const std::string& folder) {
    std::string home = walk.FavoritesFolder;
    if (!home.empty() && home.back() != '\\') home += '\\';
    std::string tail = folder.size() > home.size() ? folder.substr(home.size()) : std::string();
    if (!tail.empty() && tail.back() == '\\') tail.pop_back();
    return tail;
}

} // namespace

void procWalkFolders(FolderWalk& walk, std::string& folder, const std::string& pattern, std::int32_t& fileCount,
                     std::int32_t& folderCount) {
    if (folder.empty() || folder.back() != '\\') folder += '\\';

    // Every yield to the message loop may bring Esc: the walk ends right there.
    auto aborted = [&walk] {
        walk.yields.every = std::chrono::milliseconds(walk.yieldIntervalMs);
        if (walk.yields.due()) walk.host.events();
        return walk.busy.AbortRequested;
    };
    std::vector<std::string> subfolders;
    for (const FolderEntry& entry : procListFolder(folder + "*")) {
        if (aborted()) return;
        if (!entry.isFolder() || entry.isLink()) continue;
        subfolders.push_back(entry.name);
        ++folderCount;
        if (walk.SearchingFavorites && walk.addFolderNode) {
            const std::string tail = favoritesTail(walk, folder);
            const std::string parentKey = "favori" + tail;
            const std::string key = "favori" + (tail.empty() ? std::string() : tail + "\\") + entry.name;
            walk.addFolderNode(parentKey, key, entry.name);
        }
        if (aborted()) return;
    }

    for (const FolderEntry& entry : procListFolder(folder + pattern)) {
        ++fileCount;
        walk.lstFiles.AddItem(folder + entry.name);
        if (aborted()) return;
    }

    if (!walk.WalkSubfolders) return;
    for (const std::string& name : subfolders) {
        if (aborted()) return;
        std::string sub = folder + name + "\\";
        procWalkFolders(walk, sub, pattern, fileCount, folderCount);
        if (walk.busy.AbortRequested) return;
    }
}

} // namespace vm
