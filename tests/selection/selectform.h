#pragma once
// A hidden form with the controls and menus the selection handler switches,
// under the main window's names, and a SelectionWindow pointed at them.
#include <windows.h>

#include <string>

#include "cicongrid.h"
#include "form.h"
#include "selection.h"

namespace seltest {

class FrmSelect : public vm::Form {
public:
    FrmSelect() : Form("frmSelectTest") { design.width = 9000; design.height = 7000; }

    vm::MenuItem mnuFile{this}, mnuFileSaveAs{this}, mnuFileExtract{this}, mnuFileChange{this},
        mnuFileEditWith{this}, mnuFilePlay{this}, mnuFileRun{this}, mnuFileProperties{this};
    vm::MenuItem mnuEdit{this}, mnuEditCopy{this};
    vm::MenuItem mnuGo{this}, mnuGoToPage{this};
    vm::MenuItem mnuFavorite{this}, mnuFavoriteAdd{this}, mnuFavoriteDel{this};
    vm::MenuItem mnuRef{this}, mnuRefAdd{this}, mnuRefDelete{this};
    vm::MenuItem mnuTools{this}, mnuToolsZoom{this}, mnuToolsChangeFolder{this};
    vm::MenuItem mnuResultClick{this}, mnuResultClickCopy{this}, mnuResultClickDiv1{this},
        mnuResultClickSaveAs{this}, mnuResultClickChange{this}, mnuResultClickEditWith{this},
        mnuResultClickPlay{this}, mnuResultClickExtract{this}, mnuDiv16{this}, mnuResultClickAddRef{this},
        mnuResultClickDelRef{this}, mnuDiv22{this}, mnuResultClickAddFav{this}, mnuResultClickDelFav{this},
        mnudiv14{this}, mnuResultClickProperties{this}, mnuResultClickDiv2{this}, mnuResultClickZoom{this},
        mnuResultClickRun{this};
    vm::MenuItem mnuGoBar{this};

    vm::Toolbar pnlToolbar{this}, pnlToolbarYour{this};
    vm::ListView pnlResult{this};
    vm::cIconGrid grdIcons{this};
    vm::StatusBar pnlStatusbar{this};
    vm::ControlArray<vm::OptionButton> optType{this};
    vm::ImageList imlResult32, imlNav;
    vm::OffscreenSurface picSave, pctColor, pctMask;

    vm::SelectionWindow window();

    // Puts every item command in the state the result clearing leaves.
    void clearResult();
    // A result item with its tag, type text and origin, selected; its picture
    // (an icon of the list's size in colour) is added to imlResult32.
    vm::ListItem& addItem(const std::string& text, const std::string& tag, const std::string& type,
                          const std::string& origin, COLORREF colour = RGB(0, 0, 255));

protected:
    void CreateControls() override;
};

} // namespace seltest
