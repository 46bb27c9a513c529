// Every command that writes the registry of Windows or the user (and Send To),
// run by a child that the kill switch ends after its N-th write, for every N;
// the next start gives the change back as a user would, and the keys the
// command touches and the Send To folder are then exactly as before.
#include <gtest/gtest.h>

#include <cstdlib>

#include "browserstate.h"
#include "dialogforms.h"
#include "filledicon.h"
#include "frmchange.h"
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
const std::string kClass = "VmKillClass", kSysKey = "Software\\VmKillTest", kCursors = "Control Panel\\Cursors";

// A class with an expandable icon path as Windows makes them; no system-icon key, cursor of the
// role, icon-library association or Send To shortcut.
void writeBefore(const std::string& folder) {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vellumar");
    for (const std::string& records : {std::string(kAsoBackupKey), std::string(kSettingsKey) + "\\Changes"})
        WriteRawValue(HKEY_CURRENT_USER, records, "", {true, REG_SZ, {0}}); // the program's own, kept
    for (const char* silenced : {"SysCache", "SysFileTypeRestart", "SysCursorRestart"})
        WriteRawValue(HKEY_CURRENT_USER, kSettingsKey, silenced, {true, REG_DWORD, {1, 0, 0, 0}});
    const char icon[] = "%SystemRoot%\\system32\\shell32.dll,3";
    WriteRawValue(HKEY_CLASSES_ROOT, kClass + "\\DefaultIcon", "", {true, REG_EXPAND_SZ, {icon, icon + sizeof icon}});
    RegDeleteTreeA(HKEY_CURRENT_USER, kSysKey.c_str());
    WriteRawValue(HKEY_CURRENT_USER, kCursors, "VmKillRole", {});
    for (const char* key : {".icl", "iclfile"}) RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
    CreateDirectoryA((folder + "\\SendTo").c_str(), nullptr);
    DeleteFileA((folder + "\\SendTo\\Vellumar.lnk").c_str());
}

ChangeItem changeItem(const std::string& text, const std::string& entry, const std::string& type) {
    return {text, entry, type, "", Picture::fromIcon(vmtest::filledIcon(32, RGB(0, 0, 200)))};
}

void runCommand(const std::string& command) {
    const std::string target = command.substr(0, command.find('-')), action = command.substr(target.size());
    FrmOptions& o = frmOptions();
    if (target == "icl" || target == "sendto") {
        CheckBox& box = target == "icl" ? o.chkAsoICL : o.chkSendTo;
        o.Load();
        box.SetValue(action.empty() ? vbChecked : vbUnchecked);
        o.cmdApply_Click();
        o.Unload();
        return;
    }
    static OffscreenSurface picSave, pctColor, pctMask;
    changeHost.canvas = [] { return IconCanvas{&picSave, &pctColor, &pctMask, nullptr, nullptr, nullptr}; };
    changeHost.changeRows = [] {
        return std::vector<std::string>{".vmk:" + kClass + ";c:\\vm.dll,1;Vm",
                                        "Vm Drive;shell32.dll,8;HKEY_CURRENT_USER\\" + kSysKey + "\\Shell Icons,8"};
    };
    changeHost.selectedItem = [](ChangeItem& item) { return (item = changeItem("Blue", "lib;1", "256 Color Icon"), true); };
    frmChange().handOver(target == "filetype"     ? changeItem("Vm Kill", "n;0;Vm Kill (*.vmk);", "File Type Icon")
                         : target == "systemicon" ? changeItem("Vm Drive", "shell32.dll;8", "System Icon")
                                                  : changeItem("VmKillRole", "c:\\x.ani;x;" + kCursors + "\\VmKillRole",
                                                               "Current Cursor"));
    if (action.empty()) frmChange().picIcon_OLEDragDrop("Blue");
    else frmChange().mnuViewDefault_Click();
    frmChange().mnuFileApply_Click();
}

} // namespace

