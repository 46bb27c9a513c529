#include <gtest/gtest.h>

#include <windows.h>

#include "browserstate.h"
#include "commandstate.h"
#include "filledicon.h"
#include "frmchange.h"
#include "frmmessage.h"
#include "iconcanvas.h"
#include "registry.h"
#include "registrybackup.h"
#include "scratch.h"
#include "seam.h"
#include "state.h"

using namespace vm;

namespace {

std::string regText(HKEY root, const std::string& key, const std::string& name = "") {
    procRegGetValue(root, key, name);
    return reg.RegValue.toText();
}

void setText(HKEY root, const std::string& key, const std::string& name, const std::string& value) {
    procRegCreateKey(key, root);
    procRegSetValue(key, name, Variant(value), REG_SZ);
}

constexpr const char* kClass = "VmChangeTestClass";
constexpr const char* kSysKey = "Software\\VmChangeTest\\DefaultIcon";

// The user's cursors these tests set, given back as they were found: what a
// test writes there must not reach the next test or the next run of the suite.
struct SavedCursors {
    struct Role {
        const char* name;
        DWORD type = 0;
        std::string text;
    };
    Role roles[2]{{"Arrow"}, {"Wait"}};
    SavedCursors() {
        for (Role& r : roles) {
            char text[1024];
            DWORD size = sizeof text;
            if (RegGetValueA(HKEY_CURRENT_USER, kKey, r.name, RRF_RT_ANY | RRF_NOEXPAND, &r.type, text, &size) == 0)
                r.text.assign(text, size);
        }
    }
    ~SavedCursors() {
        for (const Role& r : roles)
            if (r.type) RegSetKeyValueA(HKEY_CURRENT_USER, kKey, r.name, r.type, r.text.data(), static_cast<DWORD>(r.text.size()));
            else RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, r.name);
    }
    static constexpr const char* kKey = "Control Panel\\Cursors";
};

