// The navigation tree in the real main window, hidden: the tree of each data
// set, the switch between them, the Favorites menu on a favourites folder in
// the scratch program folder, and result items dropped onto favourites folders.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "browserstate.h"
#include "commandstate.h"
#include "dialogforms.h"
#include "exportwindow.h"
#include "frmmain.h"
#include "frmmessage.h"
#include "loadedwindow.h"
#include "navtree.h"
#include "registry.h"
#include "scratch.h"
#include "seam.h"
#include "selection.h"
#include "startfolders.h"
#include "state.h"
#include "patience.h"

using namespace vm;

namespace {

class Favorites : public mwtest::LoadedMainWindow {
protected:
    void SetUp() override {
        LoadedMainWindow::SetUp();
        home = folders.FavoritesFolder;
        while (!home.empty() && home.back() == '\\') home.pop_back();
        for (const char* f : {"\\Apps", "\\Apps\\Small ones", "\\Zoo été", "\\Empty"})
            CreateDirectoryA((home + f).c_str(), nullptr);
        w().mnuFavoriteRefresh_Click();
    }
    void TearDown() override {
        Commands = CommandModes{};
        Selection = SelectionState{};
        LoadedMainWindow::TearDown();
        Entries.cmbResult.Clear();
    }
    Node* node(const std::string& key) { return w().pnlNav.Nodes.exists(key) ? &w().pnlNav.Nodes(key) : nullptr; }
    void clickNode(const std::string& key) { w().pnlNav_NodeClick(*node(key)); }
    const SeamRequest* lastAsked(const std::string& kind) {
        const auto& r = Seam::get().requests();
        for (auto it = r.rbegin(); it != r.rend(); ++it)
            if (it->kind == kind) return &*it;
        return nullptr;
    }
    int asked(const std::string& kind) {
        int n = 0;
        for (const SeamRequest& r : Seam::get().requests()) n += r.kind == kind;
        return n;
    }
    std::string home;
};

bool isFolder(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

TEST_F(Favorites, StartUpBuildsTheTreeAndTheSwitchEmptiesTheListAndRebuildsIt) {
    ASSERT_EQ(Keywords.IconSize, 32);
    ASSERT_TRUE(node("favori"));
    // No favourites folder chosen yet: its folder commands wait for one.
    EXPECT_FALSE(w().mnuFavoriteGroupAdd.Enabled());
    EXPECT_FALSE(w().pnlToolbarYour.Buttons("favgroupdel").Enabled());
    EXPECT_TRUE(node("favoriApps\\Small ones"));
    EXPECT_TRUE(node("SysAso"));
    for (int i = 0; i < 5; ++i) Entries.cmbResult.AddItem("1:" + std::to_string(i) + ":01book");
    StartNewList(Paging, 5);

    w().cmbMode.SetListIndex(0);
    EXPECT_EQ(Keywords.IconSize, 16);
    EXPECT_EQ(Entries.cmbResult.ListCount(), 0);
    EXPECT_EQ(Paging.PageCount, 0);
    EXPECT_FALSE(node("favori"));
    EXPECT_FALSE(node("SysAso"));
    EXPECT_TRUE(node("Reference16"));
    EXPECT_FALSE(w().mnuFavorite.Enabled());
    EXPECT_FALSE(w().pnlToolbarYour.Buttons("favrefresh").Enabled());

    w().cmbMode.SetListIndex(1);
    EXPECT_EQ(Keywords.IconSize, 32);
    EXPECT_TRUE(node("favoriApps"));
    EXPECT_TRUE(w().mnuFavorite.Enabled());
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "SaveFilterIndex");
    EXPECT_EQ(reg.RegValue.toText(), "");
}

TEST_F(Favorites, ASwitchDuringAListingWaitsUntilTheListingStopped) {
    w().host.abort(false); // a listing runs
    w().cmbMode.SetListIndex(0);
    EXPECT_EQ(Keywords.IconSize, 32);
    EXPECT_TRUE(Busy.AbortRequested);
    Entries.cmbResult.AddItem("1:1:01book"); // what the listing appended meanwhile
    w().host.abort(true);
    Busy.AbortRequested = false;
    vmtest::waitUntil([] { return Keywords.IconSize == 16; }, [] { DoEvents(); });
    EXPECT_EQ(Keywords.IconSize, 16);
    EXPECT_EQ(Entries.cmbResult.ListCount(), 0);
}

TEST_F(Favorites, CreateFolderRefusesForbiddenAndExistingNames) {
    clickNode("favori");
    EXPECT_TRUE(w().mnuFavoriteGroupAdd.Enabled());
    EXPECT_FALSE(w().mnuFavoriteGroupDel.Enabled());
    Seam::get().queueText("New one");
    w().mnuFavoriteGroupAdd_Click();
    EXPECT_TRUE(isFolder(home + "\\New one"));
    ASSERT_TRUE(node("favori\\New one"));
    EXPECT_EQ(node("favori\\New one")->Parent()->Key(), "favori");

    // Existing: the message, then a new question; Cancel ends it.
    Seam::get().queueText("apps");
    Seam::get().queueCode(vbOK);
    Seam::get().queueCancel();
    w().mnuFavoriteGroupAdd_Click();
    const SeamRequest* exists = lastAsked("MsgBox");
    ASSERT_TRUE(exists);
    EXPECT_EQ(exists->prompt, "A Favorite Folder named 'apps' in the 'Favorites' Folder already excists.\r"
                              "Please choose another Folder Name.");
    EXPECT_EQ(exists->style, vbCritical);
    EXPECT_EQ(asked("InputBox"), 3);

    // A character Windows forbids: refused before anything is made.
    Seam::get().queueText("a:b");
    Seam::get().queueCode(vbCancel);
    w().mnuFavoriteGroupAdd_Click();
    EXPECT_NE(lastAsked("MsgBox")->prompt.find("illegal characters"), std::string::npos);
    EXPECT_FALSE(isFolder(home + "\\a"));
    EXPECT_EQ(asked("InputBox"), 4);

    // Below a folder node.
    clickNode("favoriApps");
    Seam::get().queueText("Inner");
    w().mnuFavoriteGroupAdd_Click();
    EXPECT_TRUE(isFolder(home + "\\Apps\\Inner"));
    EXPECT_TRUE(node("favoriApps\\Inner"));
}

TEST_F(Favorites, RemoveFolderDeletesOnlyInsideTheFavouritesAndClearsTheNodes) {
    vmtest::writeFile(home + "\\Apps\\Small ones\\x.ico", "x");
    clickNode("favoriApps");
    EXPECT_TRUE(w().mnuFavoriteGroupDel.Enabled());
    Seam::get().queueCode(vbNo);
    w().mnuFavoriteGroupDel_Click();
    EXPECT_TRUE(isFolder(home + "\\Apps"));
    EXPECT_TRUE(node("favoriApps"));
    EXPECT_EQ(lastAsked("MsgBox")->style, vbYesNo | vbQuestion);

    Seam::get().queueCode(vbYes);
    w().mnuFavoriteGroupDel_Click();
    EXPECT_FALSE(isFolder(home + "\\Apps"));
    EXPECT_FALSE(node("favoriApps"));
    EXPECT_FALSE(node("favoriApps\\Small ones"));
    EXPECT_EQ(w().favoriteNodes.FavoriteFolderNode, "");
    EXPECT_FALSE(w().mnuFavoriteGroupDel.Enabled());
    const int boxes = asked("MsgBox");
    w().mnuFavoriteGroupDel_Click(); // no node any more: nothing asked
    EXPECT_EQ(asked("MsgBox"), boxes);

    // A folder gone from disk: a message says so and the node stays.
    RemoveDirectoryA((home + "\\Empty").c_str());
    clickNode("favoriEmpty");
    Seam::get().queueCode(vbYes);
    w().mnuFavoriteGroupDel_Click();
    EXPECT_TRUE(node("favoriEmpty"));
    EXPECT_NE(lastAsked("MsgBox")->prompt.find("was not removed"), std::string::npos);

    // A link in the tree: the link goes, what it points at stays.
    vmtest::ScratchDir outside;
    vmtest::writeFile(outside.file("keep.ico"), "x");
    if (CreateSymbolicLinkA((home + "\\Link").c_str(), outside.path().c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY)) {
        w().pnlNav.Nodes.Add("favori", tvwChild, "favoriLink", "Link", "bookfav");
        clickNode("favoriLink");
        Seam::get().queueCode(vbYes);
        w().mnuFavoriteGroupDel_Click();
        EXPECT_TRUE(vmtest::fileExists(outside.file("keep.ico")));
    }
}

TEST_F(Favorites, RefreshShowsWhatChangedOnDiskAndForgetsTheNodes) {
    clickNode("favoriApps");
    CreateDirectoryA((home + "\\Made outside").c_str(), nullptr);
    w().mnuFavoriteRefresh_Click();
    EXPECT_TRUE(node("favoriMade outside"));
    EXPECT_EQ(node("favori")->Parent()->Key(), "your");
    EXPECT_EQ(node("favori")->Next()->Key(), "reference");
    EXPECT_EQ(w().favoriteNodes.FavoriteFolderNode, "");
    EXPECT_EQ(w().favoriteNodes.CurrentFavoriteNode, "");
    EXPECT_FALSE(w().mnuFavoriteGroupAdd.Enabled());
    Seam::get().queueText("never");
    w().mnuFavoriteGroupAdd_Click();
    EXPECT_EQ(asked("InputBox"), 0);
}

TEST_F(Favorites, DroppedFavouritesAreCopiedOrMovedOnlyOnceStored) {
    const std::string apps = home + "\\Apps\\";
    vmtest::writeFile(apps + "star.ico", "icon");
    ListItem& item = w().pnlResult.ListItems.Add(-1, "", "star");
    item.SetSubItems(2, "File Favorite");
    w().pnlResult.SetSelectedItem(&item);
    Selection.SelectedItemFolder = apps;
    Selection.SelectedItemName = "star.ico";
    // Save As in drop mode: writes into the selected favourites node's folder.
    bool write = true;
    int saves = 0;
    w().mnuFileSaveAs.Click = [&] {
        ++saves;
        ASSERT_TRUE(folderPicker.SearchingFavorites && Exports.FavoriteDropMode);
        Exports.FavoriteDropMode = false;
        const std::string folder = FavoriteFolderOf(w().pnlNav.SelectedItem()->Key(), folders.FavoritesFolder);
        if (write) vmtest::writeFile(folder + "\\star.ico", "icon");
    };
    w().pnlNav.SetSelectedItem(node("favoriZoo été"));
    IDataObject* text = NewTextData("star");
    DataObject data(text);
    int effect = vbDropEffectCopy | vbDropEffectMove;
    w().pnlNav_OLEDragDrop(data, effect, vbLeftButton, 0, 0, 0);
    EXPECT_TRUE(vmtest::fileExists(home + "\\Zoo été\\star.ico"));
    EXPECT_TRUE(vmtest::fileExists(apps + "star.ico")); // a copy
    EXPECT_FALSE(Exports.FavoriteDropMode || folderPicker.SearchingFavorites);

    // Shift: moved once the new file stands.
    w().pnlNav.SetSelectedItem(node("favoriEmpty"));
    w().pnlNav_OLEDragDrop(data, effect, vbLeftButton, vbShiftMask, 0, 0);
    EXPECT_TRUE(vmtest::fileExists(home + "\\Empty\\star.ico"));
    EXPECT_FALSE(vmtest::fileExists(apps + "star.ico"));

    // A save that stored nothing leaves the old file.
    Selection.SelectedItemFolder = home + "\\Empty\\";
    write = false;
    w().pnlNav.SetSelectedItem(node("favoriApps"));
    w().pnlNav_OLEDragDrop(data, effect, vbLeftButton, vbShiftMask, 0, 0);
    EXPECT_TRUE(vmtest::fileExists(home + "\\Empty\\star.ico"));

    // A move onto its own folder is refused before anything is saved.
    write = true;
    const int before = saves;
    w().pnlNav.SetSelectedItem(node("favoriEmpty"));
    w().pnlNav_OLEDragDrop(data, effect, vbLeftButton, vbShiftMask, 0, 0);
    EXPECT_EQ(saves, before);
    EXPECT_EQ(lastAsked("MsgBox")->title, "Move Favorite");
    EXPECT_TRUE(vmtest::fileExists(home + "\\Empty\\star.ico"));

    // Not a favourite: Shift still copies.
    item.SetSubItems(2, "File");
    w().pnlNav.SetSelectedItem(node("favoriApps"));
    w().pnlNav_OLEDragDrop(data, effect, vbLeftButton, vbShiftMask, 0, 0);
    EXPECT_TRUE(vmtest::fileExists(home + "\\Apps\\star.ico"));
    EXPECT_TRUE(vmtest::fileExists(home + "\\Empty\\star.ico"));
    text->Release();
}

TEST_F(Favorites, DragOverAcceptsOnlyTheSelectedItemOverFavouritesFolders) {
    ListItem& item = w().pnlResult.ListItems.Add(-1, "", "boat");
    w().pnlResult.SetSelectedItem(&item);
    auto over = [&](const std::string& key, const std::string& dragged, int shift, Node** highlight = nullptr) {
        Node* target = node(key);
        target->EnsureVisible();
        RECT r{};
        const HTREEITEM handle = target->handle();
        memcpy(&r, &handle, sizeof handle);
        SendMessageA(w().pnlNav.hWnd(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
        IDataObject* text = NewTextData(dragged);
        DataObject data(text);
        int effect = vbDropEffectCopy | vbDropEffectMove;
        w().pnlNav_OLEDragOver(data, effect, vbLeftButton, shift, static_cast<float>(pixelsToTwipsX(r.left + 2)),
                               static_cast<float>(pixelsToTwipsY((r.top + r.bottom) / 2)), vbOver);
        text->Release();
        if (highlight) *highlight = w().pnlNav.DropHighlight();
        return effect;
    };
    Node* lit = nullptr;
    EXPECT_EQ(over("your", "boat", 0, &lit), vbDropEffectNone);
    EXPECT_EQ(lit, node("your"));
    EXPECT_EQ(over("favori", "other", 0, &lit), vbDropEffectNone);
    EXPECT_EQ(lit, nullptr) << (lit ? lit->Key() : "");
    node("favoriApps")->SetExpanded(false);
    EXPECT_EQ(over("favoriApps", "BOAT", vbShiftMask), vbDropEffectCopy); // not a favourite: copy only
    EXPECT_EQ(w().pnlNav.SelectedItem(), node("favoriApps"));
    EXPECT_TRUE(node("favoriApps")->Expanded());
    item.SetSubItems(2, "File Favorite");
    EXPECT_EQ(over("favoriApps", "boat", vbShiftMask), vbDropEffectMove);
    EXPECT_EQ(over("favoriApps", "boat", vbShiftMask | vbCtrlMask), vbDropEffectCopy | vbDropEffectMove);
    // The drag changed no listing and no favourites state.
    EXPECT_EQ(w().favoriteNodes.CurrentFavoriteNode, "");
}

TEST_F(Favorites, EscInTheTreeStopsOnlyRunningWorkAndOrganizeWaitsForItsNotice) {
    int esc = 27;
    w().pnlNav_KeyPress(esc);
    EXPECT_FALSE(Busy.AbortRequested); // idle: it would wipe the next listing
    w().host.abort(false);
    w().pnlNav_KeyPress(esc);
    EXPECT_TRUE(Busy.AbortRequested);
    w().host.abort(true);
    Busy.AbortRequested = false;

    // The notice closed by its Close button starts nothing.
    const int forms = asked("Form");
    w().mnuFavoriteOrganize_Click();
    EXPECT_EQ(asked("Shell"), 0);
    EXPECT_EQ(asked("Form"), forms + 1);
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "OrganizeFav", Variant("1"), REG_SZ);
    w().mnuFavoriteOrganize_Click();
    EXPECT_EQ(asked("Form"), forms + 1);
    ASSERT_TRUE(lastAsked("Shell"));
    EXPECT_EQ(lastAsked("Shell")->prompt, paths.WindowsDir + "\\Explorer.exe");
}

TEST_F(Favorites, DeleteFavoriteTouchesOnlyFilesOfTheFavouritesTree) {
    vmtest::writeFile(dir.file("outside.ico"), "x");
    Selection.SelectedItemFolder = dir.path() + "\\";
    Selection.SelectedItemName = "outside.ico";
    w().mnuFavoriteDel_Click();
    EXPECT_TRUE(vmtest::fileExists(dir.file("outside.ico")));

    vmtest::writeFile(home + "\\Apps\\in.ico", "x");
    clickNode("favoriApps");
    Selection.SelectedItemFolder = home + "\\Apps\\";
    Selection.SelectedItemName = "in.ico";
    w().mnuFavoriteDel_Click();
    EXPECT_FALSE(vmtest::fileExists(home + "\\Apps\\in.ico"));
}
