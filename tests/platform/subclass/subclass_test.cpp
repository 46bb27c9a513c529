#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "subclass.h"

using namespace vm;

namespace {

std::vector<std::string> g_log; // who saw which message, in order

LRESULT CALLBACK ownProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COPYDATA || msg == WM_USER + 1) {
        g_log.push_back("window " + std::to_string(msg));
        return 77;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class Client : public ISubclass {
public:
    explicit Client(std::string name, EMsgResponse response = emrPostProcess) : name_(std::move(name)), response_(response) {}
    EMsgResponse MsgResponse() const override { return response_; }
    void MsgResponse(EMsgResponse) override {}
    LRESULT WindowProc(HWND, UINT msg, WPARAM, LPARAM lParam) override {
        std::string entry = name_;
        entry += ' ';
        entry += std::to_string(msg);
        if (msg == WM_COPYDATA) {
            auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            entry += ' ';
            entry.append(static_cast<const char*>(data->lpData), data->cbData);
        }
        g_log.push_back(entry);
        return 5;
    }

private:
    std::string name_;
    EMsgResponse response_;
};

class SubclassTest : public testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        WNDCLASSA wc{};
        wc.lpfnWndProc = ownProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VellumarSubclassTest";
        RegisterClassA(&wc);
        window = CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                               nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        if (IsWindow(window)) DestroyWindow(window);
    }
    LRESULT sendCopyData(const std::string& text) {
        COPYDATASTRUCT data{0, static_cast<DWORD>(text.size()), const_cast<char*>(text.data())};
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 5000, &result);
        return static_cast<LRESULT>(result);
    }
    HWND window = nullptr;
};

TEST_F(SubclassTest, ClientReadsCopyDataBeforeTheWindowHandlesIt) {
    Client main("main");
    ASSERT_TRUE(AttachMessage(&main, window, WM_COPYDATA));
    EXPECT_EQ(sendCopyData("C:\\a b.ico"), 77);
    EXPECT_EQ(g_log, (std::vector<std::string>{"main 74 C:\\a b.ico", "window 74"}));

    g_log.clear();
    DetachMessage(&main, window, WM_COPYDATA);
    EXPECT_EQ(sendCopyData("x"), 77);
    EXPECT_EQ(g_log, (std::vector<std::string>{"window 74"}));
    DetachMessage(&main, window, WM_COPYDATA); // twice is harmless
}

TEST_F(SubclassTest, SeveralClientsAndMessagesOnOneWindow) {
    Client a("a"), b("b");
    AttachMessage(&a, window, WM_COPYDATA);
    AttachMessage(&a, window, WM_USER + 1);
    AttachMessage(&a, window, WM_USER + 1); // delivered once all the same
    AttachMessage(&b, window, WM_USER + 1);
    sendCopyData("x");
    SendMessageA(window, WM_USER + 1, 0, 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"a 74 x", "window 74", "a 1025", "b 1025", "window 1025"}));

    g_log.clear();
    DetachMessage(&a, window, WM_USER + 1);
    SendMessageA(window, WM_USER + 1, 0, 0);
    sendCopyData("y");
    EXPECT_EQ(g_log, (std::vector<std::string>{"b 1025", "window 1025", "a 74 y", "window 74"}));
    EXPECT_EQ(GetWindowTextLengthA(window), 0); // other messages still reach the window
    SetWindowTextA(window, "still works");
    EXPECT_EQ(GetWindowTextLengthA(window), 11);
}

TEST_F(SubclassTest, ConsumingClientAnswersAlone) {
    Client eater("eater", emrConsume);
    AttachMessage(&eater, window, WM_USER + 1);
    EXPECT_EQ(SendMessageA(window, WM_USER + 1, 0, 0), 5);
    EXPECT_EQ(g_log, (std::vector<std::string>{"eater 1025"}));
}

WNDPROC g_outerNext = nullptr;
LRESULT CALLBACK outerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER + 1) g_log.push_back("outer");
    return CallWindowProcA(g_outerNext, hwnd, msg, wParam, lParam);
}

TEST_F(SubclassTest, DetachingLeavesTheChainOfProceduresWhole) {
    const auto ownProcedure = GetWindowLongPtrA(window, GWLP_WNDPROC);
    Client a("a");
    AttachMessage(&a, window, WM_USER + 1);
    DetachMessage(&a, window, WM_USER + 1);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), ownProcedure); // nothing came in front since

    // Another procedure put in front of the hook keeps working after the
    // last client has gone, and so does the hook when a client comes back.
    AttachMessage(&a, window, WM_USER + 1);
    g_outerNext = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&outerProc)));
    DetachMessage(&a, window, WM_USER + 1);
    EXPECT_EQ(SendMessageA(window, WM_USER + 1, 0, 0), 77);
    AttachMessage(&a, window, WM_USER + 1);
    EXPECT_EQ(SendMessageA(window, WM_USER + 1, 0, 0), 77);
    EXPECT_EQ(g_log, (std::vector<std::string>{"outer", "window 1025", "outer", "a 1025", "window 1025"}));
    DestroyWindow(window);
}

TEST_F(SubclassTest, DestroyedWindowLetsGoOfItsClients) {
    Client main("main");
    AttachMessage(&main, window, WM_DESTROY);
    DestroyWindow(window);
    EXPECT_EQ(g_log, (std::vector<std::string>{"main 2"}));
    DetachMessage(&main, window, WM_DESTROY); // the window is gone; nothing left to undo
    EXPECT_FALSE(AttachMessage(&main, window, WM_COPYDATA));
}

} // namespace
