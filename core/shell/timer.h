#pragma once
// A timer that fires once, on the user-interface thread, for a window.
#include <windows.h>

#include <functional>

namespace vm::shell {

class OneShotTimer {
public:
    ~OneShotTimer() { stop(); }
    void start(HWND window, UINT ms, std::function<void()> action);
    void stop();

private:
    static void CALLBACK fired(HWND, UINT, UINT_PTR, DWORD);
    HWND window_ = nullptr;
    std::function<void()> action_;
};

} // namespace vm::shell
