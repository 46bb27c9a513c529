// What a click on each kind of node lists: the source it reaches, the status
// texts, the favourites state, and the window left idle on every path.
#include <gtest/gtest.h>

#include <windows.h>

#include "navtree.h"
#include "nodedispatch.h"
#include "registry.h"
#include "scratch.h"
#include "systemicons.h"

using namespace vm;

namespace {

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override {
        host.setMessagePanel = [this](const std::string& t) { messages.push_back(t); };
        host.setAbort = [this](bool idle) {
            this->idle = idle;
            calls.push_back(idle ? "idle" : "busy");
        };
        host.setHourglass = [this](bool on) { hourglass = on; };
        host.showPage = [this] { calls.push_back("page " + std::to_string(entries.cmbResult.ListCount())); };
        RegDeleteTreeA(HKEY_CURRENT_USER, kCursorSchemesKey);
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kCursorSchemesKey); }

    void click(const std::string& key, const std::string& tag = "", bool children = false) {
        SearchContext search{keywords, refs, entries, paging, busy, host, box};
        NodeClickContext ctx{search,   sources,    lstChange, favorites, searching, favoritesFolder, os,
                             "c:\\windows", "c:\\windows\\system32",
                             [this](bool add, bool remove) { folderCommands = {add, remove}; },
                             [this] { keywordCleared = true; }};
        procNodeClick(ctx, {key, tag, children});
    }

    KeywordState keywords;
    UserReferences refs;
    EntryLists entries;
    PagingState paging;
    BusyState busy;
    BrowserHost host;
    HiddenList boxList;
    ListOf<HiddenList> box{boxList};
    NodeSources sources;
    HiddenList lstChange;
    FavoriteNodes favorites;
    bool searching = false;
    std::string favoritesFolder;
    std::string os = "NT4";

    std::vector<std::string> messages, calls;
    bool idle = true, hourglass = false, keywordCleared = false;
    std::pair<bool, bool> folderCommands{true, true};
};

} // namespace

TEST_F(Dispatch, ParentsListNothingAndDisableTheFolderCommands) {
    favorites.CurrentFavoriteNode = "favoriX";
    favorites.FavoriteFolderNode = "favoriX";
    searching = true;
    entries.cmbResult.AddItem("kept");
    for (const char* parent : {"vellumar", "your", "system", "SysCur", "reference"}) click(parent, "", true);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(entries.cmbResult.ListCount(), 1);
    EXPECT_EQ(favorites.CurrentFavoriteNode, "");
    EXPECT_EQ(favorites.FavoriteFolderNode, "favoriX"); // kept for the folder commands
    EXPECT_FALSE(searching);
    EXPECT_EQ(folderCommands, std::make_pair(false, false));
}

TEST_F(Dispatch, MissingSourcesGiveAnEmptyPageWithoutError) {
    for (const char* key : {"SysShortStart", "SysShortDesk", "SysCurCurrent", "SysAso", "SysDrives"}) {
        entries.cmbResult.AddItem("stale");
        calls.clear();
        messages.clear();
        click(key);
        EXPECT_EQ(entries.cmbResult.ListCount(), 0) << key;
        EXPECT_EQ(calls, std::vector<std::string>{"page 0"}) << key;
        EXPECT_EQ(paging.CurrentPage, 1);
        EXPECT_EQ(messages.front(), "Searching for icons, please wait...");
        EXPECT_EQ(messages.back(), "") << key;
        EXPECT_FALSE(hourglass) << key;
    }
}

TEST_F(Dispatch, WindowsSourcesGetTheirArguments) {
    std::vector<std::string> got;
    sources.searchShortcuts = [&](const std::string& scope) { got.push_back("shortcuts " + scope); };
    sources.currentCursor = [&](std::int32_t id, const std::string& role) {
        got.push_back(role + " " + std::to_string(id));
        entries.cmbResult.AddItem(role);
    };
    sources.searchFileTypes = [&](HKEY root, const std::string& path) {
        got.push_back("types " + std::to_string(root == HKEY_CLASSES_ROOT) + "[" + path + "]");
    };
    sources.searchSystemIcons = [&] { got.push_back("system " + std::to_string(lstChange.ListCount())); };

    click("SysShortStart");
    click("sysshortdesk");
    EXPECT_EQ(got, (std::vector<std::string>{"shortcuts Start Menu", "shortcuts Desktop"}));
    EXPECT_TRUE(calls.empty()); // the shortcut lister pages its own list

    got.clear();
    click("SysCurCurrent");
    ASSERT_EQ(got.size(), 14u);
    EXPECT_EQ(got.front(), "AppStarting 32650");
    EXPECT_EQ(got[6], "NWPen 32631");
    EXPECT_EQ(got.back(), "Wait 32514");
    EXPECT_EQ(calls.back(), "page 14");
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Searching for cursors, please wait..."), 1);

    got.clear();
    lstChange.AddItem("old row");
    click("SysAso");
    EXPECT_EQ(got, std::vector<std::string>{"types 1[]"});
    EXPECT_EQ(lstChange.ListCount(), 0);

    got.clear();
    click("SysFolders");
    EXPECT_EQ(got, std::vector<std::string>{"system 8"});
    EXPECT_EQ(lstChange.List(7), "Program Group;c:\\windows\\system32\\shell32.dll,36;HKEY_LOCAL_MACHINE\\Software\\"
                                 "Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons,36");
    // A listing of another kind leaves the rows for the change window.
    click("Reference16");
    EXPECT_EQ(lstChange.ListCount(), 8);
}

