#pragma once
// The Add Reference window: files the selected result icon (an icon in one of
// the user's files) under a keyword with an icon type. Loaded at start-up,
// hidden between uses; the reference file is written at program end.
#include <functional>
#include <string>

#include "controls_basic.h"
#include "form.h"

namespace vm {

// The Tag of the main window's selected result item ("" when none).
struct ReferenceHost {
    std::function<std::string()> selectedTag;
};
extern ReferenceHost referenceHost;

class FrmAdd : public Form {
public:
    FrmAdd();
    Label Label1{this};
    ComboBox cmbSearch{this};
    Frame Frame1{this};
    ControlArray<OptionButton> optType{this};
    CommandButton cmdAdd{this}, cmdCancel{this}, cmdHelp{this};

    int ReferenceTypeIndex = 0;

    void cmbSearch_Click();
    void optType_Click(int Index);
    void cmdAdd_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();

    // The "user" entry of an "open" entry with the chosen type digit; "" for an entry too short.
    static std::string ReferenceEntry(const std::string& tag, int typeIndex);

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;
};

FrmAdd& frmAdd();

} // namespace vm
