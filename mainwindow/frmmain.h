#pragma once
// The main window: the hub of the program. Its default instance lives from
// start-up to the end; its controls and hidden lists are the working data of
// the browser, the commands, the tools and the dialogs.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "controls_basic.h"
#include "form.h"
#include "mainsettings.h"
#include "menu.h"
#include "subclass.h"

namespace vm {

class FrmMain : public Form, public ISubclass {
public:
    FrmMain();

    // Menu bar.
    MenuItem mnuFile{this}, mnuFileOpen{this}, mnuFileOpenDir{this}, mnuFileDiv1{this}, mnuFileSaveAs{this},
        mnuFileExtract{this}, mnuFileDiv2{this}, mnuFileChange{this}, mnuFileEditWith{this}, mnuFilePlay{this},
        mnuFileRun{this}, mnuFileProperties{this}, mnuFileDiv3{this}, mnuFileExit{this};
    MenuItem mnuEdit{this}, mnuEditCopy{this};
    MenuItem mnuView{this}, mnuViewToolbar{this}, mnuViewToolbarStandard{this}, mnuViewToolbarYour{this},
        mnuViewToolbarTextLabels{this}, mnuViewToolbarDiv{this}, mnuViewToolbarCustomize{this},
        mnuViewStatusBar{this}, mnuViewIconFormat{this}, mnuViewDiv1{this}, mnuViewLargeIcons{this},
        mnuViewList{this}, mnuViewDetails{this}, mnuViewDiv2{this}, mnuViewBackcolor{this},
        mnuViewArrangeMenu{this}, mnuViewDiv3{this}, mnuViewOptions{this};
    ControlArray<MenuItem> mnuViewArrange{this};
    MenuItem mnuGo{this}, mnuGoFirstPage{this}, mnuGoPrevPage{this}, mnuGoNextPage{this}, mnuGoLastPage{this},
        mnuGoToPage{this}, mnuGoDiv{this}, mnuGoHomePage{this}, mnuGoMail{this};
    ControlArray<MenuItem> mnuGoToPageNr{this};
    MenuItem mnuFavorite{this}, mnuFavoriteAdd{this}, mnuFavoriteDel{this}, mnuFavoriteDiv1{this},
        mnuFavoriteGroupAdd{this}, mnuFavoriteGroupDel{this}, mnuFavoriteDiv2{this}, mnuFavoriteRefresh{this},
        mnuFavoriteOrganize{this};
    MenuItem mnuRef{this}, mnuRefAdd{this}, mnuRefDelete{this}, mnuRefDiv{this}, mnuRefKey{this};
    MenuItem mnuTools{this}, mnuToolsZoom{this}, mnuToolsZoom2{this}, mnuToolsZoom3{this}, mnuToolsZoom4{this},
        mnuToolsZoom5{this}, mnuToolsZoom10{this}, mnuToolsDiv1{this}, mnuToolsChangeFolder{this},
        mnuToolsDefaultFolder{this}, mnuToolsDiv2{this}, mnuToolsImport{this}, mnuToolsDiv3{this},
        mnuToolsRebuild{this}, mnuToolsRestart{this};
    MenuItem mnuHelp{this}, mnuHelpTopics{this}, mnuHelpSearch{this}, mnuHelpDiv1{this}, mnuHelpTip{this},
        mnuHelpDiv2{this}, mnuHelpAbout{this};
    // Pop-up menus.
    MenuItem mnuResultClick{this}, mnuResultClickCopy{this}, mnuResultClickDiv1{this}, mnuResultClickSaveAs{this},
        mnuResultClickChange{this}, mnuResultClickEditWith{this}, mnuResultClickPlay{this},
        mnuResultClickExtract{this}, mnuDiv16{this}, mnuResultClickAddRef{this}, mnuResultClickDelRef{this},
        mnuDiv22{this}, mnuResultClickAddFav{this}, mnuResultClickDelFav{this}, mnudiv14{this},
        mnuResultClickProperties{this}, mnuResultClickDiv2{this}, mnuResultClickZoom{this}, mnuResultClickRun{this};
    MenuItem mnuWhite{this}, mnuResultClickView{this}, mnuResultClickViewLargeIcons{this},
        mnuResultClickViewList{this}, mnuResultClickViewDetails{this}, mnuWhiteDiv1{this},
        mnuResultClickViewBackColor{this}, mnuWhiteDiv2{this}, mnuResultClickViewArrangeMenu{this};
    ControlArray<MenuItem> mnuResultClickViewArrange{this};
    MenuItem mnuDetailClick{this}, mnuDetailClickCopy{this}, mnuDetailClickSaveAs{this},
        mnuDetailClickSaveAllAs{this}, mnuDetailClickDiv{this}, mnuDetailClickZoom{this};
    MenuItem mnuGoBar{this};
    ControlArray<MenuItem> mnuGoBarToPageNr{this};

    // Services of the window for the other subsystems.
    void procOpenPassedFile(const std::string& text);
    void procEndProgram();
    void mnuFileExit_Click();

    // ISubclass: the hand-over of a later start.
    EMsgResponse MsgResponse() const override { return emrPostProcess; }
    void MsgResponse(EMsgResponse) override {}
    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // How the process ends after the program end (tests replace it).
    static std::function<void()> endProcess;

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_Unload(int& Cancel) override;
    void Form_KeyPress(int& KeyAscii) override;

private:
    void createMenus();
    void releaseInstance();
    void openPendingHandOvers();
    void saveWindowSettings();
    void mnuGoHomePage_Click();
    void mnuGoMail_Click();
    void mnuHelpTopics_Click();
    void mnuHelpAbout_Click();
    void mnuHelpTip_Click();
    void mnuViewOptions_Click();

    bool busy_ = false;
    std::vector<std::string> pendingHandOvers_;
    mainwindow::WindowPlace place_;
};

FrmMain& frmMain();

} // namespace vm
