// The main window's frame at work: pane layout, splitters, the view commands,
// the toolbars, the view settings per data set, result clearing, status text
// and the page LED.
#include "frmmain.h"

#include <algorithm>

#include "browserstate.h"
#include "commandstate.h"
#include "dialogs.h"
#include "frmsplash.h"
#include "frmzoom.h"
#include "helpfile.h"
#include "maskcanvas.h"
#include "registry.h"
#include "state.h"
#include "viewsettings.h"

namespace vm {

namespace {
// The width, in pixels, that shows every label of the toolbar whole: the
// widest label in the toolbar's own font and the toolbar's padding, as the
// toolbar sizes labelled buttons itself.
int labelledButtonPixels(Toolbar& bar) {
    const int padding = LOWORD(SendMessageA(bar.hWnd(), TB_GETPADDING, 0, 0));
    HDC dc = GetDC(bar.hWnd());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(bar.hWnd(), WM_GETFONT, 0, 0)));
    int widest = 24;
    for (int i = 1; i <= bar.Buttons.Count(); ++i) {
        const std::string& label = bar.Buttons(i).Tag;
        SIZE size{};
        if (!label.empty() && GetTextExtentPoint32A(dc, label.c_str(), static_cast<int>(label.size()), &size))
            widest = std::max(widest, static_cast<int>(size.cx) + padding);
    }
    SelectObject(dc, old);
    ReleaseDC(bar.hWnd(), dc);
    return widest;
}
} // namespace

mainwindow::Metrics FrmMain::metrics() {
    mainwindow::Metrics m;
    // The size the window has now: Width and Height give the restored place of a maximised window.
    RECT outer{};
    GetWindowRect(hWnd(), &outer);
    m.windowWidth = pixelsToTwipsX(outer.right - outer.left);
    m.windowHeight = pixelsToTwipsY(outer.bottom - outer.top);
    m.statusHeight = pnlStatusbar.Height();
    m.textHeightGg = TextHeight("Gg");
    m.coolTop = pnlCoolBar.Top();
    m.coolHeight = pnlCoolBar.Height();
    m.tppX = TwipsPerPixelX();
    m.tppY = TwipsPerPixelY();
    return m;
}

void FrmMain::placePanes() {
    const mainwindow::PaneLayout& l = pane_;
    pnlNav.Move(l.nav.left, l.nav.top, l.nav.width, l.nav.height);
    pnlResult.Move(l.result.left, l.result.top, l.result.width, l.result.height);
    pnlDummy.Move(l.result.left, l.result.top, l.result.width, l.result.height);
    picSplitV.Move(l.splitV.left, l.splitV.top, l.splitV.width, l.splitV.height);
    grdIcons.SetVisible(l.iconFormat);
    picSplitH.SetVisible(l.iconFormat);
    if (l.iconFormat) {
        grdIcons.Move(l.nav.left, l.grid.top, l.nav.width, l.grid.height);
        picSplitH.Move(l.splitH.left, l.splitH.top, l.nav.width, l.splitH.height);
    }
    pnlStatusbar.SetVisible(l.statusBar);
    mnuViewStatusBar.SetChecked(l.statusBar);
    mnuViewIconFormat.SetChecked(l.iconFormat);
}

void FrmMain::Form_Resize() {
    if (!pnlStatusbar.created() || WindowState() == vbMinimized) return;
    mainwindow::Metrics m = metrics();
    mainwindow::formResize(pane_, m);
    if (MessagePanel)
        MessagePanel->SetWidth(
            mainwindow::messagePanelWidth(m, CountPanel->Width(), PagePanel->Width(), TypePanel->Width()));
    placePanes();
    // A file's path is refitted to the new panel width; a library icon shows its origin.
    ListItem* item = pnlResult.SelectedItem();
    if (item && MessagePanel && !MessagePanel->Text().empty() && !isLibraryOrigin(item->SubItems(2)))
        procFitPathText(selectionWindow, "ww");
}

void FrmMain::procArrangePanes() {
    // The cool bar takes its new height from pending messages.
    DoEvents();
    mainwindow::arrangePanes(pane_, metrics());
    placePanes();
}

