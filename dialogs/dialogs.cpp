#include "dialogforms.h"

namespace vm {

DoubleClickSettings DoubleClick;

FrmAdd& frmAdd() { return defaultInstance<FrmAdd>(); }
FrmKey& frmKey() { return defaultInstance<FrmKey>(); }
FrmInfo& frmInfo() { return defaultInstance<FrmInfo>(); }
FrmOptions& frmOptions() { return defaultInstance<FrmOptions>(); }
FrmScan& frmScan() { return defaultInstance<FrmScan>(); }

FrmSimple::FrmSimple(const char* name, const char* caption) : Form(name) {
    design.caption = caption;
    design.borderStyle = vbFixedDialog;
    design.minButton = design.maxButton = false;
    design.startUpPosition = vbStartUpScreen;
}

FrmAdd::FrmAdd() : Form("frmAdd") {
    design.caption = "Add Reference";
    design.width = 5400;
    design.height = 4800;
    design.borderStyle = vbFixedDialog;
    design.minButton = design.maxButton = false;
    design.startUpPosition = vbStartUpScreen;
}

void FrmAdd::CreateControls() {
    cmbSearch.create(*this, 240, 240, 4800, 3000, vbComboDropdown, true);
    fraType.create(*this, 240, 720, 4800, 3000, "Icon Type");
    static const char* const kTypes[] = {"16 Color Icon",      "256 Color Icon",      "Hi-Color Icon",
                                         "16 Color Animation", "256 Color Animation", "Hi-Color Animation",
                                         "16 Color Cursor",    "256 Color Cursor",    "Hi-Color Cursor"};
    for (int i = 0; i < 9; ++i) optType(i).create(fraType, 240, 300 + i * 290, 4200, 270, kTypes[i]);
    cmdAdd.create(*this, 2400, 3840, 1215, 375, "&Add");
    cmdCancel.create(*this, 3825, 3840, 1215, 375, "&Cancel");
}

FrmKey::FrmKey() : Form("frmKey") {
    design.caption = "Edit Custom Keywords";
    design.width = 4800;
    design.height = 4800;
    design.borderStyle = vbFixedDialog;
    design.minButton = design.maxButton = false;
    design.startUpPosition = vbStartUpScreen;
}

void FrmKey::CreateControls() {
    txtKey.create(*this, 240, 240, 2880, 315);
    lstKey.create(*this, 240, 720, 2880, 3240, true);
    cmdAdd.create(*this, 3360, 240, 1215, 375, "&Add");
    cmdDelete.create(*this, 3360, 720, 1215, 375, "&Delete");
    cmdClose.create(*this, 3360, 3600, 1215, 375, "&Close");
}

} // namespace vm
