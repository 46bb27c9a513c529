#include "timer.h"

#include <map>

namespace vm::shell {

namespace {
std::map<UINT_PTR, OneShotTimer*>& running() {
    static std::map<UINT_PTR, OneShotTimer*> timers;
    return timers;
}
UINT_PTR idOf(const OneShotTimer* timer) { return reinterpret_cast<UINT_PTR>(timer); }
} // namespace

void OneShotTimer::start(HWND window, UINT ms, std::function<void()> action) {
    stop();
    window_ = window;
    action_ = std::move(action);
    running()[idOf(this)] = this;
    SetTimer(window, idOf(this), ms, fired);
}

void OneShotTimer::stop() {
    if (!window_) return;
    KillTimer(window_, idOf(this));
    running().erase(idOf(this));
    window_ = nullptr;
}

void CALLBACK OneShotTimer::fired(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = running().find(id);
    if (found == running().end()) return;
    OneShotTimer* timer = found->second;
    std::function<void()> action = std::move(timer->action_);
    timer->stop();
    if (action) action();
}

} // namespace vm::shell
