// Every command that writes what Windows or the user own in the registry (and
// the Send To shortcut), run by a child that the kill switch ends right after
// its N-th write, for every N until the command runs to its end; the next
// start then gives the change back as a user would. The keys the command
// touches, exported, and the files it writes are then exactly as before.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "browserstate.h"
#include "dialogforms.h"
#include "filledicon.h"
#include "frmchange.h"
#include "iconcanvas.h"
#include "killchild.h"
#include "regexport.h"
#include "registry.h"
#include "registrybackup.h"
#include "scratch.h"
#include "seam.h"
#include "shellintegration.h"
#include "state.h"

using namespace vm;

namespace {

constexpr const char* kCommandVariable = "VM_REG_COMMAND";
constexpr const char* kFolderVariable = "VM_REG_FOLDER";
constexpr const char* kClass = "VmKillClass";
constexpr const char* kSysKey = "Software\\VmKillTest";
constexpr const char* kCursors = "Control Panel\\Cursors";
constexpr const char* kRole = "VmKillRole";

// The state before each run: a file class as Windows makes it, an expandable icon path; no
// system-icon key; no cursor of the role; no association of the icon libraries; no Send To shortcut.
void writeBefore(const std::string& folder) {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
    for (const char* setting : {"SysCache", "SysFileTypeRestart", "SysCursorRestart"}) {
        procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
        procRegSetValue(kSettingsKey, setting, Variant(std::int32_t(1)), REG_DWORD); // no notices
    }
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kClass);
    const char icon[] = "%SystemRoot%\\system32\\shell32.dll,3";
    WriteRawValue(HKEY_CLASSES_ROOT, std::string(kClass) + "\\DefaultIcon", "",
                  {true, REG_EXPAND_SZ, std::vector<BYTE>(icon, icon + sizeof icon)});
    RegDeleteTreeA(HKEY_CURRENT_USER, kSysKey);
    WriteRawValue(HKEY_CURRENT_USER, kCursors, kRole, RawValue{});
    for (const char* key : {".icl", "iclfile"}) RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
    CreateDirectoryA((folder + "\\SendTo").c_str(), nullptr);
    DeleteFileA((folder + "\\SendTo\\Vellumar.lnk").c_str());
}

ChangeItem changeItem(const std::string& text, const std::string& entry, const std::string& type) {
    return {text, entry, type, "", Picture::fromIcon(vmtest::filledIcon(32, RGB(0, 0, 200)))};
}

// The change window on a target: a library icon dropped on "New", or Windows Default; then Apply.
void applyChange(const ChangeItem& target, bool toDefault) {
    static OffscreenSurface picSave, pctColor, pctMask;
    changeHost.canvas = [] { return IconCanvas{&picSave, &pctColor, &pctMask, nullptr, nullptr, nullptr}; };
    changeHost.changeRows = [] {
        return std::vector<std::string>{std::string(".vmk:") + kClass + ";c:\\windows\\vm.dll,1;Vm",
                                        std::string("Vm Drive;shell32.dll,8;HKEY_CURRENT_USER\\") + kSysKey +
                                            "\\Shell Icons,8"};
    };
    changeHost.selectedItem = [](ChangeItem& item) {
        item = changeItem("Blue", "lib;1", "256 Color Icon");
        return true;
    };
    frmChange().handOver(target);
    if (toDefault) frmChange().mnuViewDefault_Click();
    else frmChange().picIcon_OLEDragDrop("Blue");
    frmChange().mnuFileApply_Click();
}

// The options window on its Shell Integration boxes: the boxes named set, Apply.
void applyOptions(const std::vector<CheckBox*>& ticked, const std::vector<CheckBox*>& unticked) {
    frmOptions().Load();
    for (CheckBox* box : ticked) box->SetValue(vbChecked);
    for (CheckBox* box : unticked) box->SetValue(vbUnchecked);
    frmOptions().cmdApply_Click();
    frmOptions().Unload();
}

void runCommand(const std::string& command) {
    FrmOptions& o = frmOptions();
    const std::vector<CheckBox*> types{&o.chkAsoANI, &o.chkAsoCUR, &o.chkAsoDLL, &o.chkAsoICL, &o.chkAsoICO};
    const ChangeItem fileType = changeItem("Vm Kill", "n;0;Vm Kill (*.vmk);", "File Type Icon");
    const ChangeItem systemIcon = changeItem("Vm Drive", "shell32.dll;8", "System Icon");
    const ChangeItem cursor = changeItem(kRole, std::string("c:\\windows\\busy.ani;x;") + kCursors + "\\" + kRole,
                                         "Current Cursor");
    if (command == "associate") applyOptions({&o.chkAsoICL, &o.chkAsoICO}, {});
    else if (command == "unassociate") applyOptions({}, types);
    else if (command == "sendto") applyOptions({&o.chkSendTo}, {});
    else if (command == "unsendto") applyOptions({}, {&o.chkSendTo});
    else if (command == "filetype") applyChange(fileType, false);
    else if (command == "filetypedefault") applyChange(fileType, true);
    else if (command == "systemicon") applyChange(systemIcon, false);
    else if (command == "systemicondefault") applyChange(systemIcon, true);
    else if (command == "cursor") applyChange(cursor, false);
    else if (command == "cursordefault") applyChange(cursor, true);
    else FAIL() << "no command " << command;
}

} // namespace

