// The main window's menu bar and pop-up menus, in their designed order.
#include "frmmain.h"

namespace vm {

void FrmMain::createMenus() {
    mnuFile.create(*this, "&File");
    mnuFileOpen.create(mnuFile, "&Open by File...");
    mnuFileOpenDir.create(mnuFile, "Open by &Folder...");
    mnuFileDiv1.create(mnuFile, "-");
    mnuFileSaveAs.create(mnuFile, "Save &As...");
    mnuFileExtract.create(mnuFile, "Extract from &ZIP...");
    mnuFileDiv2.create(mnuFile, "-");
    mnuFileChange.create(mnuFile, "C&hange...");
    mnuFileEditWith.create(mnuFile, "Edit &With...");
    mnuFilePlay.create(mnuFile, "P&lay");
    mnuFileRun.create(mnuFile, "&Run Shortcut...");
    mnuFileProperties.create(mnuFile, "&Properties");
    mnuFileDiv3.create(mnuFile, "-");
    mnuFileExit.create(mnuFile, "E&xit");

    mnuEdit.create(*this, "&Edit");
    mnuEditCopy.create(mnuEdit, "&Copy");

    mnuView.create(*this, "&View");
    mnuViewToolbar.create(mnuView, "&Toolbars");
    mnuViewToolbarStandard.create(mnuViewToolbar, "&Standard Buttons");
    mnuViewToolbarYour.create(mnuViewToolbar, "&Your Icons Buttons");
    mnuViewToolbarTextLabels.create(mnuViewToolbar, "&Text Labels");
    mnuViewToolbarDiv.create(mnuViewToolbar, "-");
    mnuViewToolbarCustomize.create(mnuViewToolbar, "&Customize");
    mnuViewStatusBar.create(mnuView, "Status &Bar");
    mnuViewIconFormat.create(mnuView, "All Icon &Formats");
    mnuViewDiv1.create(mnuView, "-");
    mnuViewLargeIcons.create(mnuView, "La&rge Icons");
    mnuViewList.create(mnuView, "&List");
    mnuViewDetails.create(mnuView, "&Details");
    mnuViewDiv2.create(mnuView, "-");
    mnuViewBackcolor.create(mnuView, "Back&color...");
    mnuViewArrangeMenu.create(mnuView, "Arrange &Icons");
    mnuViewArrange(0).create(mnuViewArrangeMenu, "by &Name");
    mnuViewArrange(1).create(mnuViewArrangeMenu, "by &Type");
    mnuViewArrange(2).create(mnuViewArrangeMenu, "by &Origin");
    mnuViewDiv3.create(mnuView, "-");
    mnuViewOptions.create(mnuView, "&Options...");
    mnuViewStatusBar.SetChecked(true);
    mnuViewIconFormat.SetChecked(true);
    mnuViewToolbarStandard.SetChecked(true);
    mnuViewToolbarYour.SetChecked(true);

    mnuGo.create(*this, "&Go");
    mnuGoFirstPage.create(mnuGo, "&First Page");
    mnuGoPrevPage.create(mnuGo, "&Previous Page");
    mnuGoNextPage.create(mnuGo, "&Next Page");
    mnuGoLastPage.create(mnuGo, "&Last Page");
    mnuGoToPage.create(mnuGo, "&Jump to Page");
    mnuGoToPageNr(1).create(mnuGoToPage, "1");
    mnuGoDiv.create(mnuGo, "-");
    mnuGoHomePage.create(mnuGo, "Vellumar &Homepage");
    mnuGoMail.create(mnuGo, "&Mail to Vellumar Support");

    mnuFavorite.create(*this, "F&avorites");
    mnuFavoriteAdd.create(mnuFavorite, "&Add to Favorites...");
    mnuFavoriteDel.create(mnuFavorite, "&Delete Favorite");
    mnuFavoriteDiv1.create(mnuFavorite, "-");
    mnuFavoriteGroupAdd.create(mnuFavorite, "&Create Folder");
    mnuFavoriteGroupDel.create(mnuFavorite, "&Remove Folder");
    mnuFavoriteDiv2.create(mnuFavorite, "-");
    mnuFavoriteRefresh.create(mnuFavorite, "R&efresh");
    mnuFavoriteOrganize.create(mnuFavorite, "&Organize Favorites");

    mnuRef.create(*this, "&References");
    mnuRefAdd.create(mnuRef, "&Add...");
    mnuRefDelete.create(mnuRef, "&Delete");
    mnuRefDiv.create(mnuRef, "-");
    mnuRefKey.create(mnuRef, "&Edit Custom Keywords...");

    mnuTools.create(*this, "&Tools");
    mnuToolsZoom.create(mnuTools, "&Zoom");
    mnuToolsZoom2.create(mnuToolsZoom, "&2:1");
    mnuToolsZoom3.create(mnuToolsZoom, "&3:1");
    mnuToolsZoom4.create(mnuToolsZoom, "&4:1");
    mnuToolsZoom5.create(mnuToolsZoom, "&5:1");
    mnuToolsZoom10.create(mnuToolsZoom, "&10:1");
    mnuToolsDiv1.create(mnuTools, "-");
    mnuToolsChangeFolder.create(mnuTools, "&Change Any Folder Icon...");
    mnuToolsDefaultFolder.create(mnuTools, "&Set Any Folder Icon to Default...");
    mnuToolsDiv2.create(mnuTools, "-");
    mnuToolsImport.create(mnuTools, "&Brallix");
    mnuToolsDiv3.create(mnuTools, "-");
    mnuToolsRebuild.create(mnuTools, "&Rebuild Windows Icon Cache");
    mnuToolsRestart.create(mnuTools, "Restart &Windows");

    mnuHelp.create(*this, "&Help");
    mnuHelpTopics.create(mnuHelp, "&Help Topics...");
    mnuHelpSearch.create(mnuHelp, "&Search for Help on...");
    mnuHelpDiv1.create(mnuHelp, "-");
    mnuHelpTip.create(mnuHelp, "&Tip of the Day...");
    mnuHelpDiv2.create(mnuHelp, "-");
    mnuHelpAbout.create(mnuHelp, "&About Vellumar...");

    // Pop-ups: not on the bar.
    mnuResultClick.create(*this, "ResultClick", false);
    mnuResultClickCopy.create(mnuResultClick, "&Copy");
    mnuResultClickDiv1.create(mnuResultClick, "-", false);
    mnuResultClickSaveAs.create(mnuResultClick, "&Save As...");
    mnuResultClickChange.create(mnuResultClick, "C&hange...", false);
    mnuResultClickEditWith.create(mnuResultClick, "Edit &With...");
    mnuResultClickPlay.create(mnuResultClick, "P&lay", false);
    mnuResultClickExtract.create(mnuResultClick, "Extract from &ZIP...", false);
    mnuDiv16.create(mnuResultClick, "-");
    mnuResultClickAddRef.create(mnuResultClick, "&Add Reference", false);
    mnuResultClickDelRef.create(mnuResultClick, "&Delete Reference", false);
    mnuDiv22.create(mnuResultClick, "-", false);
    mnuResultClickAddFav.create(mnuResultClick, "Add to &Favorites...", false);
    mnuResultClickDelFav.create(mnuResultClick, "De&lete Favorite", false);
    mnudiv14.create(mnuResultClick, "-");
    mnuResultClickProperties.create(mnuResultClick, "&Properties");
    mnuResultClickDiv2.create(mnuResultClick, "-");
    mnuResultClickZoom.create(mnuResultClick, "&Zoom");
    mnuResultClickRun.create(mnuResultClick, "&Run Shortcut...", false);
    for (MenuItem* item : {&mnuResultClickCopy, &mnuResultClickSaveAs, &mnuResultClickProperties, &mnuResultClickZoom})
        item->SetEnabled(false);

    mnuWhite.create(*this, "White", false);
    mnuResultClickView.create(mnuWhite, "&View");
    mnuResultClickViewLargeIcons.create(mnuResultClickView, "La&rge Icons");
    mnuResultClickViewList.create(mnuResultClickView, "&List");
    mnuResultClickViewDetails.create(mnuResultClickView, "&Details");
    mnuWhiteDiv1.create(mnuWhite, "-");
    mnuResultClickViewBackColor.create(mnuWhite, "&BackColor...");
    mnuWhiteDiv2.create(mnuWhite, "-");
    mnuResultClickViewArrangeMenu.create(mnuWhite, "Arrange &Icons");
    mnuResultClickViewArrange(0).create(mnuResultClickViewArrangeMenu, "by &Name");
    mnuResultClickViewArrange(1).create(mnuResultClickViewArrangeMenu, "by &Type");
    mnuResultClickViewArrange(2).create(mnuResultClickViewArrangeMenu, "by &Origin");

    mnuDetailClick.create(*this, "DetailClick", false);
    mnuDetailClickCopy.create(mnuDetailClick, "&Copy");
    mnuDetailClickSaveAs.create(mnuDetailClick, "&Save As...");
    mnuDetailClickSaveAllAs.create(mnuDetailClick, "Save &All Formats As...");
    mnuDetailClickDiv.create(mnuDetailClick, "-");
    mnuDetailClickZoom.create(mnuDetailClick, "&Zoom");

    mnuGoBar.create(*this, "GoBar", false);
    mnuGoBarToPageNr(1).create(mnuGoBar, "1");
}

} // namespace vm