void FrmMain::pnlCoolBar_HeightChanged(float) {
    procArrangePanes();
    Form_Resize();
}

void FrmMain::picSplitV_MouseDown(int, int, float, float) { pane_.dragging = true; }
void FrmMain::picSplitV_MouseUp(int, int, float, float) { pane_.dragging = false; }
void FrmMain::picSplitH_MouseDown(int, int, float, float) { pane_.dragging = true; }
void FrmMain::picSplitH_MouseUp(int, int, float, float) { pane_.dragging = false; }

void FrmMain::picSplitV_MouseMove(int, int, float X, float) {
    picSplitV.SetMousePointer(vbSizeWE);
    if (mainwindow::splitVMove(pane_, metrics(), static_cast<int>(X)) && pane_.dragging) placePanes();
}

void FrmMain::picSplitH_MouseMove(int, int, float, float Y) {
    picSplitH.SetMousePointer(vbSizeNS);
    if (mainwindow::splitHMove(pane_, metrics(), static_cast<int>(Y)) && pane_.dragging) placePanes();
}

void FrmMain::mnuViewStatusBar_Click() {
    mainwindow::toggleStatusBar(pane_, metrics());
    placePanes();
}

void FrmMain::mnuViewIconFormat_Click() {
    std::optional<std::int32_t> stored;
    if (!pane_.iconFormat) stored = mainwindow::readMainSettings().hSplitter;
    int value = stored.value_or(0);
    mainwindow::toggleIconFormat(pane_, metrics(), stored ? &value : nullptr);
    placePanes();
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "ViewFormat", Variant(std::string(mainwindow::boolText(pane_.iconFormat))), REG_SZ);
}

// The toolbars.

void FrmMain::mnuViewToolbarTextLabels_Click() {
    bool labels = !mnuViewToolbarTextLabels.Checked();
    mnuViewToolbarTextLabels.SetChecked(labels);
    int band = 1;
    for (Toolbar* bar : {&pnlToolbar, &pnlToolbarYour}) {
        if (labels) {
            bar->SetButtonHeight(689);
            for (int i = 1; i <= bar->Buttons.Count(); ++i)
                if (bar->Buttons(i).Style() != tbrSeparator) bar->Buttons(i).SetCaption(bar->Buttons(i).Tag);
            // The 24 px of the unlabelled buttons would cut the labels: the
            // buttons widen to the widest label again.
            bar->SetButtonWidth(labelledButtonPixels(*bar) * TwipsPerPixelX());
        } else {
            for (int i = 1; i <= bar->Buttons.Count(); ++i) bar->Buttons(i).SetCaption("");
            bar->SetButtonHeight(24 * TwipsPerPixelY());
            bar->SetButtonWidth(24 * TwipsPerPixelX());
        }
        pnlCoolBar.Bands(band).SetMinHeight(bar->ButtonHeight());
        // The band may share its row when the buttons fit beside the band before it.
        pnlCoolBar.Bands(band).SetMinWidth(bar->ButtonsWidth());
        ++band;
    }
    procArrangePanes();
}

void FrmMain::mnuViewToolbarStandard_Click() {
    mnuViewToolbarStandard.SetChecked(!mnuViewToolbarStandard.Checked());
    pnlCoolBar.Bands(1).SetVisible(mnuViewToolbarStandard.Checked());
}

void FrmMain::mnuViewToolbarYour_Click() {
    mnuViewToolbarYour.SetChecked(!mnuViewToolbarYour.Checked());
    pnlCoolBar.Bands(2).SetVisible(mnuViewToolbarYour.Checked());
}

void FrmMain::mnuViewToolbarCustomize_Click() { pnlToolbar.Customize(); }
void FrmMain::pnlToolbar_Change() { pnlToolbar.SaveToolbar("Vellumar", "Settings", "Toolbar"); }

namespace {
void run(MenuItem& item) {
    if (item.Click) item.Click();
}
bool is(const std::string& key, const char* name) { return _stricmp(key.c_str(), name) == 0; }
} // namespace

