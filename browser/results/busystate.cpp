#include "busystate.h"

#include "form.h"

namespace vm {

namespace {

bool holds(HWND window, HWND focus) { return window && focus && (focus == window || IsChild(window, focus)); }

// A disabled tree loses the keyboard focus, and with no window holding it Esc
// would reach no handler: the window itself takes it while the work runs, so
// Esc stops any listing, whatever was clicked to start it.
void holdFocus(BrowserWindow& w, bool enable) {
    if (enable || !w.pnlNav || !w.form || !w.form->hWnd()) return;
    if (!holds(w.pnlNav->hWnd(), GetFocus())) return;
    SetFocus(w.form->hWnd());
    w.focusLeftTree = true;
}

// The tree gets the focus back once the work is over, unless the user put it elsewhere meanwhile.
void giveFocusBack(BrowserWindow& w) {
    if (!w.focusLeftTree) return;
    w.focusLeftTree = false;
    if (w.pnlNav && w.form && GetFocus() == w.form->hWnd()) SetFocus(w.pnlNav->hWnd());
}

} // namespace

void procSetAbort(BrowserWindow& w, const BusyOptions& options, bool enable) {
    const Form::MenuBarBatch menus(w.form);
    Screen::SetMousePointer(vbArrowHourglass);
    // The toolbars offer no more than the menus: only Stop works while busy.
    if (w.pnlToolbar) w.pnlToolbar->Hold(!enable, {"abort"});
    if (w.pnlToolbarYour) w.pnlToolbarYour->Hold(!enable);
    EnableButtonIfThere(w.pnlToolbar, "abort", !enable);
    EnableIfThere(w.picSplitV, enable);
    EnableIfThere(w.picSplitH, enable);
    for (MenuItem* menu : {w.mnuFile, w.mnuEdit, w.mnuView, w.mnuGo, w.mnuRef, w.mnuTools, w.mnuHelp, w.mnuGoBar})
        EnableIfThere(menu, enable);
    for (const char* key : {"view", "open", "create", "help"}) EnableButtonIfThere(w.pnlToolbar, key, enable);
    if (options.iconSize == 32) {
        EnableIfThere(w.mnuFavorite, enable);
        for (const char* key : {"favedit", "favrefresh", "refedit"}) EnableButtonIfThere(w.pnlToolbarYour, key, enable);
        if (options.browserAvailable) EnableButtonIfThere(w.pnlToolbarYour, "changefolder", enable);
    }
    holdFocus(w, enable);
    EnableIfThere(w.pnlNav, enable);
    if (enable) giveFocusBack(w);
}

bool IsIdle(const BrowserWindow& w) { return !w.mnuFile || w.mnuFile->Enabled(); }

} // namespace vm
