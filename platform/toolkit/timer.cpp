#include "timer.h"

#include "eventerror.h"
#include "form.h"

#include <map>

namespace vm {

namespace {
std::map<UINT_PTR, TimerControl*>& running() {
    static std::map<UINT_PTR, TimerControl*> timers;
    return timers;
}
} // namespace

TimerControl::~TimerControl() { stop(); }

void TimerControl::create(Window& parent, int interval, bool enabled) {
    parent.hWnd();
    interval_ = interval;
    enabled_ = enabled;
    live_ = true;
    restart();
}

void TimerControl::SetInterval(int milliseconds) {
    hWnd(); // a timer of a form that is not loaded loads it
    interval_ = milliseconds;
    restart();
}

void TimerControl::SetEnabled(bool enabled) {
    hWnd();
    enabled_ = enabled;
    restart();
}

void TimerControl::stop() {
    if (!id_) return;
    KillTimer(nullptr, id_);
    running().erase(id_);
    id_ = 0;
}

void TimerControl::restart() {
    stop();
    if (!live_ || !enabled_ || interval_ <= 0) return;
    id_ = SetTimer(nullptr, 0, static_cast<UINT>(interval_), tick);
    if (id_) running()[id_] = this;
}

void CALLBACK TimerControl::tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = running().find(id);
    if (found == running().end() || !found->second->Timer) return;
    try {
        found->second->Timer();
    } catch (const std::exception& error) {
        ReportEventError(error);
    }
}

void TimerControl::reset() {
    Control::reset();
    stop();
    live_ = false;
}

} // namespace vm
