// The main window's side of the change window: File > Change and its twins
// hand the selected result item over, and the change window reaches the
// result list, the change list, the tree and the keyword box through changeHost.
#include "frmmain.h"

#include "changehost.h"
#include "frmchange.h"
#include "framecollect.h"

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
    changeHost.setHotSpot = [this] { procSetHotSpot(); };
    changeHost.collectFrames = [](const std::string& entry) {
        return procCollectAnimationFrames(Entries.cmbResult, entry, Keywords.IconSize);
    };
    changeHost.restartWindows = [this] { mnuToolsRestart_Click(); };
    VM_ON(mnuFileChange, Click);
    mnuResultClickChange.Click = [this] { mnuFileChange_Click(); };
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

} // namespace vm
