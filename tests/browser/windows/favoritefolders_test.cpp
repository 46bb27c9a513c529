// The favourites folder on disk: folder names, what counts as inside the
// favourites tree, removal that never leaves the tree, and the walker.
#include <gtest/gtest.h>

#include <windows.h>

#include "favoritefolders.h"
#include "files.h"
#include "folderwalker.h"
#include "scratch.h"

using namespace vm;

TEST(FavoriteFolders, FolderNamesWindowsForbids) {
    for (const char* good : {"Tools", "Small ones", "Café", "a.b", "con1", "COM0"}) EXPECT_TRUE(IsValidFolderName(good)) << good;
    for (const char* bad : {"", "a/b", "a\\b", "what?", "x*", "a:b", "\"q\"", "<", ">", "a|b", "dot.", "blank ", "CON",
                            "nul.txt", "com3", "LPT9", "tab\there"})
        EXPECT_FALSE(IsValidFolderName(bad)) << bad;
    // The length Windows allows is counted in characters: 100 of three bytes each pass, 241 do not.
    std::string wide;
    for (int i = 0; i < 100; ++i) wide += "图";
    EXPECT_TRUE(IsValidFolderName(wide));
    EXPECT_FALSE(IsValidFolderName(std::string(241, 'a')));
}

TEST(FavoriteFolders, InsideMeansStrictlyBelowAnExistingFolder) {
    vmtest::ScratchDir dir;
    const std::string home = dir.file("Favs");
    CreateDirectoryA(home.c_str(), nullptr);
    CreateDirectoryA((home + "\\A").c_str(), nullptr);
    CreateDirectoryA(dir.file("Outside").c_str(), nullptr);
    EXPECT_TRUE(IsFolderInside(home + "\\A", home));
    EXPECT_TRUE(IsFolderInside(home + "\\\\A", home + "\\"));
    EXPECT_TRUE(IsFolderInside(home + "\\a", home));
    EXPECT_FALSE(IsFolderInside(home, home));
    EXPECT_FALSE(IsFolderInside(home + "\\", home));
    EXPECT_FALSE(IsFolderInside(home + "\\Missing", home));
    EXPECT_FALSE(IsFolderInside(home + "\\..\\Outside", home));
    EXPECT_FALSE(IsFolderInside(dir.file("FavsOther"), home));
    EXPECT_FALSE(IsFolderInside(home + "\\A", ""));

    EXPECT_TRUE(IsFavoriteFile(home + "\\A\\x.ico", home));
    EXPECT_FALSE(IsFavoriteFile(dir.file("x.ico"), home));
    EXPECT_FALSE(IsFavoriteFile(home + "\\x.ico", ""));
    EXPECT_TRUE(SamePath(home + "\\A\\", home + "\\\\a"));
}

