#pragma once
// The timer: raises Timer every Interval milliseconds while Enabled and its
// form is loaded (Interval 0 never fires). Timer events arrive through the
// message loop, also while DoEvents pumps messages.
#include "control.h"

namespace vm {

class TimerControl : public Control {
public:
    explicit TimerControl(Form* owner) : Control(owner) {}
    ~TimerControl() override;
    void create(Window& parent, int interval = 0, bool enabled = true);

    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    std::function<void()> Timer;

    void reset() override;

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD);
    void restart();
    void stop();
    int interval_ = 0;
    bool enabled_ = true;
    bool live_ = false;
    UINT_PTR id_ = 0;
};

} // namespace vm
