// The Tools menu: the create-icon window and folder icons, as a person uses them.
#include "scenario.h"


#include <memory>

#include "frmimport.h"
#include "frmzoom.h"
#include "picturefile.h"
#include "registry.h"
#include "seam.h"
#include "state.h"

using namespace vm;
using namespace vmscenario;

namespace {

// A 40 x 20 BMP: the left half dark red (the key colour), the right half blue.
std::string writePicture(const std::string& path) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT left{0, 0, 20, 20}, right{20, 0, 40, 20};
    HBRUSH red = CreateSolidBrush(RGB(128, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &left, red);
    FillRect(dc, &right, blue);
    DeleteObject(red);
    DeleteObject(blue);
    SelectObject(dc, old);
    DeleteDC(dc);
    SavePicture(Picture::fromBitmap(bitmap), path);
    return path;
}

// The icon file as Windows loads it: its width and whether (x, y) shows the ground.
struct Loaded {
    int width = 0;
    bool seeThrough = false;
};
Loaded loadIcon(const std::string& path, int x, int y) {
    Loaded result;
    HICON icon = static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    if (!icon) return result;
    ICONINFO info{};
    GetIconInfo(icon, &info);
    BITMAP mask{};
    GetObject(info.hbmMask, sizeof(mask), &mask);
    result.width = mask.bmWidth;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, info.hbmMask);
    result.seeThrough = GetPixel(dc, x, y) != RGB(0, 0, 0);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DestroyIcon(icon);
    return result;
}

// The folder picker answered: it opens on the program's start folder, made the
// wanted one here, and the hand walks its tree to that folder from wherever it stands.
class PickedFolder {
public:
    explicit PickedFolder(const std::string& folder) {
        GetCurrentDirectoryA(MAX_PATH, before_);
        SetCurrentDirectoryA(folder.c_str());
        hand_ = std::make_unique<Answer>("Browse for Folder", folderChosen(folder));
    }
    ~PickedFolder() {
        hand_.reset();
        SetCurrentDirectoryA(before_);
    }

private:
    char before_[MAX_PATH] = {};
    std::unique_ptr<Answer> hand_;
};

class CreateIconScenario : public LibraryScenario {
protected:
    void TearDown() override {
        if (frmImport().IsLoaded()) frmImport().Unload();
        LibraryScenario::TearDown();
    }
};

} // namespace

TEST_F(CreateIconScenario, OpenPickAColourChooseSizeAndDepthAndSave) {
    chooseMenu({"&Tools", "&Brallix"});
    FrmImport& f = frmImport();
    ASSERT_TRUE(f.IsLoaded());
    EXPECT_TRUE(f.Visible());
    settle(100);

    {
        Answer open("Open", fileNamed(writePicture(dir.file("flag.bmp"))));
        press('O', vbCtrlMask);
    }
    EXPECT_TRUE(f.mnuFileSaveAs.Enabled());
    EXPECT_EQ(f.picIcon.Tag, "flag");

    dropDown(f.cmbSize);
    clickListEntry(f.cmbSize, "32 x 32 pixels");
    EXPECT_EQ(f.IconWidth, 32);
    dropDown(f.cmbColorDepth);
    clickListEntry(f.cmbColorDepth, "True Color (24 bit)");
    EXPECT_EQ(f.ColorDepth, 24);

    // A click on the blue half makes blue the transparent colour.
    click(f.picImport, 24, 8);
    EXPECT_EQ(f.TransparentColor, RGB(0, 0, 255));

    {
        Answer save("Save As", fileNamed(dir.file("flag")));
        clickButton(f.pnlToolbar, "save");
    }
    const Loaded saved = loadIcon(dir.file("flag.ico"), 24, 8);
    EXPECT_EQ(saved.width, 32);
    EXPECT_TRUE(saved.seeThrough);
    EXPECT_FALSE(loadIcon(dir.file("flag.ico"), 4, 8).seeThrough);

    press(VK_F1);
    ASSERT_FALSE(Seam::get().requests().empty());
    EXPECT_EQ(Seam::get().requests().back().kind, "HtmlHelp");
    EXPECT_EQ(Seam::get().requests().back().style, 7);
}

