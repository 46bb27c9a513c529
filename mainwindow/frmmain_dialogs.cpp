// The main window's side of the dialogs: what the options, scan, keyword,
// reference and information windows reach of the window, and the menu
// commands that open them.
#include "frmmain.h"

#include "browserstate.h"
#include "dialogforms.h"
#include "folderpicker.h"
#include "maskcanvas.h"
#include "navtree.h"
#include "startfolders.h"
#include "state.h"
#include "zipsource.h"

namespace vm {

void FrmMain::connectDialogs() {
    OptionsHost& o = optionsHost;
    o.pnlResult = &pnlResult;
    o.UseMask = &Canvas.UseMask;
    o.MaskColor = &Canvas.MaskColor;
    o.FavoritesFolder = &folders.FavoritesFolder;
    o.FavoritesFolderName = folders.FavoritesFolderName.empty() ? "Favorites" : folders.FavoritesFolderName;
    o.SendToFolder = folders.SendToFolder;
    o.DesktopFolder = folders.DesktopFolder;
    o.saveShortcut = WriteShellShortcut;
    o.showPage = [this] { pager().ShowNewList(); };
    // The favourites branch again from the new folder, as Favorites > Refresh builds it.
    o.rebuildFavorites = [this] {
        if (pnlNav.Nodes.exists(kFavoritesKey)) pnlNav.Nodes.Remove(kFavoritesKey);
        if (pnlNav.Nodes.exists("your"))
            AddFavoritesBranch(pnlNav, host, folders.FavoritesFolder, folders.FavoritesFolderName);
        favoriteNodes = FavoriteNodes{};
    };

    ScanHost& s = scanHost;
    s.entries = &Entries;
    s.paging = &Paging;
    s.busy = &Busy;
    s.browser = &host;
    s.setTypePanel = [this](const std::string& text) { TypePanel->SetText(text); };
    s.clearSearchText = [this] { cmbSearch.SetText(""); };
    s.activateMain = [this] {
        SetForegroundWindow(hWnd());
        pnlResult.SetFocus();
    };
    s.clearZipLists = [] { procClearZipLists(Entries, ZipExtractions); };
    s.listZipMembers = [this] {
        procExtractZIPFilenames(Entries, ZipExtractions, Chunks, {txtZIP.hWnd(), txtDummyZIP.hWnd()}, paths.TempPath,
                                Busy);
    };
    s.searchOpen = [this] {
        OpenSearchContext ctx = openSearch();
        procSearchOpen(ctx);
    };

    keywordHost.cmbSearch = &cmbSearch;
    referenceHost.selectedTag = [this] {
        ListItem* item = pnlResult.SelectedItem();
        return item ? item->Tag : std::string();
    };
    infoHost.iconSizes.clear();
    for (int i = 0; i < cmbMode.ListCount(); ++i) infoHost.iconSizes.push_back(cmbMode.ItemData(i));

    folderPickerHooks.optionsWindow = [] { return frmOptions().hWnd(); };
    folderPickerHooks.setFavoritesFolder = [](const std::string& f) { frmOptions().txtFavHomeDir.SetText(f); };
    folderPickerHooks.scanWindow = [] { return frmScan().hWnd(); };
    folderPickerHooks.setScanFolder = [](const std::string& f) {
        frmScan().txtDir.SetText(f);
        frmScan().cmdStart.SetEnabled(true);
    };

}

void FrmMain::mnuViewOptions_Click() { frmOptions().Show(vbModal); }

} // namespace vm