TEST(RegKillChild, RunsTheCommandItWasStartedFor) {
    if (!std::getenv(kCommandVariable)) GTEST_SKIP() << "started by RegKill only";
    const std::string folder = std::getenv(kFolderVariable);
    Seam::get().setScripted(true);
    paths.WindowsDir = folder;
    paths.DataPath = folder + "\\";
    Keywords.IconSize = 32;
    identity.ProductName = "Vellumar";
    identity.OSCode = "2000";
    static std::int32_t maskColor = 0;
    static bool useMask = false;
    optionsHost = {};
    optionsHost.UseMask = &useMask;
    optionsHost.MaskColor = &maskColor;
    optionsHost.SendToFolder = folder + "\\SendTo\\";
    optionsHost.saveShortcut = WriteShellShortcut;
    runCommand(std::getenv(kCommandVariable));
    // Ended as the program ends, its settings kept: this executable clears them at its own end.
    fflush(stdout);
    ExitProcess(HasFailure() ? 1 : 0);
}

namespace {

struct RegCommand {
    const char* name;
    const char* setUp;                  // run whole first, or ""
    const char* command;                // cut short after each of its writes; "<target>-default" restores
    std::vector<std::string> keys;      // what it touches, besides the program's records
};

class RegKill : public testing::TestWithParam<RegCommand> {
protected:
    std::string state(const std::string& folder) const {
        std::string all;
        for (const std::string& key : GetParam().keys) all += vmtest::regExport(key);
        for (const auto& [name, bytes] : vmtest::folderFiles(folder + "\\SendTo")) all += name + "=" + bytes;
        return all + vmtest::regExport("HKEY_CURRENT_USER\\Software\\Vellumar\\Settings\\Changes") +
               vmtest::regExport(std::string("HKEY_CURRENT_USER\\") + kAsoBackupKey);
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
    const std::string command = c.command, restore = command.substr(0, command.find('-')) + "-default";
    std::string before;
    for (int n = 1;; ++n) {
        ASSERT_LE(n, 80) << "the command never ran to its end";
        const std::string folder = dir.file(std::to_string(n));
        CreateDirectoryA(folder.c_str(), nullptr);
        writeBefore(folder);
        if (n == 1) before = state(folder);
        if (*c.setUp) {
            ASSERT_EQ(child(c.setUp, folder, 0), 0u);
        }
        const DWORD code = child(command, folder, n);
        if (code == 0) {
            ASSERT_GT(n, 1) << "the command wrote nothing";
            break;
        }
        ASSERT_EQ(code, vmtest::kKilledCode) << "write " << n;
        ASSERT_EQ(child(restore, folder, 0), 0u) << "the start after write " << n;
        ASSERT_EQ(state(folder), before) << "after write " << n;
    }
    writeBefore(dir.path());
}

INSTANTIATE_TEST_SUITE_P(
    Commands, RegKill,
    testing::Values(RegCommand{"AssociationsApply", "", "icl", {"HKEY_CLASSES_ROOT\\.icl", "HKEY_CLASSES_ROOT\\iclfile"}},
                    RegCommand{"FileTypeChange", "", "filetype", {"HKEY_CLASSES_ROOT\\" + kClass}},
                    RegCommand{"FileTypeToDefault", "filetype", "filetype-default", {"HKEY_CLASSES_ROOT\\" + kClass}},
                    RegCommand{"SystemIconChange", "", "systemicon", {"HKEY_CURRENT_USER\\" + kSysKey}},
                    RegCommand{"SystemIconToDefault", "systemicon", "systemicon-default", {"HKEY_CURRENT_USER\\" + kSysKey}},
                    RegCommand{"CursorChange", "", "cursor", {"HKEY_CURRENT_USER\\" + kCursors}},
                    RegCommand{"CursorToDefault", "cursor", "cursor-default", {"HKEY_CURRENT_USER\\" + kCursors}},
                    RegCommand{"SendTo", "", "sendto", {}}),
    [](const testing::TestParamInfo<RegCommand>& info) { return std::string(info.param.name); });
