#include "frmadd.h"

#include "browserstate.h"
#include "formplace.h"
#include "helpfile.h"
#include "inputlimits.h"
#include "libraryindex.h"
#include "seam.h"
#include "state.h"

namespace vm {

ReferenceHost referenceHost;

FrmAdd& frmAdd() { return defaultInstance<FrmAdd>(); }

FrmAdd::FrmAdd() : Form("frmAdd") {
    design.caption = "Add Reference";
    design.width = 5400;
    design.height = 5100;
    design.borderStyle = vbFixedDialog;
    design.minButton = design.maxButton = false;
    design.keyPreview = true;
}

void FrmAdd::CreateControls() {
    Label1.create(*this, 240, 270, 900, 255, "Keyword:");
    cmbSearch.create(*this, 1200, 240, 3840, 3000, vbComboDropdown, true);
    LimitInput(cmbSearch, kMaxKeywordLength, "A keyword");
    cmbSearch.SetToolTipText("Keywords");
    Frame1.create(*this, 240, 720, 4800, 3000, "Icon Type");
    static const char* const kTypes[] = {"16 Color Icon",      "256 Color Icon",      "Hi-Color Icon",
                                         "16 Color Animation", "256 Color Animation", "Hi-Color Animation",
                                         "16 Color Cursor",    "256 Color Cursor",    "Hi-Color Cursor"};
    for (int i = 0; i < 9; ++i) {
        optType(i).create(Frame1, 240, 300 + i * 290, 4200, 270, kTypes[i]);
        optType(i).Click = [this, i] { optType_Click(i); };
    }
    cmdAdd.create(*this, 1020, 3960, 1215, 375, "&Add");
    cmdCancel.create(*this, 2400, 3960, 1215, 375, "&Cancel");
    cmdHelp.create(*this, 3780, 3960, 1215, 375, "&Help");
    cmdAdd.SetEnabled(false);
    cmdAdd.SetDefault(true);
    cmdCancel.SetCancel(true);
    VM_ON(cmbSearch, Click);
    VM_ON(cmdAdd, Click);
    VM_ON(cmdCancel, Click);
    VM_ON(cmdHelp, Click);
}

void FrmAdd::Form_Load() {
    Keywords.UserIconsChanged = false;
    procPlaceForm(*this, "Add");
}

// While the list's choice is being made the box may still show the old text: the chosen item counts.
void FrmAdd::cmbSearch_Click() {
    const int chosen = cmbSearch.ListIndex();
    cmdAdd.SetEnabled(!(chosen >= 0 ? cmbSearch.List(chosen) : cmbSearch.Text()).empty());
}

void FrmAdd::optType_Click(int Index) { ReferenceTypeIndex = Index; }

std::string FrmAdd::ReferenceEntry(const std::string& tag, int typeIndex) {
    if (tag.size() <= 5 || typeIndex < 0 || typeIndex > 8) return "";
    return tag.substr(0, tag.size() - 5) + std::to_string(typeIndex) + "user";
}

void FrmAdd::cmdAdd_Click() {
    const std::string keyword = cmbSearch.Text();
    const std::string entry =
        ReferenceEntry(referenceHost.selectedTag ? referenceHost.selectedTag() : std::string(), ReferenceTypeIndex);
    if (keyword.empty() || entry.empty()) return;
    UserReferences& refs = UserRefs;
    for (int i = 0; i < refs.lstUser.ListCount() && i < refs.cmbUser.ListCount(); ++i) {
        if (refs.lstUser.List(i) == keyword && refs.cmbUser.List(i) == entry) {
            MsgBox("This reference already excists.", vbExclamation, "Error saving reference");
            cmdAdd.SetEnabled(false);
            return;
        }
    }
    Keywords.UserIconsChanged = true;
    // Item i of both lists is one reference, each pointing at the other.
    refs.cmbUser.AddItem(entry);
    refs.lstUser.AddItem(keyword);
    const int at = refs.cmbUser.NewIndex();
    refs.cmbUser.SetItemData(at, refs.lstUser.NewIndex());
    refs.lstUser.SetItemData(refs.lstUser.NewIndex(), at);
    procSaveUserChanges();
    Hide();
    cmdAdd.SetEnabled(false);
}

void FrmAdd::cmdCancel_Click() { Hide(); }

void FrmAdd::cmdHelp_Click() { procShowHelp(hWnd(), HelpContext::AddReference); }

void FrmAdd::Form_KeyUp(int& KeyCode, int) {
    if (KeyCode == VK_F1) cmdHelp_Click();
}

} // namespace vm
