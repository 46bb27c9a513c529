#include "selectform.h"

#include "filledicon.h"

namespace seltest {

using namespace vm;

void FrmSelect::CreateControls() {
    mnuFile.create(*this, "&File");
    mnuFileSaveAs.create(mnuFile, "Save &As...");
    mnuFileExtract.create(mnuFile, "Extract from &ZIP...");
    mnuFileChange.create(mnuFile, "C&hange...");
    mnuFileEditWith.create(mnuFile, "Edit &With...");
    mnuFilePlay.create(mnuFile, "P&lay");
    mnuFileRun.create(mnuFile, "&Run Shortcut...");
    mnuFileProperties.create(mnuFile, "&Properties");
    mnuEdit.create(*this, "&Edit");
    mnuEditCopy.create(mnuEdit, "&Copy");
    mnuGo.create(*this, "&Go");
    mnuGoToPage.create(mnuGo, "&Go to Page");
    mnuFavorite.create(*this, "F&avorites");
    mnuFavoriteAdd.create(mnuFavorite, "&Add to Favorites...");
    mnuFavoriteDel.create(mnuFavorite, "&Delete Favorite");
    mnuRef.create(*this, "&References");
    mnuRefAdd.create(mnuRef, "&Add...");
    mnuRefDelete.create(mnuRef, "&Delete");
    mnuTools.create(*this, "&Tools");
    mnuToolsZoom.create(mnuTools, "&Zoom");
    mnuToolsChangeFolder.create(mnuTools, "Change Any &Folder Icon...");
    mnuResultClick.create(*this, "ResultClick", false);
    mnuResultClickCopy.create(mnuResultClick, "&Copy");
    mnuResultClickDiv1.create(mnuResultClick, "-", false);
    mnuResultClickSaveAs.create(mnuResultClick, "Save &As...");
    mnuResultClickChange.create(mnuResultClick, "C&hange...");
    mnuResultClickEditWith.create(mnuResultClick, "Edit &With...");
    mnuResultClickPlay.create(mnuResultClick, "P&lay");
    mnuResultClickExtract.create(mnuResultClick, "Extract from &ZIP...");
    mnuDiv16.create(mnuResultClick, "-");
    mnuResultClickAddRef.create(mnuResultClick, "Add &Reference...");
    mnuResultClickDelRef.create(mnuResultClick, "&Delete Reference");
    mnuDiv22.create(mnuResultClick, "-", false);
    mnuResultClickAddFav.create(mnuResultClick, "Add to &Favorites...");
    mnuResultClickDelFav.create(mnuResultClick, "Delete Fa&vorite");
    mnudiv14.create(mnuResultClick, "-");
    mnuResultClickProperties.create(mnuResultClick, "&Properties");
    mnuResultClickDiv2.create(mnuResultClick, "-");
    mnuResultClickZoom.create(mnuResultClick, "&Zoom");
    mnuResultClickRun.create(mnuResultClick, "&Run Shortcut...");
    mnuGoBar.create(*this, "GoBar", false);

    pnlToolbar.create(*this);
    for (const char* key : {"save", "copy", "prop", "zoom", "play"}) pnlToolbar.Buttons.Add(-1, key, key);
    pnlToolbarYour.create(*this);
    // "favdel" is missing, as when the user took it off the toolbar.
    for (const char* key : {"change", "changefolder", "refadd", "refdel", "favadd"})
        pnlToolbarYour.Buttons.Add(-1, key, key);
    pnlResult.create(*this, 0, 600, 6000, 3000, lvwReport);
    grdIcons.create(*this, 6000, 600, 2400, 4000);
    pnlStatusbar.create(*this);
    pnlStatusbar.Panels.Add(-1, "message");
    pnlStatusbar.Panels.Add(-1, "type");
    pnlStatusbar.Panels.Add(-1, "area");
    pnlStatusbar.Panels("message").SetWidth(6000);
    for (int i = 0; i < 9; ++i) optType(i).create(*this, 0, 4000 + i * 240, 2000, 240, "type");

    for (const char* key : {"redledoff", "icon", "typeani", "cursor", "library", "shortcut", "aso", "system"})
        imlNav.ListImages.Add(-1, key, Picture::fromIcon(vmtest::filledIcon(16, RGB(0, 128, 0))));
}

SelectionWindow FrmSelect::window() {
    SelectionWindow w;
    w.form = this;
    w.pnlResult = &pnlResult;
    w.imlResult32 = &imlResult32;
    w.imlNav = &imlNav;
    w.MessagePanel = &pnlStatusbar.Panels("message");
    w.TypePanel = &pnlStatusbar.Panels("type");
    w.PagePanel = &pnlStatusbar.Panels("area");
    w.pnlToolbar = &pnlToolbar;
    w.pnlToolbarYour = &pnlToolbarYour;
    w.grdIcons = &grdIcons;
    w.picSave = &picSave;
    w.pctColor = &pctColor;
    w.pctMask = &pctMask;
    w.optType = &optType;
    w.menus = selectionMenusOf(*this);
    return w;
}

void FrmSelect::clearResult() {
    SelectionMenus m = selectionMenusOf(*this);
    for (MenuItem* item : {m.mnuFileProperties, m.mnuEditCopy, m.mnuFileSaveAs, m.mnuFileEditWith, m.mnuToolsZoom,
                           m.mnuResultClickProperties, m.mnuResultClickCopy, m.mnuResultClickSaveAs,
                           m.mnuResultClickEditWith, m.mnuResultClickZoom, m.mnuGoToPage, m.mnuGoBar,
                           m.mnuToolsChangeFolder, m.mnuFavoriteAdd, m.mnuFavoriteDel})
        item->SetEnabled(false);
    for (int i = 1; i <= pnlToolbar.Buttons.Count(); ++i) pnlToolbar.Buttons(i).SetEnabled(false);
    for (int i = 1; i <= pnlToolbarYour.Buttons.Count(); ++i) pnlToolbarYour.Buttons(i).SetEnabled(false);
    pnlResult.ListItems.Clear();
    imlResult32.ListImages.Clear();
}

ListItem& FrmSelect::addItem(const std::string& text, const std::string& tag, const std::string& type,
                             const std::string& origin, COLORREF colour) {
    const int size = imlResult32.ImageWidth() ? imlResult32.ImageWidth() : 32;
    imlResult32.ListImages.Add(-1, "", Picture::fromIcon(vmtest::filledIcon(size, colour)));
    ListItem& item = pnlResult.ListItems.Add(-1, "", text, imlResult32.ListImages.Count());
    item.Tag = tag;
    item.SetSubItems(1, type);
    item.SetSubItems(2, origin);
    pnlResult.SetSelectedItem(&item);
    return item;
}

} // namespace seltest
