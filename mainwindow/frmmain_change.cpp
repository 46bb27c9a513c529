// The main window's side of the change window: File > Change and its twins
// hand the selected result item over, and the change window reaches the
// result list, the change list, the tree and the keyword box through changeHost.
#include "frmmain.h"

#include "changehost.h"
#include "frmchange.h"
#include "commandstate.h"
#include "framecollect.h"
#include "frmzoom.h"
#include "iconcanvas.h"
#include "orvexbind.h"
#include "seam.h"
#include "state.h"
#include "vberror.h"
#include "cshelllink.h"
#include "shortcutchange.h"

namespace vm {

void FrmMain::connectChange() {
    changeHost.changeRows = [this] {
        std::vector<std::string> rows;
        for (int i = 0; i < lstChange.ListCount(); ++i) rows.push_back(lstChange.List(i));
        return rows;
    };
    changeHost.selectedItem = [this](ChangeItem& item) { return changeItem(item); };
    changeHost.noIcon = [this] { return picNoIcon.GetPicture(); };
    changeHost.canvas = [this] { return selectionWindow.canvas(); };
    changeHost.rememberGroup = [this]() -> std::function<void()> {
        Node* node = pnlNav.SelectedItem();
        if (!node) return {};
        const std::string key = node->Key();
        // The node by its key: a tree rebuilt since leaves no dangling node behind.
        return [this, key] {
            Node* again = pnlNav.Nodes.exists(key) ? &pnlNav.Nodes(key) : nullptr;
            if (!again) return;
            pnlNav.SetSelectedItem(again);
            pnlNav_NodeClick(*again);
        };
    };
    changeHost.searchLookAlikes = [this](const std::string& title) {
        const int before = cmbSearch.ListIndex();
        const auto found = SendMessageA(cmbSearch.hWnd(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(title.c_str()));
        cmbSearch.SetListIndex(static_cast<int>(found));
        if (cmbSearch.ListIndex() == before) cmbSearch_Click();
    };
    changeHost.setHotSpot = [] { procSetHotSpot(&frmChange()); };
    changeHost.collectFrames = [](const std::string& entry) {
        return procCollectAnimationFrames(Entries.cmbResult, entry, Keywords.IconSize);
    };
    changeHost.restartWindows = [this] { return restartWindows(); };
    VM_ON(mnuFileChange, Click);
    mnuResultClickChange.Click = [this] { mnuFileChange_Click(); };
    resultDrop.OLEDragOver = [this](DataObject& Data, int& Effect, int Button, int Shift, float X, float Y,
                                    int State) { pnlResult_OLEDragOver(Data, Effect, Button, Shift, X, Y, State); };
    resultDrop.OLEDragDrop = [this](DataObject& Data, int& Effect, int Button, int Shift, float X, float Y) {
        pnlResult_OLEDragDrop(Data, Effect, Button, Shift, X, Y);
    };
    resultDrop.attach(pnlResult);
}

bool FrmMain::changeItem(ChangeItem& item) {
    ListItem* selected = pnlResult.SelectedItem();
    if (!selected) return false;
    item.text = selected->Text();
    item.entry = selected->Tag;
    item.typeText = selected->SubItems(1);
    item.folder = selected->SubItems(2);
    item.icon = selected->Icon().empty() ? Picture() : imlResult32.ListImages(selected->Icon()).ExtractIcon();
    return true;
}

void FrmMain::mnuFileChange_Click() {
    ChangeItem item;
    if (!changeItem(item)) return;
    frmChange().handOver(item);
}


void FrmMain::pnlResult_OLEDragOver(DataObject& Data, int& Effect, int, int, float X, float Y, int State) {
    if (State == vbEnter) {
        ListItem* selected = pnlResult.SelectedItem();
        selectedBeforeDrag = selected ? selected->Index() : 0;
    }
    // Files dropped on an icon get that icon; anything else is no drop here.
    if (!Data.GetFormat(vbCFFiles)) {
        Effect = vbDropEffectNone;
        return;
    }
    if (State == vbLeave) {
        // The files went elsewhere or the drag was cancelled: the user's own selection comes back.
        const int count = pnlResult.ListItems.Count();
        pnlResult.SetSelectedItem(selectedBeforeDrag >= 1 && selectedBeforeDrag <= count
                                      ? &pnlResult.ListItems(selectedBeforeDrag)
                                      : nullptr);
        Effect = vbDropEffectNone;
        return;
    }
    // Copy only; the icon under the pointer (none beside the icons) shows where the files will land.
    Effect = Effect & vbDropEffectCopy;
    pnlResult.SetSelectedItem(pnlResult.HitTest(X, Y));
}

void FrmMain::pnlResult_OLEDragDrop(DataObject& Data, int&, int, int, float X, float Y) {
    if (!Data.GetFormat(vbCFFiles)) return;
    const std::vector<std::string> files = Data.Files();
    if (files.empty()) return;
    ListItem* item = pnlResult.HitTest(X, Y);
    if (!item) {
        // Beside the icons: the files are opened as icon sources.
        std::string passed;
        for (const std::string& file : files) passed += (passed.empty() ? "" : std::string(1, '\0')) + file;
        runState.PassedFile = passed;
        procOpenFolderFiles(0);
        return;
    }
    pnlResult.SetSelectedItem(item);
    pnlResult_ItemClick(*item);
    procDropShortcutFiles(files);
}

void FrmMain::procDropShortcutFiles(const std::vector<std::string>& files) {
    auto writeIcon = [this](const std::string& file) {
        IconCanvas canvas = selectionWindow.canvas();
        const auto size = static_cast<std::int16_t>(Keywords.IconSize);
        procMask(canvas, size, size);
        procGetSaveBitDepth(canvas);
        if (!canvas.picSave || canvas.picSave->GetPicture().empty() || !canvas.pctColor || !canvas.pctMask)
            return false;
        return orvexbind::SaveAsIcon(canvas.pctColor->hDC(), canvas.pctMask->hDC(), size, size,
                                     Commands.SaveBitDepth, file.c_str()) == -1;
    };
    auto askName = [this](const std::string& file) {
        dlgIcon.Filter = "Shortcut (*.lnk)|*.lnk";
        dlgIcon.DefaultExt = "lnk";
        dlgIcon.Flags = 0x200C06;
        dlgIcon.InitDir = paths.WindowsDir + "\\Start Menu";
        dlgIcon.FileName = file;
        dlgIcon.DialogTitle = "Create Shortcut";
        dlgIcon.CancelError = false;
        return dlgIcon.ShowSave() ? dlgIcon.FileName : std::string();
    };
    Screen::SetMousePointer(vbHourglass);
    const ShortcutDrop drop = dropShortcutFiles(files, writeIcon, askName);
    Screen::SetMousePointer(vbDefault);
    if (!drop.failures.empty()) MsgBox(drop.failures, vbExclamation, "Change Shortcut");
    // A cancelled drop ends without the notice.
    if (!drop.cancelled) shortcutNotice(drop.sameName, "Change Shortcut");
}

void FrmMain::procSaveShortcut(std::string& linkFile, std::string& targetPath, std::string& workingFolder,
                               std::string& arguments, std::string& iconFile, std::int32_t& iconIndex,
                               std::int32_t& showCommand, std::string& description) {
    ShellLinkInfo info{targetPath, workingFolder, arguments, iconFile, iconIndex, showCommand, description};
    cShellLink link;
    const HRESULT result = link.Write(linkFile, info);
    if (FAILED(result)) throw VbError(static_cast<std::int32_t>(result & 0xFFFF), "procSaveShortcut",
                                      "The shortcut " + linkFile + " could not be written.");
}
} // namespace vm
