#pragma once

// The real clocks: wall time from the system clock, monotonic time from the steady clock, and
// timers as precise Qt timers on the calling thread's event loop. Qt's default (coarse) timers
// may fire up to 5% early; precise ones keep to the millisecond, and Clock::Timer re-checks
// the deadline anyway.

#include "Clock.h"

namespace orvel {

class SystemClock final : public Clock {
public:
    Date now() const override;
    Instant monotonicNow() const override;

protected:
    std::unique_ptr<Alarm> arm(std::chrono::nanoseconds delay, std::function<void()> ring) override;
};

}  // namespace orvel