void FrmMain::pnlToolbar_ButtonClick(ToolbarButton& Button) {
    const std::string& k = Button.Key();
    if (is(k, "firstpage")) run(mnuGoFirstPage);
    else if (is(k, "prevpage")) run(mnuGoPrevPage);
    else if (is(k, "nextpage")) run(mnuGoNextPage);
    else if (is(k, "lastpage")) run(mnuGoLastPage);
    else if (is(k, "abort")) Busy.AbortRequested = true;
    else if (is(k, "open")) {
        procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "LastOpen");
        std::string last = reg.RegValue.isEmpty() ? "File" : reg.RegValue.toText();
        if (last == "File") run(mnuFileOpen);
        else if (last == "Folder") run(mnuFileOpenDir);
    } else if (is(k, "save")) run(mnuFileSaveAs);
    else if (is(k, "copy")) run(mnuEditCopy);
    else if (is(k, "play")) run(mnuFilePlay);
    else if (is(k, "prop")) run(mnuFileProperties);
    else if (is(k, "view")) {
        if (mnuViewLargeIcons.Checked()) mnuViewList_Click();
        else if (mnuViewList.Checked()) mnuViewDetails_Click();
        else if (mnuViewDetails.Checked()) mnuViewLargeIcons_Click();
    } else if (is(k, "zoom")) {
        procReopenZoom();
    } else if (is(k, "create")) run(mnuToolsImport);
    else if (is(k, "help")) run(mnuHelpTopics);
    else if (is(k, "close")) run(mnuFileExit);
}

void FrmMain::pnlToolbar_ButtonMenuClick(ButtonMenu& Menu) {
    const std::string& k = Menu.Key();
    auto setLastOpen = [](const char* mode) {
        procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
        procRegSetValue(kSettingsKey, "LastOpen", Variant(std::string(mode)), REG_SZ);
    };
    if (is(k, "viewlarge")) mnuViewLargeIcons_Click();
    else if (is(k, "viewlist")) mnuViewList_Click();
    else if (is(k, "viewdetails")) mnuViewDetails_Click();
    else if (is(k, "zoom2")) run(mnuToolsZoom2);
    else if (is(k, "zoom3")) run(mnuToolsZoom3);
    else if (is(k, "zoom4")) run(mnuToolsZoom4);
    else if (is(k, "zoom5")) run(mnuToolsZoom5);
    else if (is(k, "zoom10")) run(mnuToolsZoom10);
    else if (is(k, "openfile")) {
        setLastOpen("File");
        run(mnuFileOpen);
    } else if (is(k, "opendir")) {
        run(mnuFileOpenDir);
        setLastOpen("Folder");
    }
}

void FrmMain::pnlToolbarYour_ButtonClick(ToolbarButton& Button) {
    const std::string& k = Button.Key();
    if (is(k, "change")) run(mnuFileChange);
    else if (is(k, "changefolder")) run(mnuToolsChangeFolder);
    else if (is(k, "favadd")) run(mnuFavoriteAdd);
    else if (is(k, "favdel")) run(mnuFavoriteDel);
    else if (is(k, "favgroupadd")) run(mnuFavoriteGroupAdd);
    else if (is(k, "favgroupdel")) run(mnuFavoriteGroupDel);
    else if (is(k, "favedit")) run(mnuFavoriteOrganize);
    else if (is(k, "favrefresh")) run(mnuFavoriteRefresh);
    else if (is(k, "refadd")) run(mnuRefAdd);
    else if (is(k, "refdel")) run(mnuRefDelete);
    else if (is(k, "refedit")) run(mnuRefKey);
}

// The view of the result list.

void FrmMain::procSetViewChecks(bool large, bool, bool list, bool details) {
    mnuViewLargeIcons.SetChecked(large);
    mnuResultClickViewLargeIcons.SetChecked(large);
    mnuViewList.SetChecked(list);
    mnuResultClickViewList.SetChecked(list);
    mnuViewDetails.SetChecked(details);
    mnuResultClickViewDetails.SetChecked(details);
}

void FrmMain::mnuViewLargeIcons_Click() {
    pnlResult.SetView(lvwIcon);
    pnlDummy.SetView(lvwIcon);
    procSetViewChecks(true, false, false, false);
}

