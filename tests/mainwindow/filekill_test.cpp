// Every command that writes the user's files, run by a child (this program
// started again for FileKillChild alone) that the kill switch ends right after
// its N-th write, for every N until the command runs to its end. A second
// child, the next start, does what the user would do to put things right. Then
// a folder is exactly as it was, and each user file is whole, the old one or
// the new one the user asked for, with no temporary file left behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "browserstate.h"
#include "dialogforms.h"
#include "filledicon.h"
#include "cshelllink.h"
#include "foldericon.h"
#include "iconcanvas.h"
#include "killchild.h"
#include "libfixtures.h"
#include "loadedwindow.h"
#include "registry.h"
#include "scratch.h"
#include "seam.h"
#include "shortcutchange.h"
#include "state.h"

using namespace vm;

namespace {

constexpr const char* kCommandVariable = "VM_FILE_COMMAND";
constexpr const char* kFolderVariable = "VM_FILE_FOLDER";
constexpr DWORD kKilled = vmtest::kKilledCode;

// The folder whose icon the folder commands change, in the program folder.
std::string photos(const std::string& data) { return data + "\\photos"; }

// The user's files: the sample library's keyword and reference files with an older backup, and
// a hidden folder with its own desktop.ini, trailing blanks and all, and folder.ico.
void writeBefore(const std::string& data) {
    vmtest::writeSampleLibrary(data);
    ASSERT_TRUE(vmtest::writeFile(data + "\\Keyuser-32.bak", "older\r\n"));
    const std::string folder = photos(data);
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(vmtest::writeFile(folder + "\\desktop.ini", "[.ShellClassInfo]\r\nInfoTip=Beach  \r\n[ViewState]\r\nMode=  \r\n"));
    ASSERT_TRUE(vmtest::writeFile(folder + "\\folder.ico", "the user's own icon"));
    SetFileAttributesA((folder + "\\desktop.ini").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
    ShellLinkInfo beach;
    beach.target = "C:\\windows\\notepad.exe";
    ASSERT_TRUE(SUCCEEDED(cShellLink().Write(data + "\\Beach.lnk", beach)));
}

// The commands as a person gives them; "start" is the start alone, which reads the user files.
void runCommand(const std::string& command, const std::string& data) {
    if (command == "change") {
        Masks.MaskFromChange = true; // the selected icon
        const Picture picture = Picture::fromIcon(vmtest::filledIcon(32, RGB(0, 0, 255)));
        Masks.changePicture = [picture] { return picture; };
        Seam::get().queueText(photos(data));
        Seam::get().queueCode(vbYes); // the user's folder.ico may be replaced
        procChangeFolderIcon();
    } else if (command == "default") {
        Seam::get().queueText(photos(data));
        procDefaultFolderIcon();
    } else if (command == "keyword") {
        frmKey().txtKey.SetText("Zeppelin");
        frmKey().cmdAdd_Click();
    } else if (command == "shortcut") {
        // The changed icon goes to one Icons folder for every run, so the
        // shortcut names the same file whichever run wrote it.
        paths.WindowsDir = data.substr(0, data.rfind('\\')) + "\\windows";
        CreateDirectoryA(paths.WindowsDir.c_str(), nullptr);
        DeleteFileA((paths.WindowsDir + "\\Icons\\1.ico").c_str());
        changeShortcutIcon(data + "\\Beach.lnk", [](const std::string& file) { return vmtest::writeFile(file, "new icon"); });
    } else if (command == "reference") {
        referenceHost.selectedTag = [] { return std::string("C:\\icons\\sun.ico;0;sun;1open"); };
        frmAdd().cmbSearch.SetText("Bicycle");
        frmAdd().cmdAdd_Click();
    }
}

// The child: the program started on the parent's folder, then the command.
class FileKillChild : public mwtest::LoadedMainWindow {
protected:
    void SetUp() override {
        if (!std::getenv(kCommandVariable)) GTEST_SKIP() << "started by FileKill only";
        LoadedMainWindow::SetUp();
    }
    void prepare() override {
        paths.DataPath = std::string(std::getenv(kFolderVariable)) + "\\";
        procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
        procRegSetValue(kSettingsKey, "FolderCache", Variant(1), REG_DWORD); // no rebuild notice
    }
};

struct FileCommand {
    const char* name;
    const char* setUp;   // run whole first, or ""
    const char* command; // cut short after each of its writes
    const char* restore; // what the user does at the next start
    bool exact;          // the folder exactly as before; else each file also as the whole run left it
};

using Files = std::map<std::string, std::string>;

class FileKill : public testing::TestWithParam<FileCommand> {
protected:
    // This test program started again for one command on the folder, ended
    // after its killAfter-th write when that is not 0; its exit code.
    DWORD child(const std::string& command, const std::string& data, int killAfter) {
        return vmtest::runKillChild("FileKillChild.*", {{kCommandVariable, command}, {kFolderVariable, data}},
                                    killAfter);
    }
    // The folder the command changes, or the program folder for its user files.
    Files state(const std::string& data) const { return vmtest::folderFiles(GetParam().exact ? photos(data) : data); }

    vmtest::ScratchDir dir;
};

} // namespace

TEST_F(FileKillChild, RunsTheCommandItWasStartedFor) {
    // The start read every user file without a word.
    for (const SeamRequest& r : Seam::get().requests()) EXPECT_NE(r.kind, "MsgBox") << r.prompt;
    runCommand(std::getenv(kCommandVariable), std::getenv(kFolderVariable));
}

TEST_P(FileKill, EveryWriteCutShortLeavesTheFilesWhole) {
    const FileCommand& c = GetParam();
    Files before, after;
    std::vector<Files> cut; // after write n + 1 and the next start
    for (int n = 1;; ++n) {
        ASSERT_LE(n, 40) << "the command never ran to its end";
        const std::string data = dir.file(std::to_string(n));
        CreateDirectoryA(data.c_str(), nullptr);
        writeBefore(data);
        before = state(data);
        if (*c.setUp) {
            ASSERT_EQ(child(c.setUp, data, 0), 0u);
        }
        const DWORD code = child(c.command, data, n);
        if (code == 0) {
            after = state(data);
            break;
        }
        ASSERT_EQ(code, kKilled) << "write " << n;
        ASSERT_EQ(child(c.restore, data, 0), 0u) << "the start after write " << n;
        cut.push_back(state(data));
    }
    ASSERT_FALSE(cut.empty()) << "the command wrote nothing";
    if (c.exact) after = before;
    auto of = [](const Files& files, const std::string& name) {
        const auto found = files.find(name);
        return found == files.end() ? std::string("<none>") : found->second;
    };
    for (size_t n = 0; n < cut.size(); ++n) {
        Files names = before;
        names.insert(cut[n].begin(), cut[n].end());
        for (const auto& [name, file] : names) {
            EXPECT_TRUE(of(cut[n], name) == of(before, name) || of(cut[n], name) == of(after, name))
                << name << " after write " << n + 1 << ": " << of(cut[n], name);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, FileKill,
                         testing::Values(FileCommand{"FolderIconChange", "", "change", "default", true},
                                         FileCommand{"FolderIconToDefault", "change", "default", "default", true},
                                         FileCommand{"KeywordSave", "", "keyword", "start", false},
                                         FileCommand{"ReferenceSave", "", "reference", "start", false},
                                         FileCommand{"ShortcutChange", "", "shortcut", "start", false}),
                         [](const testing::TestParamInfo<FileCommand>& info) { return std::string(info.param.name); });