class ChangeTest : public testing::Test {
protected:
    void SetUp() override {
        Seam::get().reset();
        Seam::get().setScripted(true);
        savedWindows = paths.WindowsDir;
        paths.WindowsDir = dir.path();
        icons = dir.path() + "\\Icons\\";
        Keywords.IconSize = 32;
        identity.ProductName = "Vellumar";
        identity.OSCode = "2000";
        changeHost = {};
        changeHost.canvas = [this] { return IconCanvas{&picSave, &pctColor, &pctMask, nullptr, nullptr, nullptr}; };
        changeHost.changeRows = [this] { return rows; };
        changeHost.selectedItem = [this](ChangeItem& item) {
            item = selected;
            return !selected.text.empty();
        };
        changeHost.restartWindows = [this] {
            ++restarts;
            return true;
        };
        procRegDeleteKey(HKEY_CLASSES_ROOT, std::string(kClass) + "\\VmDefault");
        procRegDeleteKey(HKEY_CLASSES_ROOT, std::string(kClass) + "\\DefaultIcon");
        procRegDeleteKey(HKEY_CLASSES_ROOT, kClass);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar\\Settings\\Changes");
        procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
        procRegSetValue(kSettingsKey, "SysFileTypeRestart", Variant(std::int32_t(0)), REG_DWORD);
        procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
        procRegSetValue(kSettingsKey, "SysCache", Variant(std::int32_t(0)), REG_DWORD);
        Form::scriptedModal = [this](Form& f) {
            notices.push_back(f.Caption() + "|" + shell::frmMessage().txtMessage.Caption());
            if (pressAction) shell::frmMessage().cmdRestart.Click();
            else shell::frmMessage().cmdOK.Click();
        };
    }
    void TearDown() override {
        frmChange().Unload();
        Form::scriptedModal = nullptr;
        Seam::get().reset();
        Seam::get().setScripted(false);
        changeHost = {};
        paths.WindowsDir = savedWindows;
        SetFileAttributesA((dir.path() + "\\Icons").c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    ChangeItem item(const std::string& text, const std::string& entry, const std::string& type) {
        ChangeItem i{text, entry, type, "", Picture::fromIcon(vmtest::filledIcon(32, RGB(0, 0, 200)))};
        return i;
    }
    // Drops the selected item on "New".
    void dropSelected() { frmChange().picIcon_OLEDragDrop(selected.text); }
    int msgBoxes() {
        int n = 0;
        for (const SeamRequest& r : Seam::get().requests()) n += r.kind == "MsgBox";
        return n;
    }
    bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
    void handOverFileType() {
        rows = {".doc:docfile;x,0;", std::string(".txt:") + kClass + ";c:\\windows\\notepad.exe,1;Text"};
        frmChange().handOver(item("Text Document", "n;0;Text Document (*.txt);", "File Type Icon"));
    }

    SavedCursors userCursors;
    vmtest::ScratchDir dir;
    std::string savedWindows, icons;
    std::vector<std::string> rows;
    ChangeItem selected;
    OffscreenSurface picSave, pctColor, pctMask;
    std::vector<std::string> notices;
    bool pressAction = false;
    int restarts = 0;
};

} // namespace

TEST_F(ChangeTest, HandOverSetsTheTargetAndEveryNewHandOverClearsTheLocation) {
    handOverFileType();
    FrmChange& f = frmChange();
    EXPECT_EQ(f.Tag, "File Type Icon");
    EXPECT_EQ(f.Caption(), "Change File Type Icon");
    EXPECT_EQ(f.picImport.Tag, rows[1]);
    EXPECT_EQ(f.picIconBack.Tag, "n;0;Text Document (*.txt);");
    EXPECT_EQ(f.status(), "Drop icon from Vellumar on New");
    EXPECT_FALSE(f.applyEnabled());
    EXPECT_TRUE(f.mnuViewEquiv.Enabled());
    EXPECT_TRUE(f.mnuViewDefault.Enabled());

    // A system icon with no row leaves no location of the earlier target behind.
    f.handOver(item("Nowhere #3", "f;0", "System Icon"));
    EXPECT_EQ(f.picImport.Tag, "");
    EXPECT_EQ(f.lblTitle.Caption(), "Nowhere");

    identity.ProductName.clear();
    f.handOver(item("Notes", "n;0;c:\\notes.exe", "Shortcut Icon"));
    EXPECT_EQ(f.picImport.Tag, dir.path() + "\\\\Notes.lnk");
    EXPECT_EQ(f.picImportBack.Tag, "n;0;c:\\notes.exe");
    EXPECT_FALSE(f.mnuViewEquiv.Enabled());
}

TEST_F(ChangeTest, DropTakesOnlyTheSelectedItem) {
    handOverFileType();
    FrmChange& f = frmChange();
    selected = item("Blue", "lib;1", "Animated Cursor");
    EXPECT_FALSE(f.picIcon_OLEDragOver("other text"));
    EXPECT_TRUE(f.picIcon_OLEDragOver("Blue"));
    f.picIcon_OLEDragDrop("other text");
    EXPECT_EQ(f.status(), "Drag an Icon from Vellumar!");
    EXPECT_FALSE(f.applyEnabled());
    dropSelected();
    EXPECT_EQ(f.status(), "File, Apply to Change to Full ANI");
    EXPECT_EQ(f.picIcon.Tag, "lib;1");
    EXPECT_TRUE(f.applyEnabled());
    EXPECT_FALSE(f.ShowingDefault);
}

TEST_F(ChangeTest, ApplyOfAnUnknownKindOnlyResetsTheWindow) {
    handOverFileType();
    FrmChange& f = frmChange();
    selected = item("Blue", "lib;1", "256 Color Icon");
    dropSelected();
    EXPECT_EQ(f.status(), "Choose File, Apply to Change");
    f.Tag = "Something Else";
    f.mnuFileApply_Click();
    EXPECT_EQ(f.status(), "Select a System Icon to Change");
    EXPECT_FALSE(f.applyEnabled());
    EXPECT_TRUE(f.picIcon.GetPicture().empty());
    EXPECT_FALSE(Commands.ChangeApplying);
    EXPECT_FALSE(exists(icons));
}

TEST_F(ChangeTest, FileTypeChangeAndRestoreKeepTheFirstDefault) {
    handOverFileType();
    FrmChange& f = frmChange();
    const std::string cls = kClass;
    setText(HKEY_CLASSES_ROOT, cls + "\\DefaultIcon", "", "c:\\windows\\notepad.exe,1");
    selected = item("Blue", "lib;1", "256 Color Icon");
    dropSelected();
    f.mnuFileApply_Click();
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, cls + "\\VmDefault")); // the class holds nothing of the program's
    EXPECT_EQ(regText(HKEY_CLASSES_ROOT, cls + "\\DefaultIcon"), icons + "1.ico,0");
    ASSERT_TRUE(exists(icons + "1.ico"));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "Change File Type Icon|You may need to Restart Windows before File Type changes take effect.");
    EXPECT_EQ(restarts, 0);

    // A second change, with the row now naming the first file: that file goes after the write.
    rows[1] = std::string(".txt:") + kClass + ";" + icons + "1.ico,0;Text";
    f.handOver(item("Text Document", "n;0;Text Document (*.txt);", "File Type Icon"));
    dropSelected();
    pressAction = true;
    f.mnuFileApply_Click();
    EXPECT_EQ(restarts, 1);
    // The restart ends the apply at once: the window is not reset behind it.
    EXPECT_EQ(f.status(), "Choose File, Apply to Change");
    EXPECT_FALSE(Commands.ChangeApplying);
    EXPECT_EQ(regText(HKEY_CLASSES_ROOT, cls + "\\DefaultIcon"), icons + "2.ico,0");
    EXPECT_FALSE(exists(icons + "1.ico"));

    // Restore: the icon from before the first change comes back; the changed file goes.
    rows[1] = std::string(".txt:") + kClass + ";" + icons + "2.ico,0;Text";
    f.handOver(item("Text Document", "n;0;Text Document (*.txt);", "File Type Icon"));
    pressAction = false;
    f.mnuViewDefault_Click();
    EXPECT_TRUE(f.ShowingDefault);
    EXPECT_EQ(f.DefaultIconFile, "c:\\windows\\notepad.exe");
    EXPECT_TRUE(f.applyEnabled());
    f.mnuFileApply_Click();
    EXPECT_EQ(regText(HKEY_CLASSES_ROOT, cls + "\\DefaultIcon"), "c:\\windows\\notepad.exe,1");
    EXPECT_FALSE(exists(icons + "2.ico"));
    EXPECT_EQ(msgBoxes(), 0);
}

