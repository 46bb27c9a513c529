// The main window's side of the selection handler: the handler works on the
// window's controls, and every event that selects a result item runs it.
#include "frmmain.h"

#include "commandstate.h"
#include "dialogforms.h"
#include "pageloaders.h"

namespace vm {

void FrmMain::connectSelection() {
    SelectionWindow& s = selectionWindow;
    s = SelectionWindow{};
    s.form = this;
    s.pnlResult = &pnlResult;
    s.imlResult32 = &imlResult32;
    s.imlNav = &imlNav;
    s.MessagePanel = MessagePanel;
    s.TypePanel = TypePanel;
    s.PagePanel = PagePanel;
    s.pnlToolbar = &pnlToolbar;
    s.pnlToolbarYour = &pnlToolbarYour;
    s.grdIcons = &grdIcons;
    s.picSave = &picSave;
    s.pctColor = &pctColor;
    s.pctMask = &pctMask;
    s.optType = &frmAdd().optType;
    s.menus = selectionMenusOf(*this);
    s.BrowserAvailable = true;
    s.forgetLoadedAni = [] { PageLoaders.LoadedAniFile.clear(); };
    host.selectItem = [this] { procSelectItem(selectionWindow); };
    VM_ON(pnlResult, ItemClick);
    VM_ON(pnlResult, MouseDown);
    VM_ON(pnlResult, MouseUp);
}

void FrmMain::pnlResult_ItemClick(ListItem&) {
    Commands.DetailPaneActive = false;
    procSelectItem(selectionWindow);
}

void FrmMain::pnlResult_MouseDown(int Button, int, float X, float Y) {
    if (Button != vbRightButton) return;
    // A right click over empty space leaves no item selected, and the item
    // commands go off as when nothing was ever selected.
    pnlResult.SetSelectedItem(pnlResult.HitTest(X, Y));
    if (pnlResult.SelectedItem()) procSelectItem(selectionWindow);
    else itemSelectionGone();
}

// A left click on empty space, a Ctrl+click on the selected item or Ctrl+Space
// leave no item selected: the item commands would act on an item no longer
// chosen, so they go off until the next selection.
void FrmMain::itemSelectionGone() {
    if (!pnlResult.SelectedItem() && mnuFileProperties.Enabled()) switchOffItemCommands();
}

// The context menu shows once the button is up: the list view follows the
// pressed button itself, and a menu shown meanwhile would take the release
// from it and leave it holding the mouse.
void FrmMain::pnlResult_MouseUp(int Button, int, float, float) {
    itemSelectionGone();
    if (Button != vbRightButton) return;
    if (!pnlResult.SelectedItem()) PopupMenu(mnuWhite);
    else PopupMenu(mnuResultClick, 0, vmKeep, vmKeep, defaultCommand());
}

// The context menu's bold item: the command the double-click runs.
MenuItem* FrmMain::defaultCommand() {
    const std::pair<const char*, MenuItem*> commands[] = {
        {"Copy", &mnuResultClickCopy},     {"Save", &mnuResultClickSaveAs},
        {"Zoom", &mnuResultClickZoom},     {"Play", &mnuResultClickPlay},
        {"Ref", &mnuResultClickAddRef},    {"Run", &mnuResultClickRun},
        {"Prop", &mnuResultClickProperties}, {"Change", &mnuResultClickChange},
        {"EditWith", &mnuResultClickEditWith}};
    for (const auto& [word, item] : commands)
        if (_stricmp(Selection.CurrentAction.c_str(), word) == 0) return item;
    return nullptr;
}

} // namespace vm
