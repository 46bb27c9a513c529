#pragma once
// When a long loop on the window's thread yields to the message loop: at once
// the first time it asks (so Esc is heard from the first item on, whatever the
// clock reads: the steady clock counts from boot), then once `every` has passed
// since it last yielded (zero: every time).
#include <chrono>
#include <optional>

namespace vm {

class YieldClock {
public:
    using Clock = std::chrono::steady_clock;

    std::chrono::milliseconds every{0};

    bool due(Clock::time_point now = Clock::now()) {
        if (every.count() > 0 && last_ && now - *last_ < every) return false;
        last_ = now;
        return true;
    }
    // The next ask yields at once, as at the start of a listing.
    void restart() { last_.reset(); }

private:
    std::optional<Clock::time_point> last_;
};

} // namespace vm
