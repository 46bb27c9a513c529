// Exporting the selected icon: File > Save As and the toolbar's save button
// with the dialog answered through the seam, Edit > Copy from the menu and
// the toolbar's copy button.
#include "scenario.h"

#include "ico_fixtures.h"
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

TEST_F(LibraryScenario, EditCopyAndTheCopyButtonPutTheIconOnTheClipboard) {
    listBoats();
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    chooseMenu({"&Edit", "&Copy"});
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    clickItem(w().pnlResult, 2);
    clickButton(w().pnlToolbar, "copy");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
}

namespace {

// The sample library with the files its user references point at: an icon
// under "mine", a cursor under "apple".
class ReferenceScenario : public LibraryScenario {
protected:
    void prepare() override {
        LibraryScenario::prepare();
        namespace ico = vmtest::ico;
        CreateDirectoryA("C:\\icons", nullptr);
        ASSERT_TRUE(vmtest::writeFile("C:\\icons\\a.ico", ico::icoFile({ico::dib(32, 32, 8)})));
        ASSERT_TRUE(vmtest::writeFile("C:\\icons\\d.cur", ico::icoFile({ico::dib(32, 32, 4)}, 2)));
    }
    void TearDown() override {
        LibraryScenario::TearDown();
        DeleteFileA("C:\\icons\\a.ico");
        DeleteFileA("C:\\icons\\d.cur");
        RemoveDirectoryA("C:\\icons");
    }
    void search(const std::string& keyword) {
        typeInto(w().cmbSearch, keyword);
        press(VK_RETURN);
    }
};

} // namespace

TEST_F(ReferenceScenario, AFileIconIsSavedAsBitmapAndACursorAsCursor) {
    search("mine");
    ASSERT_EQ(selectedItem(w().pnlResult), 1);
    Seam::get().queue(SeamAnswer{3, dir.file("a-copy"), false}); // the cursor set's Bitmap
    chooseMenu({"&File", "Save &As..."});
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, dir.file("a-copy.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(bitmap, nullptr);
    DeleteObject(bitmap);

    search("apple"); // three library icons, then the cursor on page 2
    clickButton(w().pnlToolbar, "nextpage");
    const int cursorItem = lastItemWith(w().pnlResult, 1, "Cursor");
    ASSERT_GT(cursorItem, 0);
    clickItem(w().pnlResult, cursorItem);
    Seam::get().reset();
    Seam::get().queue(SeamAnswer{2, dir.file("d-copy"), false}); // Cursor
    chooseMenu({"&File", "Save &As..."});
    EXPECT_EQ(saveRequestFilter(), "Icon (*.ico)|*.ico|Cursor (*.cur)|*.cur|Bitmap (*.bmp)|*.bmp|Compuserve GIF "
                                   "(*.gif)|*.gif|JPEG (*.jpg)|*.jpg");
    HCURSOR cursor = static_cast<HCURSOR>(
        LoadImageA(nullptr, dir.file("d-copy.cur").c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    EXPECT_NE(cursor, nullptr);
    // The hotspot was asked for: the notice, then the zoom window as picker.
    std::vector<std::string> forms;
    for (const SeamRequest& r : Seam::get().requests())
        if (r.kind == "Form") forms.push_back(r.prompt);
    EXPECT_EQ(forms, (std::vector<std::string>{"frmMessage", "frmZoom"}));
    if (cursor) DestroyCursor(cursor);
}

TEST_F(ReferenceScenario, ALibraryAnimationIsSavedAsAniAndAsSeparateIcons) {
    search("spinner");
    ASSERT_EQ(itemTexts(w().pnlResult).size(), 3u);
    clickItem(w().pnlResult, 2);
    Seam::get().queue(SeamAnswer{4, dir.file("spin"), false}); // Animated icon
    chooseMenu({"&File", "Save &As..."});
    const std::string ani = vmtest::readFile(dir.file("spin.ani"));
    ASSERT_GT(ani.size(), 28u);
    EXPECT_EQ(ani.substr(8, 4), "ACON");
    EXPECT_EQ(ani[24], 3); // every frame, from the first
    HCURSOR loaded = static_cast<HCURSOR>(
        LoadImageA(nullptr, dir.file("spin.ani").c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    EXPECT_NE(loaded, nullptr);
    if (loaded) DestroyCursor(loaded);

    Seam::get().queue(SeamAnswer{5, dir.file("frame"), false}); // Seperate icons
    chooseMenu({"&File", "Save &As..."});
    for (const char* name : {"frame.ico", "frame1.ico", "frame2.ico", "frame3.ico"})
        EXPECT_TRUE(vmtest::fileExists(dir.file(name))) << name;
    EXPECT_FALSE(vmtest::fileExists(dir.file("frame4.ico")));
}
