#pragma once
// The controls of the main window that the page filler and the busy state
// work on. The main window points these at its own controls when it loads;
// tests point them at a hidden form of their own. A control left null is
// passed over, so the window can hand over what it has.
#include "control.h"
#include "imagelist.h"
#include "listview.h"
#include "menu.h"
#include "controls_common.h"
#include "statusbar.h"
#include "timer.h"
#include "toolbar.h"

namespace vm {

struct BrowserWindow {
    Form* form = nullptr;              // its font measures the progress bar; it pops up the page menu
    ListView* pnlResult = nullptr;     // the result list (required for a page fill)
    ImageList* imlResult32 = nullptr;  // the result pictures (required for a page fill)
    StatusBar* pnlStatusbar = nullptr;
    ProgressBar* pnlProgressBar = nullptr;
    Panel* MessagePanel = nullptr;     // "message"
    Panel* CountPanel = nullptr;       // "count"
    Panel* PagePanel = nullptr;        // "area"
    TimerControl* tmrLed = nullptr;
    Control* pnlNav = nullptr;
    Control* picSplitV = nullptr;
    Control* picSplitH = nullptr;
    Toolbar* pnlToolbar = nullptr;
    Toolbar* pnlToolbarYour = nullptr;
    MenuItem *mnuFile = nullptr, *mnuEdit = nullptr, *mnuView = nullptr, *mnuGo = nullptr, *mnuRef = nullptr,
             *mnuTools = nullptr, *mnuHelp = nullptr, *mnuFavorite = nullptr, *mnuGoBar = nullptr;
    MenuItem *mnuGoFirstPage = nullptr, *mnuGoPrevPage = nullptr, *mnuGoNextPage = nullptr,
             *mnuGoLastPage = nullptr;
    ControlArray<MenuItem>* mnuGoToPageNr = nullptr;
    ControlArray<MenuItem>* mnuGoBarToPageNr = nullptr;
    bool focusLeftTree = false;        // the busy state took the keyboard focus from the tree
};

// Switches a control the window may not have handed over.
inline void EnableIfThere(MenuItem* item, bool enable) {
    if (item) item->SetEnabled(enable);
}
inline void EnableIfThere(Control* control, bool enable) {
    if (control) control->SetEnabled(enable);
}
inline void EnableButtonIfThere(Toolbar* bar, const char* key, bool enable) {
    if (bar) bar->Buttons(key).SetEnabled(enable);
}

} // namespace vm
