#include "frmkey.h"

#include <algorithm>

#include "browserstate.h"
#include "formplace.h"
#include "frmadd.h"
#include "helpfile.h"
#include "inputlimits.h"
#include "libraryindex.h"
#include "listaccess.h"
#include "seam.h"
#include "state.h"
#include "utf8text.h"

namespace vm {

KeywordHost keywordHost;

FrmKey& frmKey() { return defaultInstance<FrmKey>(); }

FrmKey::FrmKey() : Form("frmKey") {
    design.caption = "Edit Keywords";
    design.width = 4800;
    design.height = 4800;
    design.borderStyle = vbFixedDialog;
    design.minButton = design.maxButton = false;
    design.keyPreview = true;
}

void FrmKey::CreateControls() {
    txtKey.create(*this, 240, 240, 2880, 315);
    lstKey.create(*this, 240, 720, 2880, 3240, true);
    cmdAdd.create(*this, 3360, 240, 1215, 375, "&Add");
    cmdAdd.SetToolTipText("Add Reference");
    cmdDelete.create(*this, 3360, 720, 1215, 375, "&Delete");
    cmdDelete.SetToolTipText("Close");
    cmdCancel.create(*this, 3360, 3120, 1215, 375, "&Close");
    cmdCancel.SetToolTipText("Close");
    cmdHelp.create(*this, 3360, 3600, 1215, 375, "&Help");
    // Enter adds the keyword typed; Esc closes.
    cmdAdd.SetDefault(true);
    cmdCancel.SetCancel(true);
    cmdAdd.SetEnabled(false);
    cmdDelete.SetEnabled(false);
    VM_ON(cmdAdd, Click);
    VM_ON(cmdDelete, Click);
    VM_ON(cmdCancel, Click);
    VM_ON(cmdHelp, Click);
    VM_ON(txtKey, Change);
    VM_ON(lstKey, Click);
    LimitInput(txtKey, kMaxKeywordLength, "A keyword");
    txtKey.GotFocus = [this] { txtKeyFocus_ = true; };
    txtKey.LostFocus = [this] { txtKeyFocus_ = false; };
    lstKey.GotFocus = [this] { lstKeyFocus_ = true; };
    lstKey.LostFocus = [this] { lstKeyFocus_ = false; };
}

void FrmKey::Form_Load() {
    Keywords.KeywordsChanged = false;
    procPlaceForm(*this, "Key");
}

void FrmKey::cmdAdd_Click() {
    ComboBox* search = keywordHost.cmbSearch;
    const std::string text = txtKey.Text();
    if (!search || text.empty()) return;
    if (TextLength(text) > static_cast<size_t>(kMaxKeywordLength)) {
        MsgBox(InputLimitText("A keyword", kMaxKeywordLength), vbOKOnly | vbExclamation, Caption());
        return;
    }
    if (FindExact(*search, text) >= 0) {
        MsgBox(std::string("This Keyword is already present in") + '\n' + "the Vellumar Keyword list.",
               vbOKOnly | vbInformation, Caption());
        return;
    }
    std::int32_t highest = -1;
    for (int i = 0; i < search->ListCount(); ++i) highest = std::max(highest, search->ItemData(i));
    const std::int32_t id = highest + 1;
    if (id > kMaxKeywordId) {
        MsgBox(std::string("The Vellumar Keyword list is full.") + '\n' + "No further keyword can be added.",
               vbOKOnly | vbInformation, Caption());
        return;
    }
    Keywords.KeywordsChanged = true;
    search->AddItem(text);
    const int position = search->NewIndex();
    search->SetItemData(position, id);
    Keywords.KeywordNames[static_cast<size_t>(id)] = text;
    Keywords.KeywordIcons[static_cast<size_t>(id)].clear();
    frmAdd().cmbSearch.AddItem(text);
    lstKey.AddItem(text);
    lstKey.SetItemData(lstKey.NewIndex(), position);
    lstKey.SetListIndex(lstKey.NewIndex());
    saveKeywords();
    // A click on Add leaves the focus on the button it disables, where no key
    // reaches the window, not even Esc: the next keyword is typed instead.
    txtKey.SetFocus();
}

void FrmKey::cmdDelete_Click() {
    const int selected = lstKey.ListIndex();
    if (selected < 0) return;
    const std::string text = lstKey.List(selected);
    Keywords.KeywordsChanged = true;
    if (ComboBox* search = keywordHost.cmbSearch)
        if (int at = FindExact(*search, text); at >= 0) search->RemoveItem(at);
    if (int at = FindExact(frmAdd().cmbSearch, text); at >= 0) frmAdd().cmbSearch.RemoveItem(at);
    lstKey.RemoveItem(selected);
    txtKey.SetText("");
    cmdDelete.SetEnabled(false);
    saveKeywords();
    txtKey.SetFocus(); // as after Add
}

void FrmKey::saveKeywords() {
    ListOf<ListBox> keys(lstKey);
    procSaveUserChanges(&keys);
}

void FrmKey::txtKey_Change() {
    if (lstKeyFocus_) return;
    const std::string text = txtKey.Text();
    if (text.empty()) {
        cmdAdd.SetEnabled(false);
        return;
    }
    const int found = FindExact(lstKey, text);
    lstKey.SetListIndex(found);
    cmdAdd.SetEnabled(found < 0);
    cmdDelete.SetEnabled(found >= 0);
}

void FrmKey::lstKey_Click() {
    if (txtKeyFocus_ || lstKey.ListIndex() < 0) return;
    txtKey.SetText(lstKey.Text());
    cmdAdd.SetEnabled(false);
    cmdDelete.SetEnabled(true);
}

void FrmKey::cmdCancel_Click() { Hide(); }

void FrmKey::cmdHelp_Click() { procShowHelp(hWnd(), HelpContext::Keywords); }

void FrmKey::Form_KeyUp(int& KeyCode, int) {
    if (KeyCode == VK_F1) cmdHelp_Click();
}

} // namespace vm