TEST(RegKillChild, RunsTheCommandItWasStartedFor) {
    const char* command = std::getenv(kCommandVariable);
    if (!command) GTEST_SKIP() << "started by RegKill only";
    const std::string folder = std::getenv(kFolderVariable);
    Seam::get().setScripted(true);
    paths.WindowsDir = folder;
    paths.DataPath = folder + "\\";
    Keywords.IconSize = 32;
    identity.ProductName = "Vellumar";
    identity.OSCode = "2000";
    static std::int32_t maskColor = 0;
    static bool useMask = false;
    optionsHost.UseMask = &useMask;
    optionsHost.MaskColor = &maskColor;
    optionsHost.SendToFolder = folder + "\\SendTo\\";
    optionsHost.saveShortcut = WriteShellShortcut;
    runCommand(command);
}

namespace {

struct RegCommand {
    const char* name;
    const char* setUp;   // run whole first, or ""
    const char* command; // cut short after each of its writes
    const char* restore; // what the user does at the next start
};

class RegKill : public testing::TestWithParam<RegCommand> {
protected:
    // What the commands touch: their keys, the program's records of them, the Send To folder.
    std::string state(const std::string& folder) const {
        std::string all;
        for (const std::string& key :
             {std::string("HKEY_CLASSES_ROOT\\") + kClass, std::string("HKEY_CURRENT_USER\\") + kSysKey,
              std::string("HKEY_CURRENT_USER\\") + kCursors, std::string("HKEY_CLASSES_ROOT\\.ico"),
              std::string("HKEY_CLASSES_ROOT\\icofile"), std::string("HKEY_CLASSES_ROOT\\.icl"),
              std::string("HKEY_CLASSES_ROOT\\iclfile"), std::string("HKEY_CURRENT_USER\\") + kAsoBackupKey,
              std::string("HKEY_CURRENT_USER\\Software\\Vellumar\\Settings\\Changes")})
            all += vmtest::regExport(key);
        for (const auto& [name, bytes] : vmtest::folderFiles(folder + "\\SendTo")) all += name + "=" + bytes + "\n";
        return all;
    }
    DWORD child(const std::string& command, const std::string& folder, int killAfter) {
        return vmtest::runKillChild("RegKillChild.*", {{kCommandVariable, command}, {kFolderVariable, folder}},
                                    killAfter);
    }
    vmtest::ScratchDir dir;
};

} // namespace

TEST_P(RegKill, EveryWriteCutShortIsGivenBackWhole) {
    const RegCommand& c = GetParam();
    for (int n = 1;; ++n) {
        ASSERT_LE(n, 300) << "the command never ran to its end";
        const std::string folder = dir.file(std::to_string(n));
        CreateDirectoryA(folder.c_str(), nullptr);
        writeBefore(folder);
        const std::string before = state(folder);
        if (*c.setUp) {
            ASSERT_EQ(child(c.setUp, folder, 0), 0u);
        }
        const DWORD code = child(c.command, folder, n);
        if (code == 0) {
            ASSERT_GT(n, 1) << "the command wrote nothing";
            if (!*c.setUp) ASSERT_NE(state(folder), before) << "the command changed nothing";
            break;
        }
        ASSERT_EQ(code, vmtest::kKilledCode) << "write " << n;
        ASSERT_EQ(child(c.restore, folder, 0), 0u) << "the start after write " << n;
        ASSERT_EQ(state(folder), before) << "after write " << n;
    }
    writeBefore(dir.path());
}

INSTANTIATE_TEST_SUITE_P(
    Commands, RegKill,
    testing::Values(RegCommand{"AssociationsApply", "", "associate", "unassociate"},
                    RegCommand{"FileTypeChange", "", "filetype", "filetypedefault"},
                    RegCommand{"FileTypeToDefault", "filetype", "filetypedefault", "filetypedefault"},
                    RegCommand{"SystemIconChange", "", "systemicon", "systemicondefault"},
                    RegCommand{"SystemIconToDefault", "systemicon", "systemicondefault", "systemicondefault"},
                    RegCommand{"CursorChange", "", "cursor", "cursordefault"},
                    RegCommand{"CursorToDefault", "cursor", "cursordefault", "cursordefault"},
                    RegCommand{"SendTo", "", "sendto", "unsendto"}),
    [](const testing::TestParamInfo<RegCommand>& info) { return std::string(info.param.name); });
