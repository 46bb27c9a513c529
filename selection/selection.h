#pragma once
// The main window's reaction to a change of the selected result item
// (procSelectItem): status panels, the item commands of the menus and both
// toolbars, the double-click action, the reference dialog's type preset, the
// item's image formats in FileIcons and the detail grid, and the zoom window.
//
// The main window points a SelectionWindow at its own controls when it loads
// and calls procSelectItem after every event that selects an item; the page
// filler calls it through its host's selectItem. Tests point one at a hidden
// form of their own.
#include <functional>
#include <string>
#include <vector>

#include "cfileicon.h"
#include "control.h"
#include "controls_basic.h"
#include "iconcanvas.h"
#include "imagelist.h"
#include "listview.h"
#include "menu.h"
#include "selectiondecision.h"
#include "statusbar.h"
#include "toolbar.h"

namespace vm {

class cIconGrid;

// The selected item's icon and source, held until the next selection.
struct SelectionState {
    // FileIcons(1) is FileIcons[0]; empty when the selected item gave no icon.
    std::vector<cFileIcon> FileIcons;
    std::string SelectedItemPath;   // source file; "" for a library icon
    std::string SelectedItemName;   // its file name
    std::string SelectedItemFolder; // its folder with the trailing "\"
    std::string CurrentAction = "None"; // the double-click action word
};

extern SelectionState Selection;

// The item commands the handler switches.
struct SelectionMenus {
    MenuItem *mnuFileProperties = nullptr, *mnuEditCopy = nullptr, *mnuFileSaveAs = nullptr,
             *mnuFileEditWith = nullptr, *mnuToolsZoom = nullptr;
    MenuItem *mnuResultClickProperties = nullptr, *mnuResultClickCopy = nullptr, *mnuResultClickSaveAs = nullptr,
             *mnuResultClickEditWith = nullptr, *mnuResultClickZoom = nullptr;
    MenuItem *mnuGoToPage = nullptr, *mnuGoBar = nullptr, *mnuToolsChangeFolder = nullptr;
    MenuItem *mnuFileExtract = nullptr, *mnuFileRun = nullptr, *mnuResultClickExtract = nullptr,
             *mnuResultClickRun = nullptr;
    MenuItem *mnuFilePlay = nullptr, *mnuResultClickPlay = nullptr;
    MenuItem *mnuRefAdd = nullptr, *mnuResultClickAddRef = nullptr, *mnuRefDelete = nullptr,
             *mnuResultClickDelRef = nullptr;
    MenuItem *mnuFileChange = nullptr, *mnuResultClickChange = nullptr;
    MenuItem *mnuFavoriteAdd = nullptr, *mnuFavoriteDel = nullptr, *mnuResultClickAddFav = nullptr,
             *mnuResultClickDelFav = nullptr;
    MenuItem *mnuDiv16 = nullptr, *mnuDiv22 = nullptr, *mnudiv14 = nullptr;
};

struct SelectionWindow {
    Form* form = nullptr;              // its font measures the path text
    ListView* pnlResult = nullptr;     // required
    ImageList* imlResult32 = nullptr;
    ImageList* imlNav = nullptr;       // type pictures and "redledoff"
    Panel* MessagePanel = nullptr;     // "message"
    Panel* TypePanel = nullptr;        // "type"
    Panel* PagePanel = nullptr;        // "area"
    Toolbar* pnlToolbar = nullptr;
    Toolbar* pnlToolbarYour = nullptr;
    cIconGrid* grdIcons = nullptr;
    OffscreenSurface *picSave = nullptr, *pctColor = nullptr, *pctMask = nullptr;
    ControlArray<OptionButton>* optType = nullptr; // frmAdd's type options 0..8
    SelectionMenus menus;
    bool BrowserAvailable = true;      // set by the window's start-up
    // The page loaders forget the animation file they hold (LoadedAniFile := "").
    std::function<void()> forgetLoadedAni;
    // frmZoom.procZoom, run while ZoomWindowOpen.
    std::function<void()> procZoom;

    IconCanvas canvas() { return {picSave, pctColor, pctMask, pnlResult, imlResult32, TypePanel}; }
};

// Fills the menu pointers from a form whose menu items carry the usual names.
template <class F>
SelectionMenus selectionMenusOf(F& f) {
    return {&f.mnuFileProperties, &f.mnuEditCopy, &f.mnuFileSaveAs, &f.mnuFileEditWith, &f.mnuToolsZoom,
            &f.mnuResultClickProperties, &f.mnuResultClickCopy, &f.mnuResultClickSaveAs, &f.mnuResultClickEditWith,
            &f.mnuResultClickZoom, &f.mnuGoToPage, &f.mnuGoBar, &f.mnuToolsChangeFolder, &f.mnuFileExtract,
            &f.mnuFileRun, &f.mnuResultClickExtract, &f.mnuResultClickRun, &f.mnuFilePlay, &f.mnuResultClickPlay,
            &f.mnuRefAdd, &f.mnuResultClickAddRef, &f.mnuRefDelete, &f.mnuResultClickDelRef, &f.mnuFileChange,
            &f.mnuResultClickChange, &f.mnuFavoriteAdd, &f.mnuFavoriteDel, &f.mnuResultClickAddFav,
            &f.mnuResultClickDelFav, &f.mnuDiv16, &f.mnuDiv22, &f.mnudiv14};
}

// Whether an origin text names the icon library (a library icon has no file).
bool isLibraryOrigin(const std::string& origin);

// The handler. Runs only when pnlResult has a selected item (does nothing otherwise).
void procSelectItem(SelectionWindow& w);

// Switches the controls as the decision says; a control that is missing or
// refuses the change is passed over.
void applyCommandDecision(SelectionWindow& w, const selection::CommandDecision& d);

// Loads the selected item's image formats into FileIcons and the grid and
// shows its path in MessagePanel.
void procLoadImageFormats(SelectionWindow& w);

// The message panel's path text for SelectedItemPath with margin text beside
// it ("w" after a selection, "ww" when the window is resized); the panel keeps
// its text when no shortened form can be made.
void procFitPathText(SelectionWindow& w, const std::string& margin);

} // namespace vm
