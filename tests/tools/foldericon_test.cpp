#include <gtest/gtest.h>

#include <windows.h>

#include "browserstate.h"
#include "commandstate.h"
#include "filledicon.h"
#include "foldericon.h"
#include "frmmessage.h"
#include "iconcanvas.h"
#include "registry.h"
#include "scratch.h"
#include "seam.h"
#include "state.h"
#include "toolshost.h"

using namespace vm;

namespace {

std::string iniValue(const std::string& ini, const char* section, const char* key) {
    char buffer[256] = {};
    GetPrivateProfileStringA(section, key, "<none>", buffer, sizeof(buffer), ini.c_str());
    return buffer;
}

// The attributes a user sets; Wine adds Archive to every file written.
DWORD attributes(const std::string& path) { return GetFileAttributesA(path.c_str()) & ~DWORD(FILE_ATTRIBUTE_ARCHIVE); }

class FolderIconTest : public testing::Test {
protected:
    void SetUp() override {
        Seam::get().reset();
        Seam::get().setScripted(true);
        folder = dir.file("target");
        CreateDirectoryA(folder.c_str(), nullptr);
        ini = folder + "\\desktop.ini";
        ico = folder + "\\folder.ico";
        useIcon(RGB(0, 0, 255));
        Masks.MaskFromChange = true; // the test's icon stands in for the selection
        Keywords.IconSize = 32;
        runState.SystemIconsChanged = false;
        toolsHost = {};
        toolsHost.canvas = [this] { return canvas(); };
    }
    void TearDown() override {
        Masks.MaskFromChange = false;
        Masks.changePicture = nullptr;
        Form::scriptedModal = nullptr;
        Seam::get().reset();
        Seam::get().setScripted(false);
        toolsHost = {};
        for (const std::string& f : {ini, ico}) SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());
    }
    void useIcon(COLORREF color) {
        Picture picture = Picture::fromIcon(vmtest::filledIcon(32, color));
        Masks.changePicture = [picture] { return picture; };
    }
    IconCanvas canvas() { return {&picSave, &pctColor, &pctMask, nullptr, nullptr, nullptr}; }
    int count(const char* kind) {
        int n = 0;
        for (const SeamRequest& r : Seam::get().requests()) n += r.kind == kind;
        return n;
    }

    vmtest::ScratchDir dir;
    std::string folder, ini, ico;
    OffscreenSurface picSave, pctColor, pctMask;
};

} // namespace

