// Exporting the selected icon: File > Save As and the toolbar's save button
// with the dialog answered through the seam, Edit > Copy from the menu and
// with Ctrl+C.
#include "scenario.h"

#include "seam.h"

using namespace vm;
using namespace vmscenario;

namespace {

// Lists the "boat" icons; the first is selected.
void listBoats() {
    typeInto(frmMain().cmbSearch, "bo");
    press(VK_RETURN);
    ASSERT_EQ(selectedItem(frmMain().pnlResult), 1);
}

std::string saveRequestFilter() {
    for (const SeamRequest& r : Seam::get().requests())
        if (r.kind == "Save") return r.title;
    return "<no dialog>";
}

} // namespace

TEST_F(LibraryScenario, FileSaveAsWritesTheSelectedIconAsAnIconFile) {
    listBoats();
    Seam::get().queue(SeamAnswer{1, dir.file("boat"), false});
    chooseMenu({"&File", "Save &As..."});
    EXPECT_NE(saveRequestFilter().find("Icon (*.ico)|*.ico"), std::string::npos);
    HICON loaded = static_cast<HICON>(LoadImageA(nullptr, dir.file("boat.ico").c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(loaded, nullptr);
    DestroyIcon(loaded);
}

TEST_F(LibraryScenario, TheSaveButtonWritesGifAndJpegPictures) {
    listBoats();
    Seam::get().queue(SeamAnswer{4, dir.file("boat"), false}); // Compuserve GIF
    clickButton(w().pnlToolbar, "save");
    const std::string gif = vmtest::readFile(dir.file("boat.gif"));
    ASSERT_GT(gif.size(), 20u);
    EXPECT_EQ(gif.substr(0, 6), "GIF89a"); // the background is transparent
    Seam::get().queue(SeamAnswer{5, dir.file("boat"), false}); // JPEG
    clickButton(w().pnlToolbar, "save");
    const std::string jpg = vmtest::readFile(dir.file("boat.jpg"));
    ASSERT_GT(jpg.size(), 20u);
    EXPECT_EQ(jpg.substr(6, 4), "JFIF");
    for (const SeamRequest& r : Seam::get().requests()) EXPECT_NE(r.kind, "MsgBox") << r.prompt;
}

TEST_F(LibraryScenario, EditCopyAndCtrlCPutTheIconOnTheClipboard) {
    listBoats();
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    chooseMenu({"&Edit", "&Copy\tCtrl+C"});
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    clickItem(w().pnlResult, 2);
    press('C', vbCtrlMask);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
}