TEST_F(Dispatch, SystemIconTablesFollowTheWindowsVersion) {
    auto names = [](const std::string& key, const std::string& os) {
        std::vector<std::string> n;
        for (const std::string& row : SystemIconRows(key, os, "c:\\windows", "c:\\windows\\system"))
            n.push_back(row.substr(0, row.find(';')));
        return n;
    };
    EXPECT_EQ(names("SysFolders", "98").size(), 11u);
    EXPECT_EQ(names("SysFolders", "98").back(), "Scheduled Tasks");
    EXPECT_EQ(names("SysFolders", "2000").size(), 9u);
    EXPECT_EQ(names("SysFolders", "2000").back(), "My Briefcase");
    for (const char* os : {"95", "NT3", "NT4", "unknown"}) EXPECT_EQ(names("SysFolders", os).back(), "Program Group");
    EXPECT_EQ(names("SysStart", "98").size(), 12u);
    EXPECT_EQ(names("SysStart", "2000"),
              (std::vector<std::string>{"Program Group", "Documents", "Settings", "Control Panel", "Printers", "Find",
                                        "Help", "Run", "Suspend", "Shut Down"}));
    for (const char* os : {"95", "98", "ME", "2000"}) {
        EXPECT_EQ(names("SysDrives", os).size(), 9u);
        EXPECT_EQ(names("SysFiles", os).size(), 8u);
        // Names are unique in every table: the change window finds a row by its name.
        for (const char* key : {"SysDesktop", "SysStart", "SysDrives", "SysFolders", "SysFiles"}) {
            auto n = names(key, os);
            std::sort(n.begin(), n.end());
            EXPECT_EQ(std::adjacent_find(n.begin(), n.end()), n.end()) << key << " " << os;
        }
    }
    const auto desktop98 = SystemIconRows("sysdesktop", "ME", "c:\\windows", "c:\\windows\\system");
    ASSERT_EQ(desktop98.size(), 6u);
    EXPECT_EQ(desktop98[0], "My Computer;c:\\windows\\explorer.exe,0;HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\"
                            "{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\Defaulticon");
    EXPECT_EQ(desktop98[3], "Recycle Bin (Full);c:\\windows\\system\\shell32.dll,32;HKEY_USERS\\.DEFAULT\\Software\\"
                            "Classes\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\Defaulticon,full");
    const auto desktop2000 = SystemIconRows("SysDesktop", "2000", "c:\\w", "c:\\s");
    EXPECT_EQ(desktop2000[3].substr(desktop2000[3].size() - 17), "\\DefaultIcon,Full");
    EXPECT_EQ(SystemIconRows("SysFiles", "ME", "c:\\w", "c:\\s")[0],
              "Text Document;c:\\s\\shell32.dll,67;HKEY_CLASSES_ROOT\\txtfile\\Defaulticon");
    EXPECT_EQ(SystemIconRows("SysFiles", "98", "c:\\w", "c:\\s")[4],
              "Installation Settings;c:\\s\\shell32.dll,64;HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES\\inffile\\Defaulticon");
    EXPECT_EQ(SystemIconRows("SysDrives", "95", "c:\\w", "c:\\s")[1],
              "Floppy Drive [3,5];c:\\s\\shell32.dll,6;HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\"
              "CurrentVersion\\explorer\\Shell Icons,6");
    EXPECT_TRUE(SystemIconRows("SysAso", "98", "c:\\w", "c:\\s").empty());

    // Every location starts with a root name the readers know.
    for (const char* os : {"95", "98", "ME", "2000"})
        for (const char* key : {"SysDesktop", "SysStart", "SysDrives", "SysFolders", "SysFiles"})
            for (const std::string& row : SystemIconRows(key, os, "c:\\w", "c:\\s")) {
                const std::string location = row.substr(row.rfind(';') + 1);
                EXPECT_NE(RegistryRootOf(location.substr(0, location.find('\\'))), nullptr) << row;
            }
    EXPECT_EQ(RegistryRootOf("HKEY_USER"), HKEY_USERS);
    EXPECT_EQ(RegistryRootOf("hkey_local_machine"), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(RegistryRootOf("HKEY_CURRENT_CONFIG"), nullptr);
}

TEST_F(Dispatch, CursorSchemeListsEveryFieldAndNothingWhenEmpty) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kCursorSchemesKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
    const std::string value = "a.cur,,c.ani", empty;
    RegSetValueExA(key, "Mine", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), 13);
    RegSetValueExA(key, "Blank", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    RegCloseKey(key);
    std::vector<std::string> got;
    sources.themeCursor = [&](const std::string& file, const std::string& scheme, int position) {
        got.push_back(file + "|" + scheme + "|" + std::to_string(position));
        entries.cmbResult.AddItem(file);
    };
    click("cthemeMine");
    EXPECT_EQ(got, (std::vector<std::string>{"a.cur|Mine|1", "|Mine|2", "c.ani|Mine|3"}));
    EXPECT_EQ(calls.back(), "page 3");
    got.clear();
    for (const char* k : {"cthemeBlank", "cthemeGone"}) {
        click(k);
        EXPECT_TRUE(got.empty());
        EXPECT_EQ(calls.back(), "page 0");
    }
}

