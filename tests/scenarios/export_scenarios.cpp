// Exporting the selected icon: File > Save As and the toolbar's save button
// with the save dialog answered, Edit > Copy from the menu and
// the toolbar's copy button, Save All Formats from the detail grid's menu.
#include "scenario.h"

#include <algorithm>

#include "cfileicon.h"
#include "frmzoom.h"
#include "ico_fixtures.h"
#include "seam.h"
#include "patience.h"

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

// The note a dialog shows over itself (one without a title), read into shown and answered.
HandStep noteOver(ShownWindow& shown, HandStep answer) {
    return {[&shown, answer](const ShownWindow& dialog) {
                HWND note = nullptr;
                for (int i = 0; i < 500 && !note; ++i) {
                    std::pair<HWND, HWND> search{dialog.hwnd, nullptr};
                    EnumThreadWindows(
                        GetWindowThreadProcessId(dialog.hwnd, nullptr),
                        [](HWND h, LPARAM into) -> BOOL {
                            auto& s = *reinterpret_cast<std::pair<HWND, HWND>*>(into);
                            char kind[16] = {};
                            GetClassNameA(h, kind, sizeof(kind));
                            if (h != s.first && IsWindowVisible(h) && GetWindowTextLengthA(h) == 0 &&
                                std::string(kind) == "#32770")
                                s.second = h;
                            return !s.second;
                        },
                        reinterpret_cast<LPARAM>(&search));
                    if (!(note = search.second)) Sleep(10);
                }
                if (!note) {
                    ADD_FAILURE() << "no note showed over " << dialog.caption;
                    return;
                }
                vmtest::waitUntil([&] { return GetForegroundWindow() == note; }, {}, kFrontMs);
                shown = readWindow(note);
                answer.onHand(shown);
                for (int i = 0; i < 500 && IsWindow(note); ++i) Sleep(10);
            },
            nullptr};
}

} // namespace

