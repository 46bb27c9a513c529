#pragma once
// A hidden form with the controls the export commands work on, under the main
// window's names, and an ExportWindow pointed at them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cicongrid.h"
#include "dialogs.h"
#include "exportwindow.h"
#include "form.h"
#include "imagelist.h"
#include "listview.h"
#include "picturebox.h"
#include "seam.h"
#include "statusbar.h"

namespace exporttest {

class FrmExport : public vm::Form {
public:
    FrmExport() : Form("frmExportTest") { design.width = 9000; design.height = 7000; }

    vm::ListView pnlResult{this};
    vm::cIconGrid grdIcons{this};
    vm::StatusBar pnlStatusbar{this};
    vm::PictureBox picOpen{this};
    vm::ImageList imlResult32;
    vm::OffscreenSurface picSave, pctColor, pctMask;
    vm::CommonDialog dlgIcon;

    vm::ExportWindow window();

    // A selected result item named text, of a type, with an icon of the list's
    // size: colour inside, transparent in the 4 x 4 top-left corner. The type
    // panel shows the type, as the selection handler leaves it.
    vm::ListItem& addItem(const std::string& text, const std::string& type, COLORREF colour = RGB(0, 0, 255),
                          const std::string& tag = "");

protected:
    void CreateControls() override;
};

// An icon of size x size in one colour whose 4 x 4 top-left corner is
// transparent; the caller owns it.
HICON cornerIcon(int size, COLORREF colour);

// The form loaded with no stored settings, the seam scripted and the command,
// selection and size state as the program starts with them.
class ExportFormTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The requests of one kind ("MsgBox", "Start" ...) in the order made.
    std::vector<vm::SeamRequest> requestsOf(const std::string& kind);

    FrmExport form;
    vm::ExportWindow w;
};

} // namespace exporttest
