// The main window's side of the export commands: Save As, Copy and Save All
// Formats work on the window's controls through an ExportWindow, and the
// menus run them. Favorites > Add is Save As run on exportWindow with
// folderPicker.SearchingFavorites set around the call.
#include "frmmain.h"

#include "browserstate.h"
#include "commandstate.h"
#include "exportcommands.h"
#include "maskcanvas.h"
#include "registry.h"
#include "startfolders.h"
#include "state.h"

namespace vm {

void FrmMain::connectExport() {
    ExportWindow& e = exportWindow;
    e = ExportWindow{};
    e.dlgIcon = &dlgIcon;
    e.pnlResult = &pnlResult;
    e.imlResult32 = &imlResult32;
    e.TypePanel = TypePanel;
    e.grdIcons = &grdIcons;
    e.picOpen = &picOpen;
    e.picSave = &picSave;
    e.pctColor = &pctColor;
    e.pctMask = &pctMask;
    e.favoritesNodeKey = [this] {
        Node* node = pnlNav.SelectedItem();
        return node ? node->Key() : std::string();
    };
    e.favoritesFolder = [] { return folders.FavoritesFolder; };
    e.useMask = [] { return Canvas.UseMask; };
    e.maskColor = [] { return static_cast<COLORREF>(Canvas.MaskColor); };
    // setHotSpot and collectFrames are the viewers' (connectItems).
    for (MenuItem* item : {&mnuFileSaveAs, &mnuResultClickSaveAs, &mnuDetailClickSaveAs})
        item->Click = [this] { mnuFileSaveAs_Click(exportWindow); };
    for (MenuItem* item : {&mnuEditCopy, &mnuResultClickCopy, &mnuDetailClickCopy})
        item->Click = [this] { mnuEditCopy_Click(exportWindow); };
    mnuDetailClickSaveAllAs.Click = [this] { mnuDetailClickSaveAllAs_Click(exportWindow); };
}

} // namespace vm