TEST_F(FolderIconTest, ChangeWritesTheIconAndKeepsTheRestOfDesktopIni) {
    ASSERT_TRUE(vmtest::writeFile(ini, "[.ShellClassInfo]\r\nInfoTip=Mine\r\n[Other]\r\nkey=value\r\n"));
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
    IconCanvas c = canvas();
    ASSERT_TRUE(changeFolderIcon(folder, c, 32));
    EXPECT_EQ(count("MsgBox"), 0);
    EXPECT_EQ(iniValue(ini, ".ShellClassInfo", "IconFile"), "folder.ico");
    EXPECT_EQ(iniValue(ini, ".ShellClassInfo", "IconIndex"), "0");
    EXPECT_EQ(iniValue(ini, ".ShellClassInfo", "InfoTip"), "Mine");
    EXPECT_EQ(iniValue(ini, "Other", "key"), "value");
    EXPECT_EQ(attributes(ini) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_TRUE(attributes(ico) & FILE_ATTRIBUTE_HIDDEN);
    // The folder is marked for Windows and keeps what the user had set.
    const DWORD f = attributes(folder);
    EXPECT_TRUE(f & FILE_ATTRIBUTE_SYSTEM);
    EXPECT_TRUE(f & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(runState.SystemIconsChanged);

    HANDLE loaded = LoadImageA(nullptr, ico.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
    ASSERT_TRUE(loaded);
    DestroyIcon(static_cast<HICON>(loaded));
}

TEST_F(FolderIconTest, AFolderIcoThereIsReplacedOnlyWhenTheUserAgreesAndAFailedWriteChangesNothing) {
    const std::string theirs = "[.ShellClassInfo]\r\nIconFile=mine.ico\r\n";
    ASSERT_TRUE(vmtest::writeFile(ini, theirs));
    ASSERT_TRUE(vmtest::writeFile(ico, "mine"));
    const DWORD folderBefore = attributes(folder);
    IconCanvas c = canvas();

    Seam::get().queueCode(vbNo);
    EXPECT_FALSE(changeFolderIcon(folder, c, 32));
    ASSERT_EQ(count("MsgBox"), 1);
    EXPECT_EQ(Seam::get().requests()[0].prompt, ico + " already exists.\rDo you want to replace it?");
    EXPECT_EQ(Seam::get().requests()[0].style, vbYesNo | vbQuestion);

    // Yes, but the icon cannot be written: said why, and nothing changes.
    SetFileAttributesA(ico.c_str(), FILE_ATTRIBUTE_READONLY);
    Seam::get().queueCode(vbYes);
    EXPECT_FALSE(changeFolderIcon(folder, c, 32));
    ASSERT_EQ(count("MsgBox"), 3);
    EXPECT_EQ(Seam::get().requests()[2].prompt,
              "The file " + ico + " could not be written: the file is read-only.\rThe folder was not changed.");
    EXPECT_EQ(vmtest::readFile(ico), "mine");
    EXPECT_EQ(attributes(ico), DWORD(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(vmtest::readFile(ini), theirs);
    EXPECT_EQ(attributes(folder), folderBefore);
    EXPECT_FALSE(runState.SystemIconsChanged);

    // Yes on a file that can be replaced.
    SetFileAttributesA(ico.c_str(), FILE_ATTRIBUTE_HIDDEN);
    Seam::get().queueCode(vbYes);
    ASSERT_TRUE(changeFolderIcon(folder, c, 32));
    EXPECT_NE(vmtest::readFile(ico), "mine");
    EXPECT_TRUE(attributes(ico) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(iniValue(ini, ".ShellClassInfo", "IconFile"), "folder.ico");

    Masks.changePicture = [] { return Picture(); }; // nothing selected
    EXPECT_FALSE(changeFolderIcon(folder, c, 32));
    EXPECT_EQ(Seam::get().requests().back().prompt, "There is no selected icon to give the folder.");
}

// A folder set without the program's record (by an earlier version, or by hand).
TEST_F(FolderIconTest, DefaultBlanksTheIconKeysAndLeavesEveryFileAsItWas) {
    const std::string icon = "the user's own icon";
    ASSERT_TRUE(vmtest::writeFile(ini, "[.ShellClassInfo]\r\nIconFile=folder.ico\r\nIconIndex=0\r\nInfoTip=Mine\r\n"));
    ASSERT_TRUE(vmtest::writeFile(ico, icon));
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA(ico.c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    const DWORD folderBefore = attributes(folder);
    ASSERT_TRUE(resetFolderIcon(folder));
    EXPECT_EQ(count("MsgBox"), 0);
    EXPECT_EQ(vmtest::readFile(ico), icon);
    EXPECT_EQ(attributes(ico), DWORD(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(attributes(ini), DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(iniValue(ini, ".ShellClassInfo", "IconFile"), ""); // the keys stay, empty
    EXPECT_EQ(iniValue(ini, ".ShellClassInfo", "IconIndex"), "");
    EXPECT_EQ(iniValue(ini, ".ShellClassInfo", "InfoTip"), "Mine");
    EXPECT_EQ(attributes(folder), folderBefore);
    EXPECT_TRUE(runState.SystemIconsChanged);

    // A folder never customised is left alone, and the user told why.
    const std::string plain = dir.file("plain");
    CreateDirectoryA(plain.c_str(), nullptr);
    EXPECT_FALSE(resetFolderIcon(plain));
    EXPECT_EQ(Seam::get().requests().back().prompt, "No icon file is set for the folder " + plain + ".\rNothing was changed.");
    EXPECT_FALSE(vmtest::fileExists(plain + "\\desktop.ini"));
}

TEST_F(FolderIconTest, AChangeThatFailsAnywhereLeavesTheFolderExactlyAsItWas) {
    // desktop.ini in UTF-16, as Windows writes some; the folder marked System by the user.
    const std::wstring text = L"[.ShellClassInfo]\r\nLocalizedResourceName=Ph\u00f6tos  \r\n[ViewState]\r\nMode=  \r\n";
    ASSERT_TRUE(vmtest::writeFile(ini, "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2)));
    ASSERT_TRUE(vmtest::writeFile(ico, "mine"));
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_SYSTEM);
    const std::string before = vmtest::folderState(folder);
    IconCanvas c = canvas();

    // A failure found only once desktop.ini is written: a folder where the user's icon is to be kept.
    const std::string inTheWay = ico + ".vm-old";
    CreateDirectoryA(inTheWay.c_str(), nullptr);
    const std::string blocked = vmtest::folderState(folder);
    Seam::get().queueCode(vbYes);
    EXPECT_FALSE(changeFolderIcon(folder, c, 32));
    EXPECT_EQ(Seam::get().requests().back().prompt.find("The file " + ico + " could not be written: "), 0u);
    EXPECT_EQ(vmtest::folderState(folder), blocked);
    RemoveDirectoryA(inTheWay.c_str());

    // Changed and set back: every byte and attribute as it was.
    Seam::get().queueCode(vbYes);
    ASSERT_TRUE(changeFolderIcon(folder, c, 32));
    EXPECT_EQ(iniValue(ini, ".ShellClassInfo", "IconFile"), "folder.ico");
    ASSERT_TRUE(resetFolderIcon(folder));
    EXPECT_EQ(vmtest::folderState(folder), before);
}

TEST_F(FolderIconTest, CommandsAskForTheFolderAndOfferTheRebuild) {
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegDeleteValueA(key, "FolderCache");
    RegCloseKey(key);

    Seam::get().queueCancel();
    procChangeFolderIcon();
    EXPECT_FALSE(vmtest::fileExists(ini));
    EXPECT_FALSE(folderPicker.BrowseForExtract);

    int notices = 0;
    Form::scriptedModal = [&](Form& f) {
        ++notices;
        EXPECT_EQ(f.Caption(), "Change Any Folder");
        shell::frmMessage().cmdRestart.Click();
    };
    Seam::get().queueText(folder);
    procChangeFolderIcon();
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(iniValue(ini, ".ShellClassInfo", "IconFile"), "folder.ico");
    EXPECT_EQ(count("Broadcast"), 2); // the rebuild ran
    EXPECT_FALSE(runState.SystemIconsChanged);

    // Silenced: no notice, the rebuild waits for the program end.
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "FolderCache", Variant(1), REG_DWORD);
    Seam::get().queueText(folder);
    procDefaultFolderIcon();
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(count("Broadcast"), 2);
    EXPECT_TRUE(runState.SystemIconsChanged);
    EXPECT_FALSE(vmtest::fileExists(ico)); // the program's own, gone with the change
    EXPECT_FALSE(vmtest::fileExists(ini));
    RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegDeleteValueA(key, "FolderCache");
    RegCloseKey(key);
}
