#include <gtest/gtest.h>

#include <windows.h>

#include "cshelllink.h"
#include "damagedfiles.h"
#include "processmemory.h"
#include "scratch.h"
#include "patience.h"

using namespace vm;

namespace {

struct ReadBack {
    std::string target, workingFolder, arguments, iconFile, description;
    std::int32_t iconIndex = -99, showCommand = -99;
    HRESULT result = E_UNEXPECTED;
};

ReadBack readLink(const std::string& file) {
    ReadBack r;
    cShellLink link;
    link.GetLinkInfo(file, r.target, r.workingFolder, r.arguments, r.iconFile, r.iconIndex, r.showCommand,
                     r.description, r.result);
    return r;
}

} // namespace

TEST(ShellLink, WrittenLinksReadBackWhole) {
    vmtest::ScratchDir dir;
    const std::string target = dir.file("tool.exe");
    ASSERT_TRUE(vmtest::writeFile(target, "MZ"));
    ShellLinkInfo info;
    info.target = target;
    info.workingFolder = dir.path();
    info.arguments = "/open \"a file.ico\"";
    info.iconFile = dir.file("icons.dll");
    info.iconIndex = -152;
    info.description = "Opens the tool";
    cShellLink writer;
    ASSERT_EQ(writer.Write(dir.file("Tool.lnk"), info), S_OK);

    ReadBack r = readLink(dir.file("Tool.lnk"));
    EXPECT_EQ(r.result, S_OK);
    EXPECT_EQ(r.target, target);
    EXPECT_EQ(r.workingFolder, dir.path());
    EXPECT_EQ(r.arguments, info.arguments);
    EXPECT_EQ(r.iconFile, info.iconFile);
    EXPECT_EQ(r.iconIndex, -152);
    EXPECT_EQ(r.description, "Opens the tool");
    // No text comes back with NULs behind it.
    EXPECT_EQ(r.target.find('\0'), std::string::npos);

    // A second write replaces the shortcut and leaves no temporary file behind.
    info.iconFile.clear();
    info.iconIndex = 0;
    ASSERT_EQ(writer.Write(dir.file("Tool.lnk"), info), S_OK);
    r = readLink(dir.file("Tool.lnk"));
    EXPECT_EQ(r.iconFile, "");
    EXPECT_EQ(r.iconIndex, 0);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(dir.file("*").c_str(), &data);
    int files = 0;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    EXPECT_EQ(files, 2); // tool.exe and Tool.lnk
}

TEST(ShellLink, ALinkWhoseTargetIsGoneStillNamesIt) {
    vmtest::ScratchDir dir;
    const std::string target = dir.file("gone.exe");
    ASSERT_TRUE(vmtest::writeFile(target, "MZ"));
    ShellLinkInfo info;
    info.target = target;
    ASSERT_EQ(cShellLink().Write(dir.file("Gone.lnk"), info), S_OK);
    DeleteFileA(target.c_str());
    ReadBack r = readLink(dir.file("Gone.lnk"));
    EXPECT_EQ(r.result, S_OK);
    EXPECT_EQ(r.target, target);
}

TEST(ShellLink, BrokenOrMissingFilesFailWithEmptyOutputs) {
    vmtest::ScratchDir dir;
    ASSERT_TRUE(vmtest::writeFile(dir.file("Broken.lnk"), std::string("L\0\0\0garbage that is no shortcut", 34)));
    ASSERT_TRUE(vmtest::writeFile(dir.file("Empty.lnk"), ""));
    for (const char* name : {"Broken.lnk", "Empty.lnk", "Missing.lnk"}) {
        SCOPED_TRACE(name);
        ReadBack r = readLink(dir.file(name));
        EXPECT_TRUE(FAILED(r.result));
        EXPECT_EQ(r.target, "");
        EXPECT_EQ(r.iconFile, "");
        EXPECT_EQ(r.iconIndex, 0);
        EXPECT_EQ(r.description, "");
    }
}

TEST(ShellLink, AFailedWriteLeavesTheOldShortcut) {
    vmtest::ScratchDir dir;
    const std::string target = dir.file("tool.exe");
    ASSERT_TRUE(vmtest::writeFile(target, "MZ"));
    ShellLinkInfo info;
    info.target = target;
    ASSERT_EQ(cShellLink().Write(dir.file("Tool.lnk"), info), S_OK);
    const std::string before = vmtest::readFile(dir.file("Tool.lnk"));
    // Into a folder that does not exist nothing can be written.
    EXPECT_TRUE(FAILED(cShellLink().Write(dir.file("none\\Tool.lnk"), info)));
    // A shortcut held open without sharing cannot be replaced; it stays as it was.
    HANDLE held = CreateFileA(dir.file("Tool.lnk").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    info.arguments = "changed";
    EXPECT_TRUE(FAILED(cShellLink().Write(dir.file("Tool.lnk"), info)));
    CloseHandle(held);
    EXPECT_EQ(vmtest::readFile(dir.file("Tool.lnk")), before);
    EXPECT_EQ(readLink(dir.file("Tool.lnk")).arguments, "");
}

TEST(ShellLink, DamagedLinksAreRefusedBeforeTheShellReadsThem) {
    vmtest::ScratchDir dir;
    ASSERT_TRUE(vmtest::writeFile(dir.file("whole.lnk"), vmtest::damaged::wholeShellLink()));
    EXPECT_EQ(readLink(dir.file("whole.lnk")).result, S_OK);
    const std::size_t before = vmtest::PeakCommittedBytes();
    const vmtest::CpuStopwatch work;
    for (const auto& sample : vmtest::damaged::shellLinks(200)) {
        const std::string path = dir.file(sample.name);
        ASSERT_TRUE(vmtest::writeFile(path, sample.bytes));
        const ReadBack r = readLink(path);
        if (sample.name.rfind("flipped-", 0) != 0) {
            EXPECT_TRUE(FAILED(r.result)) << sample.name;
        } else if (FAILED(r.result)) {
            EXPECT_TRUE(r.target.empty()) << sample.name;
        }
    }
    // A link info of 0xFFFFFFFF bytes once took the shell's reader 3.8 GB and 12 s.
    EXPECT_LT(vmtest::PeakGrowthSince(before), 64u << 20);
    EXPECT_LT(work.ms(), 10000u);
}