TEST_F(ChangeTest, SuppressedNoticeIsNotShown) {
    procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
    procRegSetValue(kSettingsKey, "SysFileTypeRestart", Variant(std::int32_t(1)), REG_DWORD);
    handOverFileType();
    selected = item("Blue", "lib;1", "256 Color Icon");
    dropSelected();
    shell::MessageResult = true;
    frmChange().mnuFileApply_Click();
    EXPECT_TRUE(notices.empty());
    EXPECT_FALSE(shell::MessageResult);
}

TEST_F(ChangeTest, AFailedWriteChangesNothing) {
    const std::string cls = kClass;
    // The row names an earlier changed file, which must survive the failure.
    CreateDirectoryA(icons.c_str(), nullptr);
    ASSERT_TRUE(vmtest::writeFile(icons + "1.ico", "old"));
    setText(HKEY_CLASSES_ROOT, cls + "\\DefaultIcon", "", icons + "1.ico,0");
    rows = {std::string(".txt:") + kClass + ";" + icons + "1.ico,0;Text"};
    frmChange().handOver(item("Text Document", "n;0;Text Document (*.txt);", "File Type Icon"));
    selected = item("Blue", "lib;1", "256 Color Icon");
    dropSelected();
    // No surfaces to split the icon into: the writer cannot write.
    changeHost.canvas = nullptr;
    frmChange().mnuFileApply_Click();
    EXPECT_EQ(msgBoxes(), 1);
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(regText(HKEY_CLASSES_ROOT, cls + "\\DefaultIcon"), icons + "1.ico,0");
    EXPECT_EQ(vmtest::readFile(icons + "1.ico"), "old");
    EXPECT_FALSE(exists(icons + "2.ico"));
}

