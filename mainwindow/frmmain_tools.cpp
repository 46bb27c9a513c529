// The main window's Tools commands: the create-icon window, folder icons, the
// icon-cache rebuild and the restart of Windows.
#include "frmmain.h"

#include "foldericon.h"
#include "frmimport.h"
#include "frmzoom.h"
#include "iconcache.h"
#include "toolscommands.h"
#include "toolshost.h"

namespace vm {

void FrmMain::connectTools() {
    toolsHost.canvas = [this] { return selectionWindow.canvas(); };
    toolsHost.detailRow = [this] {
        for (int row = 1; row <= grdIcons.ItemCount(); ++row)
            if (grdIcons.Selected(row)) return row;
        return 0;
    };
    toolsHost.saveBeforeEnd = [this] { procSaveBeforeEnd(); };
    toolsHost.endProgram = [this] { procEndProgram(); };
    // The picker belongs to the window that saves the cursor: closed, it
    // hands the keys back there, with or without a window manager.
    toolsHost.setHotSpot = [] { procSetHotSpot(&frmImport()); };
    VM_ON(mnuToolsImport, Click);
    VM_ON(mnuToolsChangeFolder, Click);
    VM_ON(mnuToolsDefaultFolder, Click);
    VM_ON(mnuToolsRebuild, Click);
    VM_ON(mnuToolsRestart, Click);
}

void FrmMain::mnuToolsImport_Click() { procShowCreateIcon(); }
void FrmMain::mnuToolsChangeFolder_Click() { procChangeFolderIcon(); }
void FrmMain::mnuToolsDefaultFolder_Click() { procDefaultFolderIcon(); }
void FrmMain::mnuToolsRebuild_Click() { procRebuildIconCache(); }

void FrmMain::mnuToolsRestart_Click() { restartWindows(); }

bool FrmMain::restartWindows() {
    // A refused restart leaves the program as it was.
    if (!procRestartWindows()) return false;
    releaseInstance();
    Unload(vbFormCode);
    return true;
}

} // namespace vm
