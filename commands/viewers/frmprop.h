#pragma once
// The properties window of a result item without a file of its own (a library
// icon, a Windows default): its picture, name, type and origin, and for a
// library icon the keywords of the index that list it.
#include <string>
#include <vector>

#include "controls_basic.h"
#include "controls_common.h"
#include "form.h"
#include "picturebox.h"

namespace vm {

// The keywords whose record lists libraryIconId as one of its ";"-ended
// pieces (exact, case-sensitive), in index order, joined by ", ". Records
// from 0 to lastId are read (both ends included).
std::string procKeywordsOf(const std::string& libraryIconId, const std::vector<std::string>& names,
                           const std::vector<std::string>& records, int lastId);

class FrmProp : public Form {
public:
    FrmProp();

    TabStrip tabProperties{this};
    PictureBox picIcon{this};
    Label txtName{this}, lblType{this}, txtType{this}, lblOrigin{this}, txtOrigin{this}, txtFile{this},
        lblKeywords{this};
    TextBox txtKeywords{this};
    CommandButton cmdOK{this}, cmdHelp{this};

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;

private:
    void cmdOK_Click() { Unload(); }
    void cmdHelp_Click();
};

FrmProp& frmProp();

} // namespace vm