TEST_F(Dispatch, GroupNodeFindsItsKeywordByText) {
    keywords.KeywordIcons[7] = "1:2:01;";
    boxList.AddItem("alpha");
    boxList.AddItem("group trees");
    boxList.SetItemData(1, 7);
    // The box gained a keyword before the group since the tree was built.
    boxList.AddItem("GROUP TREES", 0);
    boxList.SetItemData(0, 7);
    click("groups1", "group trees");
    EXPECT_EQ(boxList.ListIndex(), 0); // the first entry equal in any case
    EXPECT_TRUE(calls.empty());        // the window's Click runs the search on a new choice
    // Clicked again with the keyword chosen: the search runs here, once.
    click("groups1", "group trees");
    EXPECT_EQ(calls, std::vector<std::string>{"page 1"});
    // A keyword that left the box lists nothing, and says so.
    calls.clear();
    click("groups5", "group gone");
    EXPECT_EQ(calls, std::vector<std::string>{"page 0"});
    EXPECT_FALSE(hourglass);
}

TEST_F(Dispatch, LibraryNodesReachTheirSearches) {
    keywords.KeywordIcons[3] = "1:0:01;1:1:05;1:2:18;";
    boxList.AddItem("stars");
    boxList.SetItemData(0, 3);
    keywords.KeywordNames[3] = "stars";
    click("AniHi");
    EXPECT_EQ(entries.cmbResult.ListCount(), 1);
    EXPECT_EQ(entries.cmbResult.List(0), "1:1:05book");
    click("s"); // letters compare in any case
    EXPECT_EQ(entries.cmbResult.ListCount(), 3);
    EXPECT_TRUE(idle);
}

TEST_F(Dispatch, FavouritesListOnlyTheFoldersOwnIconFiles) {
    vmtest::ScratchDir dir;
    favoritesFolder = dir.path() + "\\";
    CreateDirectoryA(dir.file("Sub dir").c_str(), nullptr);
    for (const char* f : {"a.ICO", "b.txt", "c.exe", "d.ani", "Sub dir\\e.ico", "Sub dir\\f.cur"})
        vmtest::writeFile(dir.file(f), "x");
    std::vector<std::string> listed;
    bool flagDuring = false;
    sources.searchOpen = [&] {
        flagDuring = searching;
        for (int i = 0; i < entries.lstFiles.ListCount(); ++i) listed.push_back(entries.lstFiles.List(i));
        host.page();
    };
    entries.cmbResult.AddItem("stale");
    entries.lstZipFiles.AddItem("zip");
    click("favori", "", true);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{dir.file("a.ICO"), dir.file("c.exe"), dir.file("d.ani")}));
    EXPECT_TRUE(flagDuring);
    EXPECT_FALSE(searching);
    EXPECT_EQ(entries.lstZipFiles.ListCount(), 0);
    EXPECT_EQ(favorites.CurrentFavoriteNode, "favori");
    EXPECT_EQ(folderCommands, std::make_pair(true, false)); // the root is never removed
    EXPECT_EQ(calls, (std::vector<std::string>{"busy", "page 0", "idle"}));
    EXPECT_TRUE(keywordCleared);
    EXPECT_EQ(messages.back(), "");

    listed.clear();
    click("favoriSub dir");
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{dir.file("Sub dir\\e.ico"), dir.file("Sub dir\\f.cur")}));
    EXPECT_EQ(folderCommands, std::make_pair(true, true));
    EXPECT_EQ(favorites.FavoriteFolderNode, "favoriSub dir");

    // No favourites folder set: nothing is walked, not the root of the drive.
    listed.clear();
    favoritesFolder.clear();
    click("favori", "", true);
    EXPECT_TRUE(listed.empty());
}

TEST_F(Dispatch, AbortDuringTheFavouritesWalkStillEmptiesTheList) {
    vmtest::ScratchDir dir;
    favoritesFolder = dir.path();
    for (char c = 'a'; c < 'u'; ++c) vmtest::writeFile(dir.path() + "\\" + c + ".ico", "x");
    host.doEvents = [&] { busy.AbortRequested = true; }; // Esc at the walk's first yield
    int lister = 0;
    entries.cmbResult.AddItem("stale entry of the listing before");
    click("favori");
    EXPECT_EQ(lister, 0);
    EXPECT_EQ(entries.cmbResult.ListCount(), 0);
    EXPECT_LT(entries.lstFiles.ListCount(), 20);
    EXPECT_TRUE(idle);
    EXPECT_FALSE(busy.AbortRequested); // it would wipe the next listing
    EXPECT_FALSE(hourglass);
}
