#include "frmprop.h"

#include <windows.h>

#include <algorithm>

#include "browserstate.h"
#include "exportwindow.h"
#include "formatwriters.h"
#include "helpfile.h"
#include "listview.h"
#include "seam.h"
#include "state.h"
#include "viewerhost.h"

namespace vm {

std::string procKeywordsOf(const std::string& libraryIconId, const std::vector<std::string>& names,
                           const std::vector<std::string>& records, int lastId) {
    std::string list;
    const int last = std::min({lastId, static_cast<int>(records.size()) - 1, static_cast<int>(names.size()) - 1});
    for (int k = 0; k <= last; ++k) {
        const std::string& record = records[static_cast<std::size_t>(k)];
        for (std::size_t from = 0, at; (at = record.find(';', from)) != std::string::npos; from = at + 1)
            if (record.compare(from, at - from, libraryIconId) == 0 && at - from == libraryIconId.size()) {
                list += names[static_cast<std::size_t>(k)] + ", ";
                break;
            }
    }
    if (list.size() >= 2) list.erase(list.size() - 2);
    return list;
}

FrmProp& frmProp() { return defaultInstance<FrmProp>(); }

FrmProp::FrmProp() : Form("frmProp") {
    design.caption = "Properties";
    design.borderStyle = vbFixedDialog;
    design.minButton = design.maxButton = false;
    design.width = 5400;
    design.height = 5280;
    design.startUpPosition = vbStartUpScreen;
    design.keyPreview = true;
}

void FrmProp::CreateControls() {
    tabProperties.create(*this, 120, 120, 5040, 4320);
    tabProperties.Tabs.Add(-1, "general", "General");
    picIcon.create(*this, 360, 600, 480, 480, false);
    txtName.create(*this, 1200, 720, 3720, 285);
    lblType.create(*this, 360, 1440, 960, 285, "Type:");
    txtType.create(*this, 1440, 1440, 3480, 285);
    lblOrigin.create(*this, 360, 1800, 960, 285, "Origin:");
    txtOrigin.create(*this, 1440, 1800, 3480, 285);
    txtFile.create(*this, 1440, 2160, 3480, 285);
    lblKeywords.create(*this, 360, 2640, 1080, 285, "Keywords:");
    txtKeywords.create(*this, 1440, 2640, 3480, 1560, "", true, 2);
    txtKeywords.SetLocked(true);
    cmdOK.create(*this, 2640, 4560, 1215, 375, "OK");
    cmdOK.SetDefault(true);
    cmdOK.SetCancel(true);
    cmdHelp.create(*this, 3945, 4560, 1215, 375, "&Help");
    VM_ON(cmdOK, Click);
    VM_ON(cmdHelp, Click);
}

void FrmProp::Form_Load() {
    ExportWindow* items = Viewers.items;
    ListItem* item = items && items->pnlResult ? items->pnlResult->SelectedItem() : nullptr;
    txtKeywords.SetText("");
    if (item) {
        picIcon.SetPicture(SelectedItemPicture(*items));
        txtName.SetCaption(item->Text());
        txtType.SetCaption(item->SubItems(1));
        const std::string origin = item->SubItems(2);
        txtOrigin.SetCaption(origin);
        if (origin.compare(0, 8, "Vellumar") == 0 && item->Tag.size() > 4) {
            const std::string id = item->Tag.substr(0, item->Tag.size() - 4);
            // The keyword box lists one keyword an id; its count bounds the records read.
            const int lastId = Viewers.keywordCount ? Viewers.keywordCount() : kMaxKeywordId;
            txtKeywords.SetText(procKeywordsOf(id, Keywords.KeywordNames, Keywords.KeywordIcons, lastId));
        }
        if (origin == "Windows Default") txtFile.SetCaption("Windows Default");
    }
    Screen::SetMousePointer(vbDefault);
}

void FrmProp::cmdHelp_Click() { procShowHelp(hWnd(), HelpContext::Properties); }

void FrmProp::Form_KeyUp(int& KeyCode, int) {
    if (KeyCode == VK_F1) cmdHelp_Click();
}

} // namespace vm
