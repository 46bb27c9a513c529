// The main window's side of the export commands: Save As, Copy and Save All
// Formats work on the window's controls through an ExportWindow, and the
// menus run them. Favorites > Add is Save As run on exportWindow with
// folderPicker.SearchingFavorites set around the call.
#include "frmmain.h"

#include "browserstate.h"
#include "commandstate.h"
#include "exportcommands.h"
#include "framecollect.h"
#include "frmmessage.h"
#include "frmzoom.h"
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
    e.setHotSpot = [this] { procSetHotSpot(); };
    e.collectFrames = [this] {
        ListItem* item = pnlResult.SelectedItem();
        Exports.picFilm = item ? procCollectAnimationFrames(Entries.cmbResult, item->Tag, Keywords.IconSize)
                               : std::vector<Picture>{};
        Exports.AniFrameCount = static_cast<std::int16_t>(Exports.picFilm.size());
    };
    for (MenuItem* item : {&mnuFileSaveAs, &mnuResultClickSaveAs, &mnuDetailClickSaveAs})
        item->Click = [this] { mnuFileSaveAs_Click(exportWindow); };
    for (MenuItem* item : {&mnuEditCopy, &mnuResultClickCopy, &mnuDetailClickCopy})
        item->Click = [this] { mnuEditCopy_Click(exportWindow); };
    mnuDetailClickSaveAllAs.Click = [this] { mnuDetailClickSaveAllAs_Click(exportWindow); };
}

// A library picture keeps no hotspot: the user picks one in the zoom window.
void FrmMain::procSetHotSpot() {
    Commands.HotSpotMode = true;
    procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, "NoCursorChange");
    // Missing, empty and "0" alike mean the notice was never silenced.
    if (reg.RegValue.isEmpty() || reg.RegValue.toText().empty() || reg.RegValue.toText() == "0")
        shell::procShowMessage("Due to the compressed Icon storage format of Vellumar, a cursor's Hotspot is lost. "
                               "Please set the Cursor's Hotpot again. I.e the Hotspot of a mouse pointer would be the "
                               "arrow top.",
                               "NoCursorChange", "Change Cursors", "Define Hotspot Now");
    if (Commands.ZoomWindowOpen) frmZoom().Unload();
    frmZoom().Show(vbModal, this);
    Commands.HotSpotMode = false;
}

} // namespace vm
