#pragma once
// The scan window (File > Open by Folder): walks a folder, and on request its
// sub-folders, for the files that hold icons, filtered by kind, and hands
// them to the browser, which lists their icons. Remembers its choices and its place.
#include <cstdint>
#include <functional>
#include <string>

#include "browserhost.h"
#include "browserstate.h"
#include "controls_basic.h"
#include "form.h"
#include "picturebox.h"

namespace vm {

// What a scan needs of the main window and the browser; the main window fills it in.
struct ScanHost {
    EntryLists* entries = nullptr;
    PagingState* paging = nullptr;
    BusyState* busy = nullptr;
    const BrowserHost* browser = nullptr;   // status panels, yields, busy state, the page
    std::function<void(const std::string&)> setTypePanel;
    std::function<void()> clearZipLists;    // empties lstZipFiles and lstZipIcons with what was extracted
    std::function<void()> listZipMembers;   // the icon files inside the archives of lstZipFiles
    std::function<void()> searchOpen;       // lists the icons of lstFiles and lstZipIcons, page 1
    std::function<void()> clearSearchText;  // the keyword box shows no keyword
    std::function<void()> activateMain;     // the main window in front, with the keyboard focus
};
extern ScanHost scanHost;

class FrmScan : public Form {
public:
    FrmScan();
    Label lblDir{this};
    TextBox txtDir{this};
    CommandButton cmdBrowse{this};
    CheckBox chkScanSubDir{this}, chkScanZIP{this}, chkALL{this};
    Frame fraTypeFilter{this};
    CheckBox chkICL{this}, chkEXE{this}, chkDLL{this}, chkANI{this}, chkCUR{this}, chkICO{this};
    CommandButton cmdStart{this}, cmdCancel{this}, cmdHelp{this};

    bool ScanZipArchives = false;
    bool WalkSubfolders = true;

    void cmdStart_Click();
    void cmdBrowse_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();
    void chkALL_Click();
    void txtDir_Change();
    void helpKey(int& KeyCode, int Shift);

    // Whether the filter keeps a file of this name.
    bool Keeps(const std::string& file);

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    void Form_KeyUp(int& KeyCode, int Shift) override;

private:
    // The walk, the filter and the listing, in the main window.
    void procScan();
    void abortEnd();
};

FrmScan& frmScan();

} // namespace vm
