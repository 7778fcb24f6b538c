#pragma once

// A manual clock whose backend rings 5% early, as Qt's coarse timers may: the deadline check
// above the backend must hold the wake-up back.

#include "Support/ManualClock.h"

namespace orvel {

class EarlyClock final : public ManualClock {
public:
    int rings = 0;

protected:
    std::unique_ptr<Alarm> arm(std::chrono::nanoseconds delay, std::function<void()> ring) override {
        return ManualClock::arm(delay - delay / 20, [this, ring = std::move(ring)] {
            ++rings;
            ring();
        });
    }
};

}  // namespace orvel
