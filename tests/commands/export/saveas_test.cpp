// Save As on a hidden form with the dialog answered through the seam: each
// writer's file read back by Windows' loader, the icon model, the tests' GIF
// reader or the system's JPEG decoder; the modes, the settings it keeps, and
// its failures.
#include <gtest/gtest.h>

#include <windows.h>

#include "browserstate.h"
#include "cfileicon.h"
#include "commandstate.h"
#include "exportcommands.h"
#include "exportform.h"
#include "formatwriters.h"
#include "gifreader.h"
#include "ico_fixtures.h"
#include "registry.h"
#include "scratch.h"
#include "seam.h"
#include "selection.h"
#include "state.h"
#include "systemdecoder.h"

using namespace vm;
using exporttest::FrmExport;

namespace {

class SaveAsTest : public exporttest::ExportFormTest {
protected:
    void SetUp() override {
        ExportFormTest::SetUp();
        Masks = MaskModes{};
        Exports = ExportModes{};
        folderPicker.SearchingFavorites = false;
        paths.TempPath = temp.path() + "\\";
    }

    // Save As with the dialog answered: the file typed and the type chosen.
    void saveAs(const std::string& typed, int filterIndex) {
        Seam::get().queue(SeamAnswer{filterIndex, typed, false});
        mnuFileSaveAs_Click(w);
    }
    std::string setting(const std::string& name) {
        procRegGetValue(HKEY_CURRENT_USER, kSettingsKey, name);
        return reg.RegValue.isEmpty() ? std::string("<none>") : reg.RegValue.toText();
    }
    // Files of the folder, by name.
    std::vector<std::string> filesIn(const std::string& folder) {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
        } while (FindNextFileA(find, &data));
        FindClose(find);
        return names;
    }
    // Three frames of different colours, as the frame collection gives them.
    void threeFrames() {
        w.collectFrames = [] {
            for (COLORREF c : {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)})
                Exports.picFilm.push_back(Picture::fromIcon(exporttest::cornerIcon(32, c)));
            Exports.AniFrameCount = 3;
        };
    }

    vmtest::ScratchDir scratch, temp;
};

std::vector<std::uint8_t> bytesOf(const std::string& path) {
    const std::string s = vmtest::readFile(path);
    return {s.begin(), s.end()};
}

} // namespace

