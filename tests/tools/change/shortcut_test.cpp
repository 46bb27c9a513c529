#include <gtest/gtest.h>

#include <windows.h>

#include "cshelllink.h"
#include "scratch.h"
#include "shortcutchange.h"
#include "state.h"

using namespace vm;

namespace {

class ShortcutChangeTest : public testing::Test {
protected:
    void SetUp() override {
        savedWindows = paths.WindowsDir;
        paths.WindowsDir = dir.path();
        icons = dir.path() + "\\Icons\\";
        target = dir.file("tool.exe");
        ASSERT_TRUE(vmtest::writeFile(target, "MZ"));
    }
    void TearDown() override { paths.WindowsDir = savedWindows; }
    std::string makeLink(const std::string& name, const std::string& iconFile, int index) {
        ShellLinkInfo info{target, dir.path() + "\\", "-x", iconFile, index, 3, "my tool"};
        cShellLink link;
        const std::string path = dir.file(name);
        EXPECT_TRUE(SUCCEEDED(link.Write(path, info)));
        return path;
    }
    ShellLinkInfo read(const std::string& path) {
        ShellLinkInfo info;
        cShellLink link;
        EXPECT_TRUE(SUCCEEDED(link.Read(path, info)));
        return info;
    }
    // A writer that writes a small stand-in file, or fails.
    std::function<bool(const std::string&)> writer(bool ok = true) {
        return [this, ok](const std::string& file) {
            written.push_back(file);
            return ok && vmtest::writeFile(file, "icon");
        };
    }
    bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    vmtest::ScratchDir dir;
    std::string savedWindows, icons, target;
    std::vector<std::string> written;
};

} // namespace

TEST_F(ShortcutChangeTest, TheIconChangesAndEveryOtherFieldStays) {
    const std::string link = makeLink("tool.lnk", target, 3);
    const ShellLinkInfo before = read(link);
    const ShortcutChange change = changeShortcutIcon(link, writer());
    ASSERT_EQ(change.outcome, ShortcutOutcome::Changed);
    const ShellLinkInfo info = read(link);
    EXPECT_EQ(info.iconFile, icons + "1.ico");
    EXPECT_EQ(info.iconIndex, 0);
    EXPECT_EQ(info.arguments, "-x");
    EXPECT_EQ(info.showCommand, before.showCommand);
    EXPECT_EQ(info.target, before.target);
    EXPECT_EQ(info.workingFolder, before.workingFolder);
    EXPECT_EQ(info.description, "my tool");
    EXPECT_TRUE(exists(target)); // the program's own icon is never deleted

    // The second change: the new file first, then the old one goes.
    ASSERT_EQ(changeShortcutIcon(link, writer()).outcome, ShortcutOutcome::Changed);
    EXPECT_EQ(read(link).iconFile, icons + "2.ico");
    EXPECT_FALSE(exists(icons + "1.ico"));
}

TEST_F(ShortcutChangeTest, AFailedWriteOrAnUnreadableShortcutChangesNothing) {
    const std::string link = makeLink("tool.lnk", target, 3);
    ASSERT_EQ(changeShortcutIcon(link, writer()).outcome, ShortcutOutcome::Changed);
    const ShortcutChange failed = changeShortcutIcon(link, writer(false));
    EXPECT_EQ(failed.outcome, ShortcutOutcome::IconNotWritten);
    EXPECT_EQ(read(link).iconFile, icons + "1.ico");
    EXPECT_TRUE(exists(icons + "1.ico"));
    EXPECT_FALSE(exists(icons + "2.ico"));

    const std::string broken = dir.file("broken.lnk");
    ASSERT_TRUE(vmtest::writeFile(broken, "not a shortcut"));
    written.clear();
    EXPECT_EQ(changeShortcutIcon(broken, writer()).outcome, ShortcutOutcome::Unreadable);
    EXPECT_TRUE(written.empty());
    EXPECT_EQ(vmtest::readFile(broken), "not a shortcut");
    EXPECT_NE(shortcutFailureText({ShortcutOutcome::Unreadable, "", false}, broken).find(broken), std::string::npos);
}

TEST_F(ShortcutChangeTest, ADropChangesEveryReadableShortcutAndMakesNewOnes) {
    const std::string first = makeLink("a.lnk", target, 1);
    const std::string broken = dir.file("b.lnk");
    ASSERT_TRUE(vmtest::writeFile(broken, "garbage"));
    const std::string third = makeLink("c.lnk", target, 2);
    const std::string other = dir.file("notes.txt");
    ASSERT_TRUE(vmtest::writeFile(other, "text"));
    std::vector<std::string> asked;
    const ShortcutDrop drop = dropShortcutFiles({first, broken, third, other}, writer(), [&](const std::string& f) {
        asked.push_back(f);
        return f; // the proposed name
    });
    EXPECT_FALSE(drop.cancelled);
    EXPECT_EQ(read(first).iconFile, icons + "1.ico");
    EXPECT_EQ(read(third).iconFile, icons + "2.ico");
    EXPECT_EQ(vmtest::readFile(broken), "garbage");
    EXPECT_NE(drop.failures.find(broken), std::string::npos);
    ASSERT_EQ(asked, std::vector<std::string>{other});
    const ShellLinkInfo made = read(other + ".lnk");
    EXPECT_EQ(made.target, other);
    EXPECT_EQ(made.workingFolder, dir.path() + "\\");
    EXPECT_EQ(made.iconFile, icons + "3.ico");
    EXPECT_EQ(made.showCommand, 1);

    // A name already ending in .LNK keeps it; a cancel ends the drop.
    const ShortcutDrop named = dropShortcutFiles({other, first}, writer(), [&](const std::string&) {
        return dir.file("Mine.LNK");
    });
    EXPECT_TRUE(exists(dir.file("Mine.LNK")));
    EXPECT_FALSE(exists(dir.file("Mine.LNK.lnk")));
    EXPECT_TRUE(named.failures.empty());
    const std::string before = read(first).iconFile;
    const ShortcutDrop cancelled =
        dropShortcutFiles({other, first}, writer(), [](const std::string&) { return std::string(); });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(read(first).iconFile, before);
}