TEST_F(CreateIconScenario, PasteFromTheClipboard) {
    clickButton(w().pnlToolbar, "create");
    FrmImport& f = frmImport();
    ASSERT_TRUE(f.IsLoaded());
    settle(100);
    Clipboard::Clear();
    {
        Answer nothing("Brallix", {clickOn("OK")}); // nothing to paste, and said so
        press('V', vbCtrlMask);
        EXPECT_TRUE(nothing.seen().shows("The Clipboard holds no picture to paste."));
    }
    EXPECT_FALSE(f.mnuFileSaveAs.Enabled());

    Clipboard::SetData(LoadPicture(writePicture(dir.file("clip.bmp"))));
    press('V', vbCtrlMask);
    settle(50);
    EXPECT_TRUE(f.mnuFileSaveAs.Enabled());
    EXPECT_FALSE(f.mnuEditCopy.Enabled());
    EXPECT_EQ(f.picIcon.Tag, "");

    {
        Answer save("Save As", fileNamed(dir.file("clip")));
        clickButton(f.pnlToolbar, "save");
    }
    const Loaded saved = loadIcon(dir.file("clip.ico"), 4, 12);
    EXPECT_EQ(saved.width, 24);
    EXPECT_TRUE(saved.seeThrough); // dark red is the key colour of a fresh picture
}

// A cursor saved from the create-icon window asks for its hotspot in a modal
// picker of that window's; once picked, the keys go back to that window.
TEST_F(CreateIconScenario, TheClosedHotspotPickerHandsActivationToItsOwner) {
    clickButton(w().pnlToolbar, "create");
    Clipboard::SetData(LoadPicture(writePicture(dir.file("clip.bmp"))));
    press('V', vbCtrlMask);
    HWND owner = nullptr;
    {
        Answer save("Save As", fileNamed(dir.file("clip"), "Cursor"));
        Answer notice("Change Cursors", {clickOn("Define Hotspot Now")});
        Answer picker("Set the Cursor's Hotspot", {onProgram([&owner] {
                          owner = GetWindow(frmZoom().hWnd(), GW_OWNER);
                          click(frmZoom().picZoom, 8, 8);
                      })});
        clickButton(frmImport().pnlToolbar, "save");
    }
    settle(100);
    EXPECT_TRUE(vmtest::fileExists(dir.file("clip.cur")));
    EXPECT_EQ(owner, frmImport().hWnd());
    EXPECT_EQ(GetForegroundWindow(), frmImport().hWnd()) << readWindow(GetForegroundWindow()).caption;
}

TEST_F(LibraryScenario, FolderIconSetAndResetFromTheToolsMenu) {
    typeInto(w().cmbSearch, "bo");
    press(VK_RETURN);
    clickItem(w().pnlResult, 1);
    const std::string folder = dir.file("photos");
    CreateDirectoryA(folder.c_str(), nullptr);
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "FolderCache", Variant(1), REG_DWORD);

    // The folder already has an icon of the user's own.
    const std::string ini = folder + "\\desktop.ini", ico = folder + "\\folder.ico";
    const std::string theirIni = "[.ShellClassInfo]\r\nIconFile=folder.ico\r\nIconIndex=0\r\nInfoTip=Holidays\r\n";
    ASSERT_TRUE(vmtest::writeFile(ini, theirIni));
    ASSERT_TRUE(vmtest::writeFile(ico, "the user's own icon"));
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA(ico.c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_SYSTEM);
    auto state = [](const std::string& path) {
        return vmtest::readFile(path) + "|" + std::to_string(GetFileAttributesA(path.c_str()));
    };
    const std::string iniBefore = state(ini), icoBefore = state(ico), folderBefore = state(folder);

    // Change: asked before folder.ico is replaced; No writes nothing.
    {
        PickedFolder picked(folder);
        Answer asked("Change Any Folder Icon", {clickOn("No")});
        chooseMenu({"&Tools", "&Change Any Folder Icon..."});
        EXPECT_TRUE(asked.seen().shows(ico + " already exists.\rDo you want to replace it?"));
    }
    EXPECT_EQ(state(ini), iniBefore);
    EXPECT_EQ(state(ico), icoBefore);
    EXPECT_EQ(state(folder), folderBefore);

    // Default on a folder given its icon without the program: only the two keys
    // are blanked; both files and the folder's attributes stay as they were.
    {
        PickedFolder picked(folder);
        chooseMenu({"&Tools", "&Set Any Folder Icon to Default..."});
    }
    EXPECT_EQ(state(ico), icoBefore);
    EXPECT_EQ(GetFileAttributesA(ini.c_str()) & ~DWORD(FILE_ATTRIBUTE_ARCHIVE),
              DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    char value[64] = "unchanged";
    GetPrivateProfileStringA(".ShellClassInfo", "IconFile", "<none>", value, sizeof(value), ini.c_str());
    EXPECT_STREQ(value, "");
    GetPrivateProfileStringA(".ShellClassInfo", "InfoTip", "<none>", value, sizeof(value), ini.c_str());
    EXPECT_STREQ(value, "Holidays");
    EXPECT_EQ(state(folder), folderBefore);

    // Change again, and Yes: the selected icon replaces folder.ico.
    {
        PickedFolder picked(folder);
        Answer replace("Change Any Folder Icon", {clickOn("Yes")});
        chooseMenu({"&Tools", "&Change Any Folder Icon..."});
    }
    GetPrivateProfileStringA(".ShellClassInfo", "IconFile", "", value, sizeof(value), ini.c_str());
    EXPECT_STREQ(value, "folder.ico");
    EXPECT_EQ(loadIcon(ico, 0, 0).width, 32);
    EXPECT_TRUE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_SYSTEM);

    // The "Your Icons" toolbar's button does the same as the menu item; the
    // folder.ico there now is the program's own and is replaced unasked.
    {
        PickedFolder picked(folder);
        clickButton(w().pnlToolbarYour, "changefolder");
    }
    EXPECT_EQ(loadIcon(folder + "\\folder.ico", 0, 0).width, 32);
    EXPECT_TRUE(runState.SystemIconsChanged); // the notice is silenced: the rebuild waits

    // Tools > Rebuild: the shell's icon size goes up and back, a broadcast each time.
    chooseMenu({"&Tools", "&Rebuild Windows Icon Cache"});
    int broadcasts = 0;
    for (const SeamRequest& r : Seam::get().requests()) broadcasts += r.kind == "Broadcast";
    EXPECT_EQ(broadcasts, 2);
    EXPECT_FALSE(runState.SystemIconsChanged);
}