TEST(FavoriteFolders, RemoveTakesEverythingBelowAndNothingElse) {
    vmtest::ScratchDir dir;
    const std::string top = dir.file("Top");
    CreateDirectoryA(top.c_str(), nullptr);
    CreateDirectoryA((top + "\\Deep").c_str(), nullptr);
    CreateDirectoryA((top + "\\Deep\\Er").c_str(), nullptr);
    vmtest::writeFile(top + "\\one.ico", "x");
    vmtest::writeFile(top + "\\Deep\\Er\\two.ico", "x");
    vmtest::writeFile(top + "\\Deep\\ro.ico", "x");
    SetFileAttributesA((top + "\\Deep\\ro.ico").c_str(), FILE_ATTRIBUTE_READONLY);
    vmtest::writeFile(dir.file("beside.ico"), "x");
    // A link inside leads out of the tree: it goes, its target stays.
    CreateDirectoryA(dir.file("Target").c_str(), nullptr);
    vmtest::writeFile(dir.file("Target\\keep.ico"), "x");
    const bool linked = CreateSymbolicLinkA((top + "\\Link").c_str(), dir.file("Target").c_str(),
                                            SYMBOLIC_LINK_FLAG_DIRECTORY) != 0;

    EXPECT_EQ(RemoveFolderTree(top), "");
    EXPECT_EQ(GetFileAttributesA(top.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(vmtest::fileExists(dir.file("beside.ico")));
    if (linked) {
        EXPECT_TRUE(vmtest::fileExists(dir.file("Target\\keep.ico")));
    }
    EXPECT_NE(RemoveFolderTree(dir.file("Gone")), "");
}

namespace {
struct Walked {
    HiddenList files;
    BusyState busy;
    BrowserHost host;
    std::vector<std::string> nodes;
    FolderWalk walk{files, busy, host};
    Walked() {
        walk.addFolderNode = [this](const std::string& parent, const std::string& key, const std::string& text) {
            nodes.push_back(parent + ">" + key + ">" + text);
        };
    }
};
} // namespace

TEST(FolderWalker, FilesBeforeSubfoldersAndNodesWhileSearchingFavorites) {
    vmtest::ScratchDir dir;
    CreateDirectoryA(dir.file("A").c_str(), nullptr);
    CreateDirectoryA(dir.file("A\\B").c_str(), nullptr);
    CreateDirectoryA(dir.file("m.ico").c_str(), nullptr); // a folder matching the pattern counts as a file
    vmtest::writeFile(dir.file("top.ico"), "x");
    vmtest::writeFile(dir.file("A\\B\\low.ico"), "x");
    vmtest::writeFile(dir.file("A\\skip.txt"), "x");

    Walked w;
    std::string folder = dir.path();
    std::int32_t files = 5, folders = 0;
    procWalkFolders(w.walk, folder, "*.ico", files, folders);
    EXPECT_EQ(folder, dir.path() + "\\");
    EXPECT_EQ(files, 7); // added to, never reset
    EXPECT_EQ(folders, 2);
    EXPECT_TRUE(w.nodes.empty());

    Walked deep;
    deep.walk.WalkSubfolders = true;
    deep.walk.SearchingFavorites = true;
    deep.walk.FavoritesFolder = dir.path();
    folder = dir.path();
    files = folders = 0;
    procWalkFolders(deep.walk, folder, "*.ico", files, folders);
    EXPECT_EQ(deep.files.List(deep.files.ListCount() - 1), dir.file("A\\B\\low.ico"));
    EXPECT_EQ(files, 3);
    EXPECT_EQ(folders, 3);
    EXPECT_NE(std::find(deep.nodes.begin(), deep.nodes.end(), "favoriA>favoriA\\B>B"), deep.nodes.end());
    EXPECT_NE(std::find(deep.nodes.begin(), deep.nodes.end(), "favori>favoriA>A"), deep.nodes.end());
}

TEST(FolderWalker, LongNamesInAnyLanguageAreFoundWholeAndRemoved) {
    vmtest::ScratchDir dir;
    std::string longName; // 80 characters, 240 bytes in UTF-8 (as long as the host's file system keeps)
    for (int i = 0; i < 80; ++i) longName += "图";
    ASSERT_TRUE(CreateDirectoryA(dir.file("Ünïcødé 图标").c_str(), nullptr));
    ASSERT_TRUE(vmtest::writeFile(dir.file("Ünïcødé 图标\\" + longName + ".ico"), "x"));
    Walked w;
    w.walk.WalkSubfolders = true;
    w.walk.SearchingFavorites = true;
    w.walk.FavoritesFolder = dir.path();
    std::string folder = dir.path();
    std::int32_t files = 0, folders = 0;
    procWalkFolders(w.walk, folder, "*.ico", files, folders);
    ASSERT_EQ(files, 1);
    EXPECT_EQ(w.files.List(0), dir.file("Ünïcødé 图标\\" + longName + ".ico"));
    EXPECT_TRUE(vmtest::fileExists(w.files.List(0)));
    EXPECT_EQ(w.nodes, std::vector<std::string>{"favori>favoriÜnïcødé 图标>Ünïcødé 图标"});
    EXPECT_EQ(RemoveFolderTree(dir.file("Ünïcødé 图标")), "");
    EXPECT_FALSE(vmtest::fileExists(w.files.List(0)));
}

TEST(FolderWalker, YieldsAreSpacedInTimeButTheFirstComesAtOnce) {
    vmtest::ScratchDir dir;
    for (char c = 'a'; c <= 'z'; ++c) vmtest::writeFile(dir.path() + "\\" + c + ".ico", "x");
    Walked w;
    w.walk.yieldIntervalMs = 60000;
    int yields = 0;
    w.host.doEvents = [&] {
        ++yields;
        w.busy.AbortRequested = true; // Esc at the first yield
    };
    std::string folder = dir.path();
    std::int32_t files = 0, folders = 0;
    procWalkFolders(w.walk, folder, "*.*", files, folders);
    EXPECT_EQ(yields, 1);
    EXPECT_EQ(files, 0);
}

TEST(FolderWalker, EscStopsEveryLevelAtOnceAndLinksAreNotFollowed) {
    vmtest::ScratchDir dir;
    std::string path = dir.path();
    for (int level = 0; level < 5; ++level) {
        path += "\\L" + std::to_string(level);
        CreateDirectoryA(path.c_str(), nullptr);
        for (int i = 0; i < 3; ++i) vmtest::writeFile(path + "\\f" + std::to_string(i) + ".ico", "x");
    }
    Walked w;
    w.walk.WalkSubfolders = true;
    int yields = 0, afterAbort = 0;
    w.host.doEvents = [&] {
        if (w.busy.AbortRequested) ++afterAbort;
        if (++yields == 9) w.busy.AbortRequested = true;
    };
    std::string folder = dir.path();
    std::int32_t files = 0, folders = 0;
    procWalkFolders(w.walk, folder, "*.*", files, folders);
    EXPECT_EQ(afterAbort, 0);
    EXPECT_LT(files, 15);
    EXPECT_EQ(w.files.ListCount(), files); // what was found stays

    vmtest::ScratchDir outside;
    vmtest::writeFile(outside.file("far.ico"), "x");
    vmtest::ScratchDir home;
    if (!CreateSymbolicLinkA(home.file("Out").c_str(), outside.path().c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY))
        GTEST_SKIP() << "no directory links here";
    Walked linked;
    linked.walk.WalkSubfolders = true;
    folder = home.path();
    files = folders = 0;
    procWalkFolders(linked.walk, folder, "*.ico", files, folders);
    EXPECT_EQ(files, 0);
    EXPECT_EQ(folders, 0);
}