TEST_F(SaveAsTest, IconThroughTheDialogWithItsSettingsAndForcedExtension) {
    form.addItem("smile.ico", "Icon Library", RGB(0, 0, 255));
    saveAs(scratch.file("smile"), 1);

    const auto dialogs = requestsOf("Save");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, "Icon (*.ico)|*.ico|Cursor (*.cur)|*.cur|Bitmap (*.bmp)|*.bmp|Compuserve GIF "
                                "(*.gif)|*.gif|JPEG (*.jpg)|*.jpg");
    EXPECT_EQ(dialogs[0].style, 0x200C06);
    EXPECT_EQ(form.dlgIcon.DefaultExt, "ico");

    const std::string file = scratch.file("smile.ico");
    HICON loaded = static_cast<HICON>(LoadImageA(nullptr, file.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(loaded, nullptr);
    DestroyIcon(loaded);
    cFileIcon icon;
    ASSERT_TRUE(icon.LoadIcon(file));
    ASSERT_EQ(icon.ImageCount(), 1);
    EXPECT_EQ(icon.ImageWidth(1), 32);
    EXPECT_EQ(setting("SaveDirectory"), scratch.file("smile"));
    EXPECT_EQ(setting("SaveExtension"), "ico");
    EXPECT_EQ(setting("SaveFilterIndex"), "1");
    EXPECT_TRUE(requestsOf("MsgBox").empty());

    // The next dialog starts in the folder of the last file; a name typed
    // with another extension gets the chosen one appended.
    saveAs(scratch.file("smile.png"), 1);
    EXPECT_EQ(Seam::get().requests().back().detail, scratch.path());
    EXPECT_TRUE(vmtest::fileExists(scratch.file("smile.png.ico")));
}

TEST_F(SaveAsTest, CursorAsksForTheHotspotAndKeepsIt) {
    form.addItem("arrow.cur", "Current Cursor");
    int asked = 0;
    w.setHotSpot = [&] {
        ++asked;
        Commands.CursorHotSpotX = 3;
        Commands.CursorHotSpotY = 9;
    };
    saveAs(scratch.file("arrow"), 2);
    EXPECT_EQ(asked, 1);
    const std::string file = scratch.file("arrow.cur");
    const auto bytes = bytesOf(file);
    ASSERT_GT(bytes.size(), 22u);
    EXPECT_EQ(bytes[2], 2); // a cursor directory
    EXPECT_EQ(bytes[10], 3);
    EXPECT_EQ(bytes[12], 9);
    HCURSOR loaded = static_cast<HCURSOR>(LoadImageA(nullptr, file.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(loaded, nullptr);
    DestroyCursor(loaded);
}

TEST_F(SaveAsTest, BitmapShowsTheIconOverTheMaskColour) {
    form.addItem("box", "16 Color Icon", RGB(0, 200, 0));
    w.useMask = [] { return true; };
    w.maskColor = [] { return RGB(255, 0, 255); };
    Keywords.IconSize = 16; // the icon set: Bitmap is the second type
    saveAs(scratch.file("box"), 2);
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, scratch.file("box.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    GetObject(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 16);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 0, 255));
    EXPECT_EQ(GetPixel(dc, 10, 10), RGB(0, 200, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

TEST_F(SaveAsTest, GifMakesTheBackgroundTransparentAndJpegKeepsTheColours) {
    form.addItem("face", "Icon Library", RGB(0, 0, 255));
    saveAs(scratch.file("face"), 4);
    const gifreader::Image gif = gifreader::read(bytesOf(scratch.file("face.gif")));
    ASSERT_TRUE(gif.ok()) << gif.error;
    EXPECT_EQ(gif.version, "89a");
    ASSERT_EQ(gif.width, 32);
    ASSERT_GE(gif.transparentIndex, 0);
    EXPECT_EQ(gif.indices[0], gif.transparentIndex);           // the transparent corner
    EXPECT_EQ(gif.palette[gif.transparentIndex], 0x804040u);
    EXPECT_EQ(gif.palette[gif.indices[20 * 32 + 20]], 0x0000FFu); // the icon, exact

    w.useMask = [] { return true; };
    w.maskColor = [] { return RGB(255, 255, 0); };
    saveAs(scratch.file("face"), 5);
    const DecodedPicture jpg = decodeFileWithSystem(scratch.file("face.jpg"));
    ASSERT_EQ(jpg.width, 32);
    ASSERT_EQ(jpg.height, 32);
    auto at = [&](int x, int y, int c) { return int(jpg.rgb[static_cast<std::size_t>((y * 32 + x) * 3 + c)]); };
    EXPECT_NEAR(at(20, 20, 2), 255, 8);
    EXPECT_NEAR(at(20, 20, 0), 0, 8);
    EXPECT_NEAR(at(0, 0, 0), 255, 12); // the mask colour in the corner
    EXPECT_NEAR(at(0, 0, 1), 255, 12);
    EXPECT_EQ(form.picOpen.Width(), 32 * TwipsPerPixelX());
    EXPECT_TRUE(requestsOf("MsgBox").empty());
}

TEST_F(SaveAsTest, DetailImageAsJpegIsWrittenAtItsOwnSize) {
    form.addItem("two.ico", "Icon Library");
    namespace ico = vmtest::ico;
    const std::string path = scratch.file("two.ico");
    ASSERT_TRUE(vmtest::writeFile(path, ico::icoFile({ico::dib(16, 16, 4), ico::dib(48, 48, 24)})));
    Selection.FileIcons.assign(1, cFileIcon{});
    cFileIcon& icon = Selection.FileIcons.front();
    ASSERT_TRUE(icon.LoadIcon(path));
    form.grdIcons.Init(icon);
    form.grdIcons.SetSelected(2, true);
    Commands.DetailPaneActive = true;
    DeleteFileA(path.c_str());
    saveAs(scratch.file("big"), 4); // the icon set: JPEG is the fourth
    const DecodedPicture jpg = decodeFileWithSystem(scratch.file("big.jpg"));
    EXPECT_EQ(jpg.width, 48);
    EXPECT_EQ(jpg.height, 48);
    EXPECT_EQ(form.picOpen.Width(), 32 * TwipsPerPixelX());
}

TEST_F(SaveAsTest, DetailImagesOfEveryDepthKeepTheirSizeAndDepth) {
    namespace ico = vmtest::ico;
    const std::string path = scratch.file("formats.ico");
    ASSERT_TRUE(vmtest::writeFile(path, ico::icoFile({ico::dib(16, 16, 1), ico::dib(32, 32, 4), ico::dib(32, 32, 8),
                                                      ico::dib(48, 48, 24), ico::png(64, 64)})));
    form.addItem("formats.ico", "Icon Library");
    Selection.FileIcons.assign(1, cFileIcon{});
    ASSERT_TRUE(Selection.FileIcons.front().LoadIcon(path));
    form.grdIcons.Init(Selection.FileIcons.front());
    Commands.DetailPaneActive = true;
    struct Row {
        int row, size, bits;
    };
    // A monochrome image is written at the high-colour depth, not 1 bit.
    for (const Row& r : {Row{1, 16, 24}, Row{2, 32, 4}, Row{3, 32, 8}, Row{5, 64, 24}}) {
        for (int i = 1; i <= 5; ++i) form.grdIcons.SetSelected(i, i == r.row);
        saveAs(scratch.file("row" + std::to_string(r.row)), 1);
        cFileIcon written;
        ASSERT_TRUE(written.LoadIcon(scratch.file("row" + std::to_string(r.row) + ".ico"))) << r.row;
        EXPECT_EQ(written.ImageWidth(1), r.size) << r.row;
        EXPECT_EQ(written.ImageColourCount(1), r.bits == 24 ? 1 << 24 : 1 << r.bits) << r.row;
    }
}

TEST_F(SaveAsTest, AnimationAsAniAndAsSeparateIcons) {
    form.addItem("walk", "Animated Icon");
    threeFrames();
    saveAs(scratch.file("walk"), 4);
    const auto ani = bytesOf(scratch.file("walk.ani"));
    ASSERT_GT(ani.size(), 28u);
    EXPECT_EQ(std::string(ani.begin(), ani.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(ani.begin() + 8, ani.begin() + 12), "ACON");
    EXPECT_EQ(ani[24], 3); // frames in the header
    HCURSOR loaded = static_cast<HCURSOR>(
        LoadImageA(nullptr, scratch.file("walk.ani").c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(loaded, nullptr);
    DestroyCursor(loaded);
    EXPECT_TRUE(filesIn(temp.path()).empty()); // the frame files went
    EXPECT_FALSE(Masks.SaveFramesMode);

    saveAs(scratch.file("run"), 5);
    for (const char* name : {"run.ico", "run1.ico", "run2.ico", "run3.ico"}) {
        cFileIcon icon;
        EXPECT_TRUE(icon.LoadIcon(scratch.file(name))) << name;
    }
    EXPECT_FALSE(vmtest::fileExists(scratch.file("run4.ico")));

    // Frame icons already there are replaced only when the user agrees.
    Seam::get().reset();
    ASSERT_TRUE(vmtest::writeFile(scratch.file("run2.ico"), "mine"));
    Seam::get().queue(SeamAnswer{5, scratch.file("run"), false});
    Seam::get().queueCode(vbNo);
    mnuFileSaveAs_Click(w);
    ASSERT_EQ(requestsOf("MsgBox").size(), 1u);
    EXPECT_EQ(requestsOf("MsgBox")[0].prompt,
              scratch.file("run1.ico") + " already exists.\rDo you want to replace it and the other frame icons?");
    EXPECT_EQ(vmtest::readFile(scratch.file("run2.ico")), "mine");
    saveAs(scratch.file("run"), 5); // the seam's default answer: Yes
    // Frame 2 is the green one.
    cFileIcon second;
    ASSERT_TRUE(second.LoadIcon(scratch.file("run2.ico")));
    HDC screen = GetDC(nullptr);
    HICON handle = second.IconHandle(screen, 1);
    ReleaseDC(nullptr, screen);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(handle, &info));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, info.hbmColor);
    EXPECT_EQ(GetPixel(dc, 16, 16), RGB(0, 255, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(handle);

    // A frame icon that cannot be replaced: the message names it, why, and
    // which frame icons were written and which not.
    Seam::get().reset();
    SetFileAttributesA(scratch.file("run2.ico").c_str(), FILE_ATTRIBUTE_READONLY);
    saveAs(scratch.file("run"), 5);
    ASSERT_EQ(requestsOf("MsgBox").size(), 2u); // replace?, then the failure
    EXPECT_EQ(requestsOf("MsgBox")[1].prompt, "The file " + scratch.file("run2.ico") +
                                                  " could not be written: the file is read-only.\r"
                                                  "Written: run1.ico.\rNot written: run2.ico, run3.ico.");
    SetFileAttributesA(scratch.file("run2.ico").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SaveAsTest, ManyFramesAreAllKeptAndNoFramesWriteNothing) {
    form.addItem("long", "Animated Icon");
    w.collectFrames = [] {
        for (int i = 0; i < 70; ++i) Exports.picFilm.push_back(Picture::fromIcon(exporttest::cornerIcon(32, RGB(i, 0, 0))));
        Exports.AniFrameCount = 70;
    };
    saveAs(scratch.file("long"), 4);
    const auto ani = bytesOf(scratch.file("long.ani"));
    ASSERT_GT(ani.size(), 28u);
    EXPECT_EQ(ani[24], 70);

    w.collectFrames = [] {};
    saveAs(scratch.file("none"), 4);
    EXPECT_FALSE(vmtest::fileExists(scratch.file("none.ani")));
    const auto boxes = requestsOf("MsgBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt, "The animation has no frames to save.");
}

TEST_F(SaveAsTest, EditWithWritesItsFixedFileWithoutDialogOrSettings) {
    form.addItem("pen.ico", "256 Color Icon");
    Exports.EditWithMode = true;
    mnuFileSaveAs_Click(w);
    EXPECT_TRUE(requestsOf("Save").empty());
    EXPECT_TRUE(vmtest::fileExists(paths.TempPath + "VMTemp.ico"));
    EXPECT_EQ(setting("SaveDirectory"), "<none>");
    EXPECT_EQ(setting("SaveFilterIndex"), "<none>");
}

TEST_F(SaveAsTest, FavouritesGoToTheNodesFolderAndDroppedNamesAreChecked) {
    const std::string favourites = scratch.path() + "\\fav";
    CreateDirectoryA(favourites.c_str(), nullptr);
    CreateDirectoryA((favourites + "\\Faces").c_str(), nullptr);
    w.favoritesFolder = [&] { return favourites + "\\"; };
    w.favoritesNodeKey = [] { return std::string("favoriFaces"); };
    folderPicker.SearchingFavorites = true;

    // Favorites > Add: the dialog opens in the node's folder with its title.
    form.addItem("happy.ico", "16 Color Icon");
    saveAs(favourites + "\\Faces\\happy", 1);
    ASSERT_EQ(requestsOf("Save").size(), 1u);
    EXPECT_EQ(requestsOf("Save")[0].prompt, "Add to Favorites");
    EXPECT_EQ(requestsOf("Save")[0].detail, favourites + "\\Faces");
    EXPECT_TRUE(vmtest::fileExists(favourites + "\\Faces\\happy.ico"));

    // The same icon dropped on that folder: its name is taken, the user cancels.
    Seam::get().reset();
    Exports.FavoriteDropMode = true;
    Seam::get().queueCode(vbCancel);
    mnuFileSaveAs_Click(w);
    EXPECT_FALSE(Exports.FavoriteDropMode);
    ASSERT_EQ(requestsOf("MsgBox").size(), 1u);
    EXPECT_EQ(requestsOf("MsgBox")[0].prompt,
              "A Favorite with this Name already excists in this Favorites Folder.\rPlease specify a new Favorite Name.");
    EXPECT_TRUE(requestsOf("Save").empty());

    // A name with ":" is refused; OK asks for a name in the drop folder.
    Seam::get().reset();
    form.addItem("a:b", "Theme Cursor");
    Exports.FavoriteDropMode = true;
    Seam::get().queueCode(vbOK);
    Seam::get().queue(SeamAnswer{2, favourites + "\\Faces\\ab", false});
    mnuFileSaveAs_Click(w);
    ASSERT_EQ(requestsOf("MsgBox").size(), 1u);
    EXPECT_EQ(requestsOf("MsgBox")[0].style, vbOKCancel | vbInformation);
    ASSERT_EQ(requestsOf("Save").size(), 1u);
    EXPECT_EQ(form.dlgIcon.FileName, favourites + "\\Faces\\ab");
    EXPECT_TRUE(vmtest::fileExists(favourites + "\\Faces\\ab.cur"));

    // A good name is written straight into the folder, with its kind's extension.
    Seam::get().reset();
    form.addItem("sad", "256 Color Icon");
    Exports.FavoriteDropMode = true;
    mnuFileSaveAs_Click(w);
    EXPECT_TRUE(Seam::get().requests().empty());
    EXPECT_TRUE(vmtest::fileExists(favourites + "\\Faces\\sad.ico"));
}

TEST_F(SaveAsTest, CancelWritesNothingAndFailuresLeaveTheOldFileWhole) {
    form.addItem("Compiled HTML Help File (*.chm)", "File Type Icon"); // a name, never a filter
    Seam::get().queueCancel();
    mnuFileSaveAs_Click(w);
    EXPECT_EQ(form.dlgIcon.FileName, "Compiled HTML Help File (");
    form.addItem("keep.ico", "Icon Library");
    Seam::get().queueCancel();
    mnuFileSaveAs_Click(w);
    EXPECT_TRUE(filesIn(scratch.path()).empty());
    EXPECT_EQ(setting("SaveDirectory"), "<none>");

    // A read-only target is not replaced and the failure is said.
    const std::string target = scratch.file("keep.ico");
    ASSERT_TRUE(vmtest::writeFile(target, "old contents"));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    for (int index : {1, 3, 4, 5}) { // icon, bitmap, GIF, JPEG
        Seam::get().reset();
        const std::string ext[] = {"", ".ico", "", ".bmp", ".gif", ".jpg"};
        const std::string file = scratch.file("keep" + ext[index]);
        if (index != 1) {
            ASSERT_TRUE(vmtest::writeFile(file, "old contents"));
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
        }
        saveAs(scratch.file("keep"), index);
        EXPECT_EQ(vmtest::readFile(file), "old contents") << index;
        ASSERT_EQ(requestsOf("MsgBox").size(), 1u) << index;
        // Every format names the file and why it was not written.
        const std::string said = requestsOf("MsgBox")[0].prompt;
        EXPECT_TRUE(said == "The file " + file + " could not be written: the file is read-only." ||
                    said == "Cannot create " + file)
            << requestsOf("MsgBox")[0].prompt;
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    EXPECT_EQ(filesIn(scratch.path()).size(), 4u); // no temporary file stays

    // A folder that is not there, and no selected item: said, nothing written.
    Seam::get().reset();
    saveAs(scratch.file("gone\\keep"), 1);
    EXPECT_EQ(requestsOf("MsgBox").at(0).prompt,
              "The file " + scratch.file("gone\\keep.ico") + " could not be written: the folder does not exist.");
    Seam::get().reset();
    saveAs(scratch.file("gone\\keep"), 5);
    EXPECT_EQ(requestsOf("MsgBox").at(0).prompt, "Cannot create " + scratch.file("gone\\keep.jpg"));
    EXPECT_EQ(requestsOf("MsgBox").at(0).style, vbCritical);

    Seam::get().reset();
    form.pnlResult.SetSelectedItem(nullptr);
    bool hotspotAsked = false;
    w.setHotSpot = [&] { hotspotAsked = true; };
    for (int index : {1, 2, 4, 5}) { // icon, cursor, GIF, JPEG
        Seam::get().reset();
        saveAs(scratch.file("nothing"), index);
        const char* ext[] = {"", ".ico", ".cur", "", ".gif", ".jpg"};
        EXPECT_EQ(requestsOf("MsgBox").at(0).prompt,
                  "The file " + scratch.file(std::string("nothing") + ext[index]) +
                      " could not be written: there is no icon to write.");
    }
    EXPECT_FALSE(hotspotAsked);
    for (const char* name : {"nothing.ico", "nothing.cur", "nothing.gif", "nothing.jpg"})
        EXPECT_FALSE(vmtest::fileExists(scratch.file(name))) << name;
}