TEST_F(ChangeTest, SystemIconChangeAndRestore) {
    setText(HKEY_CURRENT_USER, kSysKey, "", "shell32.dll,3");
    rows = {std::string("My Computer;shell32.dll,3;HKEY_CURRENT_USER\\") + kSysKey};
    frmChange().handOver(item("My Computer", "shell32.dll;3", "System Icon"));
    selected = item("Blue", "lib;1", "256 Color Icon");
    dropSelected();
    runState.SystemIconsChanged = false;
    frmChange().mnuFileApply_Click();
    EXPECT_EQ(regText(HKEY_CURRENT_USER, kSysKey), icons + "1.ico,0");
    EXPECT_EQ(frmChange().picIconBack.Tag, icons + "1.ico;3");
    EXPECT_TRUE(exists(icons + "1.ico"));
    EXPECT_TRUE(runState.SystemIconsChanged);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].substr(0, 33), "Change System Icon|You need to Re");

    frmChange().mnuViewDefault_Click();
    frmChange().mnuFileApply_Click();
    EXPECT_EQ(regText(HKEY_CURRENT_USER, kSysKey), "shell32.dll,3");
    EXPECT_FALSE(exists(icons + "1.ico"));
}

TEST_F(ChangeTest, TheRecycleBinGetsItsIconAndTheRestoreGivesBackExactlyWhatWasThere) {
    const std::string key = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\Defaulticon";
    const RawValue savedEmpty = ReadRawValue(HKEY_CLASSES_ROOT, key, "Empty");
    const RawValue savedDefault = ReadRawValue(HKEY_CLASSES_ROOT, key, "");
    // As Windows has them: an expandable path with a resource id, not the row's default.
    const char theirs[] = "%SystemRoot%\\system32\\shell32.dll,-33";
    const RawValue windows{true, REG_EXPAND_SZ, std::vector<BYTE>(theirs, theirs + sizeof theirs)};
    WriteRawValue(HKEY_CLASSES_ROOT, key, "Empty", windows);
    WriteRawValue(HKEY_CLASSES_ROOT, key, "", windows);

    rows = {"Recycle Bin (Empty);shell32.dll,31;HKEY_CLASSES_ROOT\\" + key + ",Empty"};
    frmChange().handOver(item("Recycle Bin (Empty)", "shell32.dll;31", "System Icon"));
    selected = item("Blue", "lib;1", "256 Color Icon");
    dropSelected();
    frmChange().mnuFileApply_Click();
    EXPECT_EQ(regText(HKEY_CLASSES_ROOT, key, "Empty"), icons + "1.ico,0");
    EXPECT_EQ(regText(HKEY_CLASSES_ROOT, key), icons + "1.ico"); // the default value without ",0"
    dropSelected();
    frmChange().mnuFileApply_Click(); // a second change keeps what the first replaced
    EXPECT_EQ(regText(HKEY_CLASSES_ROOT, key), icons + "2.ico");

    frmChange().mnuViewDefault_Click();
    frmChange().mnuFileApply_Click();
    for (const char* name : {"Empty", ""}) {
        const RawValue now = ReadRawValue(HKEY_CLASSES_ROOT, key, name);
        EXPECT_TRUE(now.present && now.type == REG_EXPAND_SZ && now.data == windows.data) << name;
    }
    EXPECT_FALSE(ReadRawValue(HKEY_CLASSES_ROOT, key, "VmDefaultEmpty").present);
    EXPECT_FALSE(ReadRawValue(HKEY_CLASSES_ROOT, key, "VmDefault").present);
    EXPECT_FALSE(exists(icons + "2.ico"));
    WriteRawValue(HKEY_CLASSES_ROOT, key, "Empty", savedEmpty);
    WriteRawValue(HKEY_CLASSES_ROOT, key, "", savedDefault);
}

