// Two real processes: this test holds the mutex and plays the first instance,
// the helper plays a later start.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "instance.h"

using namespace vm::shell;

namespace {

std::vector<std::string> g_received;

LRESULT CALLBACK firstProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COPYDATA) {
        g_received.push_back(copyDataText(*reinterpret_cast<COPYDATASTRUCT*>(lp)));
        return 0;
    }
    if (msg == WM_TIMER) {
        KillTimer(hwnd, wp);
        procTagMainWindow(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

std::string helperPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1) + "handover_helper.exe";
}

// Runs the helper and pumps this thread's messages until it ends; its exit code.
int runSecond(const std::string& args) {
    std::string cmd = "\"";
    cmd += helperPath();
    cmd += "\" ";
    cmd += args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    for (;;) {
        DWORD r = MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 30000, QS_ALLINPUT);
        if (r != WAIT_OBJECT_0 + 1) break;
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    }
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

class SingleInstance : public testing::Test {
protected:
    void SetUp() override {
        g_received.clear();
        ASSERT_TRUE(procIsFirstInstance(kMutexName));
        WNDCLASSA wc{};
        wc.lpfnWndProc = firstProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VmFirstInstance";
        RegisterClassA(&wc);
        window = CreateWindowA("VmFirstInstance", "first", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr,
                               wc.hInstance, nullptr);
    }
    void TearDown() override {
        DestroyWindow(window);
        procReleaseInstanceMutex();
    }
    HWND window = nullptr;
};

} // namespace

TEST_F(SingleInstance, CommandLineIsHandedOverWhole) {
    procTagMainWindow(window);
    EXPECT_EQ(runSecond("2000 c:\\my icons\\a.ico"), static_cast<int>(HandOver::Sent));
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0], "c:\\my icons\\a.ico");
}

TEST_F(SingleInstance, EmptyCommandLineRaisesVisibleWindowWithoutMessage) {
    procTagMainWindow(window);
    ShowWindow(window, SW_SHOWMINNOACTIVE);
    EXPECT_EQ(runSecond("2000"), static_cast<int>(HandOver::Activated));
    EXPECT_TRUE(g_received.empty());
    EXPECT_FALSE(IsIconic(window));
}

TEST_F(SingleInstance, EmptyCommandLineToHiddenWindowSendsOneNulAndKeepsItHidden) {
    procTagMainWindow(window);
    EXPECT_EQ(runSecond("2000"), static_cast<int>(HandOver::Sent));
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0], "");
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(SingleInstance, NoTaggedWindowEndsAfterTheWait) {
    DWORD start = GetTickCount();
    EXPECT_EQ(runSecond("300 x.ico"), static_cast<int>(HandOver::NoWindow));
    EXPECT_LT(GetTickCount() - start, 10000u);
    EXPECT_TRUE(g_received.empty());
}

TEST_F(SingleInstance, StartingFirstInstanceStillGetsTheCommandLine) {
    SetTimer(window, 1, 700, nullptr); // the window is tagged while the second start waits
    EXPECT_EQ(runSecond("10000 late.ico"), static_cast<int>(HandOver::Sent));
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0], "late.ico");
}

TEST(SingleInstanceText, ArgumentsFollowTheProgramPath) {
    EXPECT_EQ(commandArguments("\"c:\\program files\\v.exe\"  a b"), "a b");
    EXPECT_EQ(commandArguments("v.exe a"), "a");
    EXPECT_EQ(commandArguments("v.exe"), "");
    char bytes[] = {'a', 'b', '\0', 'c'};
    COPYDATASTRUCT data{0, sizeof bytes, bytes};
    EXPECT_EQ(copyDataText(data), "ab");
    // UTF-8 from this version; the system's ANSI code page from an earlier one.
    std::string utf8 = "C:\\Ünïcødé 图标";
    COPYDATASTRUCT ours{0, static_cast<DWORD>(utf8.size()), utf8.data()};
    EXPECT_EQ(copyDataText(ours), utf8);
    char ansi[] = "C:\\\xDCn\xEF";
    COPYDATASTRUCT earlier{0, sizeof ansi, ansi};
    EXPECT_EQ(copyDataText(earlier), "C:\\Ünï");
}