// A change that cannot be made whole changes nothing and says why; Set Any Folder Icon to
// Default undoes one that was made to the byte (blanks, System attribute, folder.ico).
TEST_F(LibraryScenario, AFolderIconChangesWholeOrNotAtAllAndIsSetBackToTheByte) {
    typeInto(w().cmbSearch, "bo");
    press(VK_RETURN);
    clickItem(w().pnlResult, 1);
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "FolderCache", Variant(1), REG_DWORD);
    const std::string folder = dir.file("summer"), ini = folder + "\\desktop.ini", ico = folder + "\\folder.ico";
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(vmtest::writeFile(ini, "[.ShellClassInfo]\r\nInfoTip=Beach  \r\n[ViewState]\r\nMode=  \r\nVid=\r\n"));
    ASSERT_TRUE(vmtest::writeFile(ico, "the user's own icon"));
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_SYSTEM);
    const std::string readOnly = vmtest::folderState(folder);
    {
        PickedFolder picked(folder);
        Answer replace("Change Any Folder Icon", {clickOn("Yes")});
        Answer refused("Change Any Folder Icon", {clickOn("OK")});
        chooseMenu({"&Tools", "&Change Any Folder Icon..."});
        EXPECT_TRUE(refused.seen().shows("The file " + ini +
                                         " could not be written: the file is read-only.\rThe folder was not changed."));
    }
    EXPECT_EQ(vmtest::folderState(folder), readOnly);

    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_HIDDEN);
    const std::string before = vmtest::folderState(folder);
    {
        PickedFolder picked(folder);
        Answer replace("Change Any Folder Icon", {clickOn("Yes")});
        chooseMenu({"&Tools", "&Change Any Folder Icon..."});
    }
    EXPECT_EQ(loadIcon(ico, 0, 0).width, 32);
    {
        PickedFolder picked(folder);
        chooseMenu({"&Tools", "&Set Any Folder Icon to Default..."});
    }
    EXPECT_EQ(vmtest::folderState(folder), before);
}

// A restart that Windows refuses is told in words, and the program goes on as it was.
TEST_F(BoatListing, ARefusedRestartOfWindowsSaysWhyAndTheProgramStaysOpen) {
    Seam::get().queueCode(0);
    {
        Answer told("Vellumar", {clickOn("OK")});
        chooseMenu({"&Tools", "Restart &Windows"});
        EXPECT_TRUE(told.seen().find("Windows could not be restarted: ", true));
    }
    EXPECT_TRUE(w().IsLoaded() && IsWindowVisible(w().hWnd()));
    EXPECT_EQ(itemTexts(w().pnlResult), (std::vector<std::string>{"boat", "boat", "boat"}));
    EXPECT_FALSE(runState.EndingProgram);
}