TEST_F(LibraryScenario, FileSaveAsWritesTheSelectedIconAsAnIconFile) {
    listBoats();
    {
        Answer save("Save As", fileNamed(dir.file("boat"), "Icon"));
        chooseMenu({"&File", "Save &As..."});
    }
    EXPECT_NE(saveRequestFilter().find("Icon (*.ico)|*.ico"), std::string::npos);
    HICON loaded = static_cast<HICON>(LoadImageA(nullptr, dir.file("boat.ico").c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(loaded, nullptr);
    DestroyIcon(loaded);
}

TEST_F(LibraryScenario, ASaveThatFailsNamesTheFileAndWhyForEveryFormatAndKeepsTheOldFile) {
    listBoats();
    // Icon and bitmap over read-only files of the user's (GIF and JPEG said so already).
    const char* kinds[][2] = {{"Icon", ".ico"}, {"Bitmap", ".bmp"}};
    for (const auto& kind : kinds) {
        const std::string file = dir.file(std::string("keep") + kind[1]);
        ASSERT_TRUE(vmtest::writeFile(file, "the user's file"));
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
        {
            Answer save("Save As", fileNamed(file, kind[0]));
            // The dialog asks before a file is replaced (a title it leaves to the system).
            Answer replace("Error", {clickOn("Yes")});
            Answer failed("Error", {clickOn("OK")});
            chooseMenu({"&File", "Save &As..."});
            EXPECT_TRUE(failed.seen().shows("The file " + file + " could not be written: the file is read-only."))
                << kind[1];
        }
        EXPECT_EQ(vmtest::readFile(file), "the user's file");
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    // A folder that is gone: the dialog itself refuses the name (a note without a title), and the
    // program, never asked to write, says nothing.
    {
        ShownWindow note;
        std::vector<HandStep> steps = fileNamed(dir.file("gone\\boat.ico"), "Icon");
        steps.push_back(noteOver(note, clickOn("OK")));
        steps.push_back(pressKey(VK_ESCAPE));
        Answer save("Save As", steps);
        chooseMenu({"&File", "Save &As..."});
        save.seen();
        EXPECT_TRUE(note.shows("Path does not exist"));
    }
    EXPECT_EQ(GetFileAttributesA(dir.file("gone").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(LibraryScenario, TheSaveButtonWritesGifAndJpegPictures) {
    listBoats();
    {
        Answer gif("Save As", fileNamed(dir.file("boat"), "Compuserve GIF"));
        clickButton(w().pnlToolbar, "save");
    }
    const std::string gif = vmtest::readFile(dir.file("boat.gif"));
    ASSERT_GT(gif.size(), 20u);
    EXPECT_EQ(gif.substr(0, 6), "GIF89a"); // the background is transparent
    {
        Answer jpeg("Save As", fileNamed(dir.file("boat"), "JPEG"));
        clickButton(w().pnlToolbar, "save");
    }
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
    void SetUp() override {
        LibraryScenario::SetUp();
    }
    // Save As from the File menu, answered with the name and the type given.
    void saveAs(const std::string& path, const std::string& type) {
        Answer save("Save As", fileNamed(path, type));
        chooseMenu({"&File", "Save &As..."});
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
    saveAs(dir.file("a-copy"), "Bitmap");
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
    // The hotspot is asked for: the notice, then the zoom window as picker.
    HotspotAnswered hotspot;
    saveAs(dir.file("d-copy"), "Cursor");
    EXPECT_TRUE(hotspot.notice.answered());
    EXPECT_TRUE(hotspot.picker.answered());
    EXPECT_EQ(saveRequestFilter(), "Icon (*.ico)|*.ico|Cursor (*.cur)|*.cur|Bitmap (*.bmp)|*.bmp|Compuserve GIF "
                                   "(*.gif)|*.gif|JPEG (*.jpg)|*.jpg");
    HCURSOR cursor = static_cast<HCURSOR>(
        LoadImageA(nullptr, dir.file("d-copy.cur").c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    EXPECT_NE(cursor, nullptr);
    if (cursor) DestroyCursor(cursor);
}

TEST_F(ReferenceScenario, ALibraryAnimationIsSavedAsAniAndAsSeparateIcons) {
    search("spinner");
    ASSERT_EQ(itemTexts(w().pnlResult).size(), 3u);
    clickItem(w().pnlResult, 2);
    saveAs(dir.file("spin"), "Animated icon");
    const std::string ani = vmtest::readFile(dir.file("spin.ani"));
    ASSERT_GT(ani.size(), 28u);
    EXPECT_EQ(ani.substr(8, 4), "ACON");
    EXPECT_EQ(ani[24], 3); // every frame, from the first
    HCURSOR loaded = static_cast<HCURSOR>(
        LoadImageA(nullptr, dir.file("spin.ani").c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    EXPECT_NE(loaded, nullptr);
    if (loaded) DestroyCursor(loaded);

    saveAs(dir.file("frame"), "Seperate icons");
    for (const char* name : {"frame.ico", "frame1.ico", "frame2.ico", "frame3.ico"})
        EXPECT_TRUE(vmtest::fileExists(dir.file(name))) << name;
    EXPECT_FALSE(vmtest::fileExists(dir.file("frame4.ico")));
}

namespace {

// The icon under "mine" holds three formats: 16 x 16 in 16 colours, 32 x 32
// in 256 colours and 48 x 48 with an alpha channel.
class SaveAllScenario : public ReferenceScenario {
protected:
    void prepare() override {
        ReferenceScenario::prepare();
        namespace ico = vmtest::ico;
        ASSERT_TRUE(vmtest::writeFile("C:\\icons\\a.ico",
                                      ico::icoFile({ico::dib(16, 16, 4), ico::dib(32, 32, 8, 1), ico::dib(48, 48, 32, 2)})));
    }
    // Right-clicks the first row of the detail grid and picks Save All.
    void saveAllFromTheGrid(const std::string& typedName) {
        Answer menu(kPopupMenu, {chooseLine("Save All Formats As...")});
        Answer save("Save As", fileNamed(typedName));
        rightClick(w().grdIcons, 20, 10);
        EXPECT_TRUE(save.answered());
    }
    static const SeamRequest* lastSave() {
        const SeamRequest* found = nullptr;
        for (const SeamRequest& r : Seam::get().requests())
            if (r.kind == "Save") found = &r;
        return found;
    }
};

} // namespace

TEST_F(SaveAllScenario, SaveAllFormatsFromTheDetailGridWritesEveryImageIntoOneIconFile) {
    search("mine");
    ASSERT_EQ(selectedItem(w().pnlResult), 1);
    ASSERT_EQ(w().grdIcons.ItemCount(), 3);
    saveAllFromTheGrid(dir.file("all")); // typed without its extension
    const SeamRequest* save = lastSave();
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->title, "Multiple Format Icon (*.ico)|*.ico");
    for (const SeamRequest& r : Seam::get().requests()) EXPECT_NE(r.kind, "MsgBox") << r.prompt;

    // Every format is in the file, and Windows loads each size from it.
    const std::string path = dir.file("all.ico");
    ASSERT_TRUE(vmtest::fileExists(path));
    cFileIcon written;
    ASSERT_TRUE(written.LoadIcon(path));
    ASSERT_EQ(written.ImageCount(), 3);
    std::vector<int> widths;
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(written.ImageWidth(i), written.ImageHeight(i));
        widths.push_back(written.ImageWidth(i));
    }
    std::sort(widths.begin(), widths.end());
    EXPECT_EQ(widths, (std::vector<int>{16, 32, 48}));
    for (int size : {16, 32, 48}) {
        HICON loaded = static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
        ASSERT_NE(loaded, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(loaded, &info));
        BITMAP bm{};
        GetObjectA(info.hbmMask, sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth, size);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(loaded);
    }

    // The next Save All starts in that file's folder; a name typed with the
    // extension in capitals keeps it.
    saveAllFromTheGrid(dir.file("AGAIN.ICO"));
    save = lastSave();
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->detail.substr(0, dir.path().size()), dir.path());
    EXPECT_TRUE(vmtest::fileExists(dir.file("AGAIN.ICO")));
    EXPECT_FALSE(vmtest::fileExists(dir.file("AGAIN.ICO.ico")));
}

TEST_F(SaveAllScenario, CancellingSaveAllWritesNothing) {
    search("mine");
    {
        Answer menu(kPopupMenu, {chooseLine("Save All Formats As...")});
        Answer save("Save As", {pressKey(VK_ESCAPE)});
        rightClick(w().grdIcons, 20, 10);
    }
    ASSERT_NE(lastSave(), nullptr);
    WIN32_FIND_DATAA found{};
    HANDLE h = FindFirstFileA(dir.file("*.ico").c_str(), &found);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
}
