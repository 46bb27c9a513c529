#pragma once
// The tip of the day: one of the numbered usage tips, stepped through in a
// ring; closing it remembers the next tip and whether tips open at start-up.
#include "controls_basic.h"
#include "form.h"
#include "picturebox.h"

namespace vm {

class FrmTip : public Form {
public:
    FrmTip();
    PictureBox picTipBack{this};
    Label txtTitle{this};
    TextBox txtTip{this};
    CheckBox chkTip{this};
    CommandButton cmdNextTip{this};
    CommandButton cmdOK{this};

    int TipNumber = 1;
    int TipCount = 0;

    void cmdNextTip_Click();
    void cmdOK_Click();

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

private:
    void procShowTip();
    void procSaveTipSettings();
};

FrmTip& frmTip();

} // namespace vm