void FrmMain::mnuViewList_Click() {
    pnlResult.SetView(lvwList);
    pnlDummy.SetView(lvwList);
    procSetViewChecks(false, false, true, false);
}

void FrmMain::mnuViewDetails_Click() {
    pnlResult.SetView(lvwReport);
    pnlDummy.SetView(lvwReport);
    procSetViewChecks(false, false, false, true);
}

void FrmMain::mnuViewArrange_Click(int index) {
    pnlResult.SetSortKey(index);
    pnlResult.SetSorted(true);
}

void FrmMain::mnuViewBackcolor_Click() {
    CommonDialog dlgIcon;
    dlgIcon.Flags = cdlCCFullOpen;
    dlgIcon.Color = resolveColor(pnlResult.BackColor());
    // A cancelled dialog leaves the colours as they are.
    if (!dlgIcon.ShowColor()) return;
    pnlResult.SetBackColor(dlgIcon.Color);
    picNoIcon.SetBackColor(dlgIcon.Color);
    pnlDummy.SetBackColor(pnlResult.BackColor());
}

void FrmMain::procGetSettings() {
    mainwindow::ViewSettings v = mainwindow::readViewSettings(Keywords.IconSize, pnlResult.ColumnHeaders.Count());
    Paging.IconsPerPage = v.iconsPerPage;
    if (v.viewType == 0) mnuViewLargeIcons_Click();
    else if (v.viewType == 2) mnuViewList_Click();
    else if (v.viewType == 3) mnuViewDetails_Click();
    for (int i = 1; i <= pnlResult.ColumnHeaders.Count(); ++i) {
        if (const auto& width = v.colWidths[static_cast<size_t>(i) - 1]) pnlResult.ColumnHeaders(i).SetWidth(*width);
        if (i <= pnlDummy.ColumnHeaders.Count()) pnlDummy.ColumnHeaders(i).SetWidth(pnlResult.ColumnHeaders(i).Width());
    }
    if (v.backColor) pnlResult.SetBackColor(static_cast<OleColor>(*v.backColor));
    picNoIcon.SetBackColor(pnlResult.BackColor());
    pnlDummy.SetBackColor(pnlResult.BackColor());
    Canvas.UseMask = v.useMask;
    Canvas.MaskColor = v.maskColor.value_or(static_cast<std::int32_t>(pnlResult.BackColor()));
}

void FrmMain::procSaveSettings() {
    mainwindow::ViewSave save;
    save.viewType = pnlResult.View();
    save.backColor = static_cast<std::int32_t>(pnlResult.BackColor());
    save.iconsPerPage = Paging.IconsPerPage;
    for (int i = 1; i <= pnlResult.ColumnHeaders.Count(); ++i) save.colWidths.push_back(pnlResult.ColumnHeaders(i).Width());
    mainwindow::writeViewSettings(Keywords.IconSize, save);
}

void FrmMain::procSizeToIcon(PictureBox& box, int width, int height) {
    box.SetWidth(width * TwipsPerPixelX());
    box.SetHeight(height * TwipsPerPixelY());
}

void FrmMain::procInitIconCanvas() {
    const int size = Keywords.IconSize;
    procSizeToIcon(picOpen, size, size);
    for (OffscreenSurface* surface : {&picSave, &pctMask, &pctColor}) surface->SetSize(size, size);
    makeIconCanvases(Canvas, hWnd(), size);
    // The lists refuse a new size while they hold images.
    for (ImageList* list : {&imlIcon32, &imlResult32}) {
        if (list->ImageWidth() == size && list->ImageHeight() == size) continue;
        if (list == &imlResult32) {
            pnlResult.SetIcons(nullptr);
            pnlDummy.SetIcons(nullptr);
        }
        list->ListImages.Clear();
        list->SetImageWidth(size);
        list->SetImageHeight(size);
    }
}

// Result clearing, status texts and the LED.

void FrmMain::setButtons(Toolbar& bar, std::initializer_list<const char*> keys, bool enabled) {
    for (const char* key : keys) bar.Buttons(key).SetEnabled(enabled);
}

