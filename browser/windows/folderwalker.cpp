#include "folderwalker.h"

#include <windows.h>

#include <vector>

namespace vm {
namespace {

bool isDots(const char* name) {
    return std::string(name) == "." || std::string(name) == "..";
}

// A reparse point (symbolic link, junction, mount point) leads out of the tree.
bool isWalkableFolder(const WIN32_FIND_DATAA& data) {
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

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
        const unsigned long long now = GetTickCount64();
        if (walk.yieldIntervalMs == 0 || now - walk.lastYield >= walk.yieldIntervalMs) {
            walk.lastYield = now;
            walk.host.events();
        }
        return walk.busy.AbortRequested;
    };
    std::vector<std::string> subfolders;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (isDots(data.cFileName)) continue;
            if (aborted()) {
                FindClose(find);
                return;
            }
            if (!isWalkableFolder(data)) continue;
            subfolders.emplace_back(data.cFileName);
            ++folderCount;
            if (walk.SearchingFavorites && walk.addFolderNode) {
                const std::string tail = favoritesTail(walk, folder);
                const std::string parentKey = "favori" + tail;
                const std::string key = "favori" + (tail.empty() ? std::string() : tail + "\\") + data.cFileName;
                walk.addFolderNode(parentKey, key, data.cFileName);
            }
            if (aborted()) {
                FindClose(find);
                return;
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }

    find = FindFirstFileA((folder + pattern).c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (isDots(data.cFileName)) continue;
            ++fileCount;
            walk.lstFiles.AddItem(folder + data.cFileName);
            if (aborted()) {
                FindClose(find);
                return;
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
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
