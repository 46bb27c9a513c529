// The main window's navigation tree: building it for the data set, what a
// click on a node lists, the tree's keys and the switch of the data set.
#include "frmmain.h"

#include "browserstate.h"
#include "commandstate.h"
#include "dialogstate.h"
#include "folderwalker.h"
#include "frmzoom.h"
#include "listaccess.h"
#include "navtree.h"
#include "seam.h"
#include "startfolders.h"
#include "winsources.h"
#include "state.h"

namespace vm {

namespace {
constexpr UINT_PTR kDataSetRetry = 75;

void CALLBACK retryDataSetSwitch(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    frmMain().procSwitchDataSet();
}
} // namespace

void FrmMain::connectTree() {
    VM_ON(pnlNav, NodeClick);
    VM_ON(pnlNav, KeyPress);
    VM_ON(mnuFavoriteAdd, Click);
    VM_ON(mnuFavoriteDel, Click);
    VM_ON(mnuFavoriteGroupAdd, Click);
    VM_ON(mnuFavoriteGroupDel, Click);
    VM_ON(mnuFavoriteRefresh, Click);
    VM_ON(mnuFavoriteOrganize, Click);
    navDrop.OLEDragOver = [this](DataObject& Data, int& Effect, int Button, int Shift, float X, float Y, int State) {
        pnlNav_OLEDragOver(Data, Effect, Button, Shift, X, Y, State);
    };
    navDrop.OLEDragDrop = [this](DataObject& Data, int& Effect, int Button, int Shift, float X, float Y) {
        pnlNav_OLEDragDrop(Data, Effect, Button, Shift, X, Y);
    };
    navDrop.attach(pnlNav);
    pnlResult.OLEStartDrag = [this] { pnlResult_OLEStartDrag(); };
    // A favourites folder lists its files as opened files are listed, without ZIP members.
    nodeSources.searchOpen = [this] {
        OpenSearchContext ctx = openSearch();
        ctx.SearchingFavorites = folderPicker.SearchingFavorites;
        procSearchOpen(ctx);
    };
    ConnectWindowsSources(*this);
    // The keyword search's match on favourites' names: every file of the favourites tree.
    host.listFavoriteFiles = [this](HiddenList& files) {
        if (folders.FavoritesFolder.empty()) return;
        FolderWalk walk{files, Busy, host};
        walk.yieldIntervalMs = kSpacedYieldMs;
        walk.WalkSubfolders = true;
        std::string folder = folders.FavoritesFolder;
        std::int32_t fileCount = 0, folderCount = 0;
        procWalkFolders(walk, folder, "*.*", fileCount, folderCount);
    };
}

void FrmMain::procBuildTree() {
    ListOf<ComboBox> search(cmbSearch);
    TreeBuild build{pnlNav, search, host, identity.ProductName, Keywords.IconSize, folders.FavoritesFolder,
                    folders.FavoritesFolderName};
    vm::procBuildTree(build);
    // The nodes they named are gone with the old tree.
    favoriteNodes = FavoriteNodes{};
    enableFolderCommands(false, false);
}

void FrmMain::enableFolderCommands(bool add, bool remove) {
    mnuFavoriteGroupAdd.SetEnabled(add);
    pnlToolbarYour.Buttons("favgroupadd").SetEnabled(add);
    mnuFavoriteGroupDel.SetEnabled(remove);
    pnlToolbarYour.Buttons("favgroupdel").SetEnabled(remove);
}

// A listing pumps messages, and keys already typed into the tree move its
// selection meanwhile. A listing started from there would end first and the
// one it interrupted would then go on over it, leaving the list showing
// another node than the tree. So the node selected meanwhile waits: the running
// listing stops, and the tree's selected node is listed once it has.
void FrmMain::pnlNav_NodeClick(Node& Node) {
    if (nodeListing) {
        nodeSelectedMeanwhile = true;
        Busy.AbortRequested = true;
        return;
    }
    nodeListing = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{nodeListing};
    listNode(Node);
    while (nodeSelectedMeanwhile) {
        nodeSelectedMeanwhile = false;
        Busy.AbortRequested = false;
        ::vm::Node* selected = pnlNav.SelectedItem();
        if (!selected) break;
        listNode(*selected);
    }
}

void FrmMain::listNode(Node& Node) {
    const ClickedNode clicked{Node.Key(), Node.Tag, Node.Children() > 0};
    ListOf<ComboBox> search(cmbSearch);
    ListingScope listing(listingDepth);
    SearchContext searchContext{Keywords, UserRefs, Entries, Paging, Busy, host, search, DoubleClick.SearchFav};
    NodeClickContext ctx{searchContext, nodeSources, lstChange, favoriteNodes, folderPicker.SearchingFavorites,
                         folders.FavoritesFolder, identity.OSCode, paths.WindowsDir, paths.SystemDir,
                         [this](bool add, bool remove) { enableFolderCommands(add, remove); },
                         [this] { cmbSearch.SetText(""); }};
    procNodeClick(ctx, clicked);
}

void FrmMain::pnlNav_KeyPress(int& KeyAscii) {
    // Esc stops running work; while idle it would stay set and wipe the next listing.
    if (KeyAscii == 27 && !IsIdle(browserWindow)) Busy.AbortRequested = true;
}

void FrmMain::procSwitchDataSet() {
    // A listing that runs (also one that yields before it shows itself busy)
    // would go on paging its entries against the other data set's archives:
    // it is stopped, and the switch follows once it ended.
    if (!IsIdle(browserWindow) || listingDepth > 0) {
        Busy.AbortRequested = true;
        SetTimer(hWnd(), kDataSetRetry, 100, retryDataSetSwitch);
        return;
    }
    Busy.AbortRequested = false;
    Screen::SetMousePointer(vbHourglass);
    saveUserData();
    procSaveSettings();
    Keywords.IconSize = cmbMode.ItemData(cmbMode.ListIndex());
    procClearResult();
    // No entry of one data set is paged against the other's archives.
    Entries.cmbResult.Clear();
    Entries.lstFiles.Clear();
    Entries.lstZipFiles.Clear();
    Entries.lstZipIcons.Clear();
    Paging.PageCount = 0;
    Paging.CurrentPage = 0;
    pager_->procSetPageButtons();
    procGetSettings();
    browserStart();
    procBuildTree();
    procInitIconCanvas();
    if (Commands.ZoomWindowOpen) frmZoom().Unload();
    Screen::SetMousePointer(vbDefault);
    MessagePanel->SetText("");
    procDataSetCommands();
}

} // namespace vm