TEST_F(ChangeTest, SystemIconWithUnknownRootWritesNothingAndAMissingValueGoesAgainOnRestore) {
    rows = {"Odd;shell32.dll,3;HKEY_NOWHERE\\Key"};
    frmChange().handOver(item("Odd", "shell32.dll;3", "System Icon"));
    selected = item("Blue", "lib;1", "256 Color Icon");
    dropSelected();
    frmChange().procApplySystemIcon();
    EXPECT_EQ(frmChange().status(), "Unknown registry root: HKEY_NOWHERE");

    // A missing value is written by the change and removed, with the keys made for it, by the restore.
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VmChangeTest");
    rows = {"Gone;shell32.dll,3;HKEY_CURRENT_USER\\Software\\VmChangeTest\\Missing"};
    frmChange().handOver(item("Gone", "shell32.dll;3", "System Icon"));
    dropSelected();
    frmChange().mnuFileApply_Click();
    EXPECT_EQ(regText(HKEY_CURRENT_USER, "Software\\VmChangeTest\\Missing"), icons + "1.ico,0");
    frmChange().mnuViewDefault_Click();
    frmChange().mnuFileApply_Click();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\VmChangeTest"));
    EXPECT_FALSE(exists(icons + "1.ico"));
    EXPECT_EQ(msgBoxes(), 0);
}

TEST_F(ChangeTest, StaticCursorChangeWithItsHotspotAndRestore) {
    const std::string cursors = "Control Panel\\Cursors";
    setText(HKEY_CURRENT_USER, cursors, "Wait", "c:\\windows\\busy.ani");
    frmChange().handOver(item("Wait", "c:\\windows\\busy.ani;x;Control Panel\\Cursors\\Wait", "Current Cursor"));
    selected = item("Blue", "lib;0001book", "256 Color Icon");
    dropSelected();
    int picks = 0;
    changeHost.setHotSpot = [&] {
        ++picks;
        Commands.CursorHotSpotX = 5;
        Commands.CursorHotSpotY = 7;
    };
    frmChange().mnuFileApply_Click();
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(regText(HKEY_CURRENT_USER, cursors, "Wait"), icons + "1.cur");
    const std::string bytes = vmtest::readFile(icons + "1.cur");
    ASSERT_GE(bytes.size(), 22u);
    EXPECT_EQ(bytes[2], 2); // a cursor file
    EXPECT_EQ(bytes[10], 5);
    EXPECT_EQ(bytes[12], 7);
    EXPECT_EQ(frmChange().picIconBack.Tag, icons + "1.cur;x;Control Panel\\Cursors\\Wait");
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "Change Current Cursor|You may need to Restart Windows before Cursor changes take effect. "
                          "You could also try a Re-Logon.");

    frmChange().mnuViewDefault_Click();
    EXPECT_EQ(frmChange().DefaultCursorId, "32514");
    frmChange().mnuFileApply_Click();
    // Windows Default puts back the cursor the role had before the change.
    EXPECT_EQ(regText(HKEY_CURRENT_USER, cursors, "Wait"), "c:\\windows\\busy.ani");
    EXPECT_FALSE(exists(icons + "1.cur"));
    Commands.CursorHotSpotX = Commands.CursorHotSpotY = 16;
}

