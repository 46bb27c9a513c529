#include "busystate.h"

namespace vm {

void procSetAbort(BrowserWindow& w, const BusyOptions& options, bool enable) {
    Screen::SetMousePointer(vbArrowHourglass);
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
    EnableIfThere(w.pnlNav, enable);
}

bool IsIdle(const BrowserWindow& w) { return !w.mnuFile || w.mnuFile->Enabled(); }

} // namespace vm
