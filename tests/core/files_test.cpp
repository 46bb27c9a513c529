#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "files.h"
#include "scratch.h"
#include "seam.h"
#include "state.h"

using namespace vm;

namespace {

// Lower case after the drive, which the long form keeps as given.
std::string lower(std::string s) {
    std::transform(s.begin() + 2, s.end(), s.begin() + 2, [](unsigned char c) { return std::tolower(c); });
    return s;
}

struct ScriptedSeam {
    ScriptedSeam() { Seam::get().reset(), Seam::get().setScripted(true); }
    ~ScriptedSeam() { Seam::get().reset(), Seam::get().setScripted(false); }
};

TEST(Files, ExistenceAndNameSplitting) {
    vmtest::ScratchDir dir;
    vmtest::writeFile(dir.file("a.txt"), "x");
    EXPECT_TRUE(procFileExists(dir.file("a.txt")));
    EXPECT_FALSE(procFileExists(dir.path()));
    EXPECT_FALSE(procFileExists(dir.file("missing.txt")));
    EXPECT_FALSE(procFileExists(""));

    EXPECT_EQ(procGetFileName("C:\\dir\\a.txt"), "a.txt");
    EXPECT_EQ(procGetFileName("C:\\"), "");
    EXPECT_EQ(procGetFileName("bare.txt"), "");

    std::string path = "C:\\dir\\a.txt";
    EXPECT_EQ(procGetFolder(path), "C:\\dir\\");
    EXPECT_EQ(path, "C:\\dir\\");
    path = "bare.txt";
    EXPECT_EQ(procGetFolder(path), "");
    EXPECT_EQ(path, "");

    std::string text("ab\0cd", 5);
    EXPECT_EQ(procTrimNull(text), "ab");
    EXPECT_EQ(text, "ab");
}

TEST(Files, LongPathGivesStoredCaseAndKeepsItsShape) {
    vmtest::ScratchDir dir;
    std::string base = procGetLongPath(dir.path());
    ASSERT_FALSE(base.empty());
    CreateDirectoryA((base + "\\MixedCase Folder").c_str(), nullptr);
    vmtest::writeFile(base + "\\MixedCase Folder\\LongFileName.Text", "x");
    const std::string stored = base + "\\MixedCase Folder\\LongFileName.Text";

    EXPECT_EQ(procGetLongPath(lower(stored)), stored);
    EXPECT_EQ(procGetLongPath(procGetShortPath(stored)), stored);
    EXPECT_EQ(procGetLongPath(lower(base + "\\MixedCase Folder\\")), base + "\\MixedCase Folder\\");
    EXPECT_EQ(procGetLongPath(lower(base + "\\MixedCase Folder\\\\")), base + "\\MixedCase Folder\\");
    EXPECT_EQ(procGetLongPath("C:\\"), "C:\\");
    EXPECT_EQ(procGetLongPath("\\\\server\\Share\\x"), "\\\\server\\Share\\x");
    EXPECT_EQ(procGetLongPath(base + "\\MixedCase Folder\\missing.txt"), "");
    EXPECT_EQ(procGetLongPath(base + "\\*"), "");

    EXPECT_EQ(procGetShortPath(base + "\\missing"), "");
}

TEST(Files, RenameNeverLosesTheSource) {
    ScriptedSeam seam;
    vmtest::ScratchDir dir;
    vmtest::writeFile(dir.file("old.dat"), "old");
    procRenameFile(dir.file("old.dat"), dir.file("new.dat"), true);
    EXPECT_FALSE(vmtest::fileExists(dir.file("old.dat")));
    EXPECT_EQ(vmtest::readFile(dir.file("new.dat")), "old");

    vmtest::writeFile(dir.file("old.dat"), "second");
    procRenameFile(dir.file("old.dat"), dir.file("new.dat"), true);
    EXPECT_EQ(vmtest::readFile(dir.file("old.dat")), "second");
    EXPECT_EQ(vmtest::readFile(dir.file("new.dat")), "old");
    EXPECT_TRUE(Seam::get().requests().empty());

    procRenameFile(dir.file("old.dat"), dir.file("no such folder\\new.dat"), true);
    EXPECT_EQ(vmtest::readFile(dir.file("old.dat")), "second");
    ASSERT_EQ(Seam::get().requests().size(), 1u);
    EXPECT_EQ(Seam::get().requests()[0].prompt.rfind("Error Nr. 76 in Vellumar\r", 0), 0u);
}

TEST(Files, ChangedIconFileIsDeletedOnlyInTheIconsFolder) {
    vmtest::ScratchDir dir;
    const std::string saved = paths.WindowsDir;
    paths.WindowsDir = dir.path();
    CreateDirectoryA(dir.file("Icons").c_str(), nullptr);
    CreateDirectoryA(dir.file("Icons\\sub").c_str(), nullptr);
    for (const char* name : {"Icons\\a.ico", "Icons\\sub\\b.ico", "c.ico"}) vmtest::writeFile(dir.file(name), "x");

    procDeleteChangedIconFile(dir.file("Icons\\sub\\b.ico"));
    procDeleteChangedIconFile(dir.file("c.ico"));
    procDeleteChangedIconFile(dir.path() + "\\ICONS\\a.ico");
    EXPECT_TRUE(vmtest::fileExists(dir.file("Icons\\a.ico")));
    EXPECT_TRUE(vmtest::fileExists(dir.file("Icons\\sub\\b.ico")));
    EXPECT_TRUE(vmtest::fileExists(dir.file("c.ico")));
    procDeleteChangedIconFile(dir.file("Icons\\a.ico"));
    EXPECT_FALSE(vmtest::fileExists(dir.file("Icons\\a.ico")));
    paths.WindowsDir = saved;
}

TEST(Files, VersionAndProperties) {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    std::string major = procGetFileMajorVersion(std::string(system) + "\\kernel32.dll");
    EXPECT_FALSE(major.empty());
    EXPECT_TRUE(std::all_of(major.begin(), major.end(), ::isdigit)) << major;
    vmtest::ScratchDir dir;
    vmtest::writeFile(dir.file("plain.txt"), "x");
    EXPECT_EQ(procGetFileMajorVersion(dir.file("plain.txt")), "");
    EXPECT_EQ(procGetFileMajorVersion(dir.file("missing.dll")), "");

    ScriptedSeam seam;
    procShowFileProperties(dir.file("missing.txt"), nullptr);
    ASSERT_EQ(Seam::get().requests().size(), 1u);
    EXPECT_EQ(Seam::get().requests()[0].prompt, "File " + dir.file("missing.txt") + " not found.");
    EXPECT_EQ(Seam::get().requests()[0].title, "Error");
    EXPECT_EQ(Seam::get().requests()[0].style, vbExclamation);
}

} // namespace