// The item commands as they are while no result item is selected.
void FrmMain::switchOffItemCommands() {
    for (MenuItem* item : {&mnuFileProperties, &mnuResultClickProperties, &mnuEditCopy, &mnuResultClickCopy,
                           &mnuFileSaveAs, &mnuResultClickSaveAs, &mnuFileEditWith, &mnuResultClickEditWith,
                           &mnuFilePlay, &mnuRefAdd, &mnuRefDelete, &mnuToolsZoom, &mnuResultClickZoom,
                           &mnuFileRun, &mnuFavoriteAdd, &mnuFavoriteDel, &mnuFileChange, &mnuToolsChangeFolder,
                           &mnuFileExtract})
        item->SetEnabled(false);
    for (MenuItem* item : {&mnuResultClickPlay, &mnuResultClickAddRef, &mnuResultClickDelRef, &mnuResultClickRun,
                           &mnuResultClickAddFav, &mnuResultClickDelFav, &mnuResultClickChange,
                           &mnuResultClickExtract})
        item->SetVisible(false);
    setButtons(pnlToolbar, {"save", "copy", "play", "prop", "zoom"}, false);
    setButtons(pnlToolbarYour, {"refadd", "refdel", "favadd", "favdel", "change", "changefolder"}, false);
}

void FrmMain::procClearResult() {
    if (tmrLed.Enabled()) {
        tmrLed.SetEnabled(false);
        if (PagePanel) PagePanel->SetPicture(imlNav.ListImages("redledoff").SharedIcon());
    }
    pnlResult.SetSorted(false);
    pnlResult.ListItems.Clear();
    // The image lists stay with the list, which shows no item to draw them:
    // each list taken away and given back costs the control a new layout.
    grdIcons.Clear();
    grdIcons.Draw();
    pnlResult.Refresh();
    imlResult32.ListImages.Clear();
    imlIcon32.ListImages.Clear();
    if (PagePanel) PagePanel->SetText("");
    if (TypePanel) {
        TypePanel->SetText("");
        TypePanel->SetPicture(imlNav.ListImages("empty").SharedIcon());
    }
    if (mnuFileProperties.Enabled()) switchOffItemCommands();
    for (MenuItem* item : {&mnuGoFirstPage, &mnuGoPrevPage, &mnuGoNextPage, &mnuGoLastPage}) item->SetEnabled(false);
    setButtons(pnlToolbar, {"firstpage", "prevpage", "nextpage", "lastpage"}, false);
}

void FrmMain::procSetStatusText(const std::string& text) {
    // Only a splash that is up takes the text: touching an unloaded one would load it.
    if (runState.SplashActive && shell::frmSplash().IsLoaded()) {
        shell::frmSplash().lblMessage.SetCaption(text);
        shell::frmSplash().lblMessage.Refresh();
    } else if (MessagePanel) {
        MessagePanel->SetText(text);
    }
}

void FrmMain::tmrLed_Timer() {
    if (!PagePanel) return;
    LedLit = !LedLit;
    PagePanel->SetPicture(imlNav.ListImages(LedLit ? "redledon" : "redledoff").SharedIcon());
}

void FrmMain::Form_KeyUp(int& KeyCode, int) {
    if (KeyCode == VK_F1) {
        // F1 anywhere in the window: the result list and the detail pane under
        // it have a page of their own.
        const HWND focus = GetFocus();
        const bool results = focus && (IsChild(pnlResult.hWnd(), focus) || focus == pnlResult.hWnd() ||
                                       focus == grdIcons.hWnd());
        procShowHelp(hWnd(), results ? HelpContext::ResultList : HelpContext::MainWindow);
        KeyCode = 0;
        return;
    }
    // Digits typed into a text box or the keyword box are text, not page keys.
    char kind[32] = "";
    if (HWND focus = GetFocus()) GetClassNameA(focus, kind, sizeof(kind));
    if (_stricmp(kind, "Edit") == 0 || _stricmp(kind, "ComboBox") == 0) return;
    if (KeyCode == '3' && mnuGoPrevPage.Enabled()) run(mnuGoPrevPage);
    else if (KeyCode == '2' && mnuGoNextPage.Enabled()) run(mnuGoNextPage);
}

} // namespace vm
