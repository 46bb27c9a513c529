#include "busystate.h"

namespace vm {
namespace {

void enableButton(Toolbar* bar, const char* key, bool enable) {
    if (bar) bar->Buttons(key).SetEnabled(enable);
}

void enableMenu(MenuItem* item, bool enable) {
    if (item) item->SetEnabled(enable);
}

void enableControl(Control* control, bool enable) {
    if (control) control->SetEnabled(enable);
}

} // namespace

void procSetAbort(BrowserWindow& w, const BusyOptions& options, bool enable) {
    Screen::SetMousePointer(vbArrowHourglass);
    enableButton(w.pnlToolbar, "abort", !enable);
    enableControl(w.picSplitV, enable);
    enableControl(w.picSplitH, enable);
    for (MenuItem* menu : {w.mnuFile, w.mnuEdit, w.mnuView, w.mnuGo, w.mnuRef, w.mnuTools, w.mnuHelp, w.mnuGoBar})
        enableMenu(menu, enable);
    for (const char* key : {"view", "open", "create", "help"}) enableButton(w.pnlToolbar, key, enable);
    if (options.iconSize == 32) {
        enableMenu(w.mnuFavorite, enable);
        for (const char* key : {"favedit", "favrefresh", "refedit"}) enableButton(w.pnlToolbarYour, key, enable);
        if (options.browserAvailable) enableButton(w.pnlToolbarYour, "changefolder", enable);
    }
    enableControl(w.pnlNav, enable);
}

bool IsIdle(const BrowserWindow& w) { return !w.mnuFile || w.mnuFile->Enabled(); }

} // namespace vm
