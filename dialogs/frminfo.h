#pragma once
// The information window (Help > About): the version of the program and of
// Windows, notes, the parts of the icon library installed for each data set,
// and links to the maker.
#include <string>
#include <vector>

#include "controls_basic.h"
#include "controls_common.h"
#include "form.h"
#include "picturebox.h"

namespace vm {

// The data sets of the main window's data-set box, in its order (icon sizes).
struct InfoHost {
    std::vector<int> iconSizes{16, 32};
};
extern InfoHost infoHost;

class FrmInfo : public Form {
public:
    FrmInfo();
    TabStrip tabStrip{this};
    ControlArray<Frame> fraInfo{this};
    PictureBox picLogo{this};
    Label lblBuild{this}, lblWinVer{this};
    Label lblHelpNote{this}, lblTrademarks{this};
    ListBox txtPellandry{this};
    Label lblPellandry{this}, txtIcons{this};
    PictureBox picContact{this};
    Label lblUpdates{this}, txtURL{this}, lblMail{this}, txtMail{this};
    CommandButton cmdOK{this}, cmdHelp{this};

    int PageIndex = 1;

    void tabStrip_Click();
    void cmdHelp_Click();
    void cmdOK_Click();
    void txtIcons_Click();
    void txtURL_Click();
    void txtMail_Click();

    // The lines of the library list for the data sets, files looked for in dataPath.
    static std::vector<std::string> LibraryLines(const std::vector<int>& sizes, const std::string& dataPath);
    static std::string VersionText();

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_KeyUp(int& KeyCode, int Shift) override;
};

FrmInfo& frmInfo();

} // namespace vm
