// The main window's side of the viewers and item commands: the result list's
// and detail grid's events, the double-click action, the context menus'
// commands, Play, Zoom, Extract, Run, Edit With, Properties and References.
#include "frmmain.h"

#include "browserstate.h"
#include "commandstate.h"
#include "dialogforms.h"
#include "exportcommands.h"
#include "framefilm.h"
#include "frmzoom.h"
#include "itemcommands.h"
#include "references.h"
#include "seam.h"
#include "state.h"
#include "viewerhost.h"

namespace vm {

namespace {
void run(MenuItem& item) {
    if (item.Click) item.Click();
}
} // namespace

void FrmMain::connectItems() {
    Viewers.mainForm = this;
    Viewers.items = &exportWindow;
    Viewers.imlNav = &imlNav;
    Viewers.saveAs = [this] { run(mnuFileSaveAs); };
    Viewers.keywordCount = [this] { return cmbSearch.ListCount(); };
    Viewers.getPage = [this] { pager().procGetPage(); };
    Viewers.selectItem = [this] { procSelectItem(selectionWindow); };
    Viewers.CountPanel = CountPanel;
    exportWindow.setHotSpot = [this] { procSetHotSpot(this); };
    exportWindow.collectFrames = [this] { mnuFilePlay_Click(exportWindow); };
    selectionWindow.procZoom = [] { frmZoom().procZoom(); };

    mnuFilePlay.Click = [this] { mnuFilePlay_Click(exportWindow); };
    mnuFileExtract.Click = [] { mnuFileExtract_Click(); };
    mnuFileRun.Click = [this] { mnuFileRun_Click(mnuFileRun); };
    mnuFileEditWith.Click = [] { mnuFileEditWith_Click(); };
    mnuFileProperties.Click = [] { mnuFileProperties_Click(); };
    mnuRefAdd.Click = [this] {
        FrmAdd& add = frmAdd();
        add.Show(vbModal, this);
        // The next opening starts with the Add button as the keyword box allows.
        add.cmdAdd.SetEnabled(!add.cmbSearch.Text().empty());
    };
    mnuRefDelete.Click = [] { mnuRefDelete_Click(); };
    mnuRefKey.Click = [this] { frmKey().Show(vbModal, this); };
    // The context menu's items run the commands of the menu bar.
    const std::pair<MenuItem*, MenuItem*> forwards[] = {
        {&mnuResultClickPlay, &mnuFilePlay},         {&mnuResultClickExtract, &mnuFileExtract},
        {&mnuResultClickRun, &mnuFileRun},           {&mnuResultClickEditWith, &mnuFileEditWith},
        {&mnuResultClickProperties, &mnuFileProperties}, {&mnuResultClickAddRef, &mnuRefAdd},
        {&mnuResultClickDelRef, &mnuRefDelete},      {&mnuResultClickChange, &mnuFileChange},
        {&mnuResultClickAddFav, &mnuFavoriteAdd},    {&mnuResultClickDelFav, &mnuFavoriteDel}};
    for (const auto& [item, command] : forwards) item->Click = [command] { run(*command); };
    mnuResultClickZoom.Click = [] { procReopenZoom(); };
    mnuDetailClickZoom.Click = [] { procReopenZoom(); };

    pnlResult.DblClick = [this] { pnlResult_DblClick(); };
    pnlResult.GotFocus = [] { Commands.DetailPaneActive = false; };
    VM_ON(pnlResult, ColumnClick);
    VM_ON(pnlResult, KeyUp);
    VM_ON(grdIcons, GotFocus);
    VM_ON(grdIcons, MouseDown);
}

void FrmMain::pnlResult_DblClick() {
    // Nothing is selected after a listing that found nothing.
    if (!pnlResult.SelectedItem()) return;
    if (_stricmp(Selection.CurrentAction.c_str(), "None") == 0) {
        MsgBox("You have not specified a user defined double click action.\n\nClick on OK to select a double click "
               "action now.",
               vbInformation | vbOKOnly, Caption());
        // The options window opens at its double-click page.
        FrmOptions& options = frmOptions();
        options.Load();
        if (options.IsLoaded() && options.tbsOptions.Tabs.Count() >= 3) {
            options.tbsOptions.Tabs(3).SetSelected(true);
            options.tbsOptions_Click();
        }
        options.Show(vbModal, this);
        return;
    }
    if (MenuItem* command = defaultCommand()) run(*command);
}

void FrmMain::pnlResult_ColumnClick(ColumnHeader& ColumnHeader) {
    pnlResult.SetSortOrder(pnlResult.SortOrder() ^ 1);
    pnlResult.SetSortKey(ColumnHeader.Index() - 1);
    pnlResult.SetSorted(true);
}

void FrmMain::pnlResult_KeyUp(int& KeyCode, int) {
    itemSelectionGone();
    if (KeyCode == VK_DELETE) {
        ListItem* item = pnlResult.SelectedItem();
        if (!item) return;
        const std::string origin = item->SubItems(2);
        if (_stricmp(origin.c_str(), "Reference") == 0) run(mnuRefDelete);
        else if (_stricmp(origin.c_str(), "File Favorite") == 0) run(mnuFavoriteDel);
    }
}

void FrmMain::grdIcons_GotFocus() {
    if (grdIcons.ItemCount() < 1) return;
    Commands.DetailPaneActive = true;
    // References and favourites are made from result items only.
    mnuResultClickAddRef.SetVisible(false);
    mnuResultClickDelRef.SetVisible(false);
    for (MenuItem* item : {&mnuRefAdd, &mnuRefDelete, &mnuFavoriteAdd}) item->SetEnabled(false);
    for (const char* key : {"refadd", "refdel", "favadd"}) pnlToolbarYour.Buttons(key).SetEnabled(false);
}

void FrmMain::grdIcons_MouseDown(int Button, int Shift, float X, float Y) {
    if (grdIcons.ItemCount() < 1) return;
    Commands.DetailPaneActive = true;
    if (Button == vbRightButton) {
        PopupMenu(mnuDetailClick);
    } else if (Button == vbLeftButton && Commands.ZoomWindowOpen) {
        // The row under the pointer is selected now, so the zoom window shows it.
        grdIcons.OnMouseDown(Button, Shift, X, Y);
        run(mnuDetailClickZoom);
    }
}

} // namespace vm
