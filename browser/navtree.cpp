#include "navtree.h"

#include <commctrl.h>
#include <strings.h>

#include <cctype>
#include <vector>

#include "folderwalker.h"
#include "vberror.h"
#include "utf8text.h"

namespace vm {
namespace {

constexpr const char* kBook = "book";
constexpr const char* kOpenBook = "openbook";

struct Leaf {
    const char* key;
    const char* text;
};

void addLeaves(TreeView& tree, const char* parent, std::initializer_list<Leaf> leaves) {
    for (const Leaf& l : leaves) tree.Nodes.Add(parent, tvwChild, l.key, l.text, kBook, kOpenBook);
}

void addLibraryBranch(TreeBuild& b) {
    TreeView& t = b.pnlNav;
    t.Nodes.Add(nullptr, tvwLast, "vellumar", "Vellumar", "vellumar");
    t.Nodes.Add("vellumar", tvwChild, "icon", "Icons", "icon");
    addLeaves(t, "icon", {{"Icon256", "256 Color"}, {"IconHi", "High Color"}});
    t.Nodes.Add("vellumar", tvwChild, "ani", "Animated Icons", "navani");
    addLeaves(t, "ani", {{"Ani16", "16 Color"}, {"Ani256", "256 Color"}, {"AniHi", "High Color"}});
    if (b.IconSize == 32) {
        t.Nodes.Add("vellumar", tvwChild, "cursor", "Cursors", "cursor");
        addLeaves(t, "cursor", {{"Cursor16", "16 Color"}, {"Cursor256", "256 Color"}, {"CursorHi", "High Color"}});
    }
    t.Nodes.Add("vellumar", tvwChild, "group", "Groups by Design", "group");
    for (int i = 0; i < b.cmbSearch.ListCount(); ++i) {
        const std::string keyword = b.cmbSearch.List(i);
        const std::string text = GroupNodeText(keyword);
        if (text.empty()) continue;
        // The node carries its keyword: a click finds the keyword again by
        // its text, wherever the box has it by then.
        Node& node = t.Nodes.Add("group", tvwChild, "groups" + std::to_string(i), text, kBook, kOpenBook);
        node.Tag = keyword;
    }
    t.Nodes.Add("vellumar", tvwChild, "alfa", "Alphabetic", "alfa");
    for (char c = 'A'; c <= 'Z'; ++c) {
        const std::string letter(1, c);
        t.Nodes.Add("alfa", tvwChild, letter, letter, kBook, kOpenBook);
    }
    t.Nodes("vellumar").SetExpanded(true);
}

// One node per cursor scheme, in the order the registry gives them. The key
// is only read.
void addCursorSchemes(TreeView& t) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kCursorSchemesKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
    std::vector<char> name(2000);
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        if (RegEnumValueA(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        const std::string scheme(name.data(), length);
        const std::string nodeKey = "ctheme" + scheme;
        if (t.Nodes.exists(nodeKey)) continue;
        t.Nodes.Add("SysCur", tvwChild, nodeKey, scheme, kBook, kOpenBook);
    }
    RegCloseKey(key);
}

} // namespace

bool SameKey(const std::string& a, const std::string& b) { return SameText(a, b); }

bool HasFamily(const std::string& key, const char* family) { return strncasecmp(key.c_str(), family, 6) == 0; }

std::string GroupNodeText(const std::string& keyword) {
    // "group", one separator, then the name; the separator never shows.
    if (keyword.size() <= 6 || strncasecmp(keyword.c_str(), "group", 5) != 0) return "";
    if (keyword.size() >= 10 && strncasecmp(keyword.c_str() + 6, "iMac", 4) == 0) return keyword.substr(6);
    // The first letter in capitals, whatever its script and however many bytes it takes.
    const std::string text = keyword.substr(6);
    const std::string first = FirstCharacter(text);
    return UpperText(first) + text.substr(first.size());
}

void SortChildren(TreeView& pnlNav, Node& node, bool deep) {
    SendMessageA(pnlNav.hWnd(), TVM_SORTCHILDREN, deep ? TRUE : FALSE, reinterpret_cast<LPARAM>(node.handle()));
}

void WalkFavoriteFolders(TreeView& pnlNav, const BrowserHost& host, const std::string& favoritesFolder) {
    if (favoritesFolder.empty() || !pnlNav.Nodes.exists(kFavoritesKey)) return;
    // Only folders are wanted: the files found go to a list of the walk's own.
    HiddenList found;
    BusyState busy;
    FolderWalk walk{found, busy, host};
    walk.yieldIntervalMs = kSpacedYieldMs;
    walk.WalkSubfolders = true;
    walk.SearchingFavorites = true;
    walk.FavoritesFolder = favoritesFolder;
    walk.addFolderNode = [&pnlNav](const std::string& parentKey, const std::string& key, const std::string& text) {
        if (!pnlNav.Nodes.exists(parentKey) || pnlNav.Nodes.exists(key)) return;
        pnlNav.Nodes.Add(parentKey, tvwChild, key, text, "bookfav", kOpenBook);
    };
    std::string folder = favoritesFolder;
    std::int32_t files = 0, folders = 0;
    procWalkFolders(walk, folder, "avb.avb", files, folders);
    SortChildren(pnlNav, pnlNav.Nodes(kFavoritesKey), true);
}

void AddFavoritesBranch(TreeView& pnlNav, const BrowserHost& host, const std::string& favoritesFolder,
                        const std::string& favoritesFolderName) {
    // First among the children of "your", whatever stands there already.
    if (Node* first = pnlNav.Nodes.exists("your") ? pnlNav.Nodes("your").Child() : nullptr)
        pnlNav.Nodes.Add(first, tvwFirst, kFavoritesKey, favoritesFolderName, "favorite");
    else
        pnlNav.Nodes.Add("your", tvwChild, kFavoritesKey, favoritesFolderName, "favorite");
    WalkFavoriteFolders(pnlNav, host, favoritesFolder);
}

void procBuildTree(TreeBuild& b) {
    TreeView& t = b.pnlNav;
    b.host.statusText("Building tree...");
    t.Nodes.Clear();
    if (SameKey(b.ProductName, "Vellumar")) addLibraryBranch(b);
    t.Nodes.Add(nullptr, tvwLast, "your", "Your Icons", "user");
    if (b.IconSize == 32) {
        b.host.statusText("Building favorites tree...");
        AddFavoritesBranch(t, b.host, b.FavoritesFolder, b.FavoritesFolderName);
    }
    t.Nodes.Add("your", tvwChild, "reference", "References", "reference");
    addLeaves(t, "reference", {{"Reference16", "16 Color"}, {"Reference256", "256 Color"}, {"ReferenceHi", "High Color"}});
    if (b.IconSize == 32) {
        t.Nodes.Add("your", tvwChild, "system", "System", "system");
        t.Nodes.Add("your", tvwChild, "SysShort", "Program Shortcuts", "shortcut");
        addLeaves(t, "SysShort", {{"SysShortDesk", "Desktop"}, {"SysShortStart", "Start Menu"}});
        t.Nodes.Add("your", tvwChild, "SysCur", "Cursors", "cursor");
        addLeaves(t, "SysCur", {{"SysCurCurrent", "Current"}});
        b.host.statusText("Getting cursor Themes...");
        addCursorSchemes(t);
        addLeaves(t, "system", {{"SysDesktop", "Desktop"}, {"SysStart", "Start"}, {"SysDrives", "Drives"},
                                {"SysFolders", "Folders"}, {"SysFiles", "Files"}});
        t.Nodes.Add("your", tvwChild, "SysAso", "File Type Icons", "aso");
    }
    t.Nodes("your").SetExpanded(true);
}

std::string FavoriteFolderOf(const std::string& key, const std::string& favoritesFolder) {
    if (favoritesFolder.empty() || !HasFamily(key, kFavoritesKey)) return "";
    std::string folder = favoritesFolder;
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    std::string tail = key.substr(6);
    while (!tail.empty() && tail.front() == '\\') tail.erase(tail.begin());
    return tail.empty() ? folder : folder + "\\" + tail;
}

} // namespace vm
