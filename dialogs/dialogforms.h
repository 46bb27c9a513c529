#pragma once
// The dialogs as far as the main window needs them today: each form exists
// with the controls the main window and the browser use; their own commands
// come with the dialogs themselves.
#include "controls_basic.h"
#include "dialogstate.h"
#include "form.h"
#include "frmtip.h"

namespace vm {

// The add-reference dialog: loaded hidden at start-up.
class FrmAdd : public Form {
public:
    FrmAdd();
    ComboBox cmbSearch{this};
    Frame fraType{this};
    ControlArray<OptionButton> optType{this};
    CommandButton cmdAdd{this};
    CommandButton cmdCancel{this};

protected:
    void CreateControls() override;
};

// The keyword editor: loaded hidden at start-up.
class FrmKey : public Form {
public:
    FrmKey();
    TextBox txtKey{this};
    ListBox lstKey{this};
    CommandButton cmdAdd{this};
    CommandButton cmdDelete{this};
    CommandButton cmdClose{this};

protected:
    void CreateControls() override;
};

// Windows that only need to exist for now.
class FrmSimple : public Form {
public:
    FrmSimple(const char* name, const char* caption);
};
struct FrmInfo : FrmSimple { FrmInfo() : FrmSimple("frmInfo", "About Vellumar") {} };
struct FrmOptions : FrmSimple { FrmOptions() : FrmSimple("frmOptions", "Options") {} };
struct FrmScan : FrmSimple { FrmScan() : FrmSimple("frmScan", "Open by Folder") {} };

FrmAdd& frmAdd();
FrmKey& frmKey();
FrmInfo& frmInfo();
FrmOptions& frmOptions();
FrmScan& frmScan();

} // namespace vm
