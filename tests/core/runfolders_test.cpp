// The folders runs of the program make in TEMP: a start removes those of runs
// that ended (killed, crashed), never a live run's, nor anything else there.
#include <windows.h>

#include <gtest/gtest.h>

#include "runfolders.h"
#include "scratch.h"

TEST(RunFolders, AStartRemovesTheFoldersOfRunsThatEndedAndNothingElse) {
    vmtest::ScratchDir dir;
    const std::string temp = dir.path() + "\\";
    // Two more runs, held suspended; one is killed.
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    PROCESS_INFORMATION runs[2]{};
    for (PROCESS_INFORMATION& run : runs) {
        std::string line = std::string("\"") + exe + "\" --gtest_list_tests";
        STARTUPINFOA si{sizeof si};
        ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                                   &si, &run));
    }
    auto kill = [](const PROCESS_INFORMATION& run) {
        TerminateProcess(run.hProcess, 1);
        WaitForSingleObject(run.hProcess, 10000);
    };
    kill(runs[1]);
    auto runFolder = [&](DWORD id) {
        const std::string folder = temp + "vmzip" + std::to_string(id) + "-1";
        CreateDirectoryA(folder.c_str(), nullptr);
        CreateDirectoryA((folder + "\\icons").c_str(), nullptr);
        vmtest::writeFile(folder + "\\icons\\a.ico", "member");
        return folder;
    };
    const std::string mine = vm::NewRunFolder(temp), live = runFolder(runs[0].dwProcessId),
                      killed = runFolder(runs[1].dwProcessId), unknown = runFolder(4000000000u);
    ASSERT_FALSE(mine.empty());
    const std::vector<std::string> strangers = {"vmzip", "vmzip-1", "vmzipx-1", "vmzip12-", "vmzip12-3x", "other"};
    for (const std::string& name : strangers) CreateDirectoryA((temp + name).c_str(), nullptr);
    vmtest::writeFile(temp + "vmzip99999-1.txt", "a file");

    vm::RemoveFoldersOfEndedRuns(temp);
    EXPECT_TRUE(vmtest::fileExists(mine));
    EXPECT_TRUE(vmtest::fileExists(live + "\\icons\\a.ico"));
    EXPECT_FALSE(vmtest::fileExists(killed));
    EXPECT_FALSE(vmtest::fileExists(unknown));
    for (const std::string& name : strangers) EXPECT_TRUE(vmtest::fileExists(temp + name)) << name;
    EXPECT_TRUE(vmtest::fileExists(temp + "vmzip99999-1.txt"));

    // The other run killed in turn: its folder goes at the next start.
    kill(runs[0]);
    vm::RemoveFoldersOfEndedRuns(temp);
    EXPECT_FALSE(vmtest::fileExists(live));
    EXPECT_TRUE(vmtest::fileExists(mine));
    for (const PROCESS_INFORMATION& run : runs) {
        CloseHandle(run.hThread);
        CloseHandle(run.hProcess);
    }
}