TEST_F(ChangeTest, AnimatedCursorFromTheDroppedAnimationsFrames) {
    const std::string cursors = "Control Panel\\Cursors";
    setText(HKEY_CURRENT_USER, cursors, "Arrow", "");
    frmChange().handOver(item("Arrow", "default;x;32512", "Current Cursor"));
    selected = item("Spin", "lib;00034book", "256 Color Animation");
    dropSelected();
    std::string asked;
    changeHost.collectFrames = [&](const std::string& entry) {
        asked = entry;
        return std::vector<Picture>{Picture::fromIcon(vmtest::filledIcon(32, RGB(255, 0, 0))),
                                    Picture::fromIcon(vmtest::filledIcon(32, RGB(0, 255, 0))),
                                    Picture::fromIcon(vmtest::filledIcon(32, RGB(0, 0, 255)))};
    };
    frmChange().mnuFileApply_Click();
    EXPECT_EQ(asked, "lib;00034book");
    EXPECT_EQ(regText(HKEY_CURRENT_USER, cursors, "Arrow"), icons + "1.ani");
    const std::string bytes = vmtest::readFile(icons + "1.ani");
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(bytes.substr(8, 4), "ACON");
    const auto header = bytes.find("anih");
    ASSERT_NE(header, std::string::npos);
    EXPECT_EQ(bytes[header + 8 + 4], 3);       // frames
    EXPECT_EQ(bytes[header + 8 + 28], 20);     // display rate in jiffies
    EXPECT_EQ(msgBoxes(), 0);
}

TEST_F(ChangeTest, ACursorWithoutFramesChangesNothing) {
    const std::string cursors = "Control Panel\\Cursors";
    setText(HKEY_CURRENT_USER, cursors, "Arrow", "c:\\mine.cur");
    frmChange().handOver(item("Arrow", "c:\\mine.cur;x;Control Panel\\Cursors\\Arrow", "Current Cursor"));
    selected = item("Spin", "lib;00034book", "256 Color Animation");
    dropSelected();
    changeHost.collectFrames = [](const std::string&) { return std::vector<Picture>{}; };
    frmChange().mnuFileApply_Click();
    EXPECT_EQ(msgBoxes(), 1);
    EXPECT_EQ(regText(HKEY_CURRENT_USER, cursors, "Arrow"), "c:\\mine.cur");
    EXPECT_FALSE(exists(icons + "1.ani"));
    EXPECT_TRUE(notices.empty());
}

TEST_F(ChangeTest, DefaultThatCannotBeDrawnStillAllowsApplyAndToolbarKeysAreExact) {
    rows = {"Odd;c:\\nowhere\\missing.dll,4;HKEY_CURRENT_USER\\Software\\VmChangeTest\\Odd"};
    frmChange().handOver(item("Odd", "c:\\nowhere\\missing.dll;4", "System Icon"));
    EXPECT_FALSE(frmChange().applyEnabled());
    frmChange().pnlToolbar_ButtonClick(frmChange().pnlToolbar.Buttons("default"));
    EXPECT_TRUE(frmChange().ShowingDefault);
    EXPECT_EQ(frmChange().status(), "Could not Retrieve Default!");
    EXPECT_TRUE(frmChange().applyEnabled());
    EXPECT_EQ(frmChange().DefaultIconFile, "c:\\nowhere\\missing.dll");
    // A drop clears the default again.
    selected = item("Blue", "lib;1", "256 Color Icon");
    dropSelected();
    EXPECT_FALSE(frmChange().ShowingDefault);
}

TEST_F(ChangeTest, ThePlaceIsKeptUnlessTheWindowClosesMinimised) {
    procRegDeleteKey(HKEY_CURRENT_USER, kPosKey);
    handOverFileType();
    frmChange().Move(1500, 1200);
    frmChange().Unload();
    procRegGetValue(HKEY_CURRENT_USER, kPosKey, "ChangeLeft");
    EXPECT_EQ(reg.RegValue.toLong(), 1500);
    procRegGetValue(HKEY_CURRENT_USER, kPosKey, "ChangeTop");
    EXPECT_EQ(reg.RegValue.toLong(), 1200);
    handOverFileType();
    EXPECT_EQ(frmChange().Left(), 1500);
    frmChange().Move(3000, 3000);
    frmChange().SetWindowState(vbMinimized);
    frmChange().Unload();
    procRegGetValue(HKEY_CURRENT_USER, kPosKey, "ChangeLeft");
    EXPECT_EQ(reg.RegValue.toLong(), 1500);
}
