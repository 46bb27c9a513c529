#pragma once
// The keyword editor: user keywords added to and deleted from the keyword
// boxes of the main window and the Add Reference window. Loaded at start-up,
// hidden between uses. Every change is written to the keyword file at once, so
// no edit waits for the program's end.
#include "controls_basic.h"
#include "form.h"

namespace vm {

// The main window's keyword box (every keyword, ItemData = keyword id).
struct KeywordHost {
    ComboBox* cmbSearch = nullptr;
};
extern KeywordHost keywordHost;

class FrmKey : public Form {
public:
    FrmKey();
    TextBox txtKey{this};
    ListBox lstKey{this};
    CommandButton cmdAdd{this}, cmdDelete{this}, cmdCancel{this}, cmdHelp{this};

    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();
    void txtKey_Change();
    void lstKey_Click();

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;

private:
    void saveKeywords();
    bool txtKeyFocus_ = false;
    bool lstKeyFocus_ = false;
};

FrmKey& frmKey();

// The position of the item whose text is exactly text, or -1.
template <class L>
int FindExact(L& list, const std::string& text) {
    for (int i = 0; i < list.ListCount(); ++i)
        if (list.List(i) == text) return i;
    return -1;
}

} // namespace vm
