#pragma once

// A clock for tests that moves only when the test says so. advance() fires every timer that
// comes due, in deadline order, with the clock standing at each timer's deadline while it
// fires, so a coroutine sleeping on this clock resumes inside advance() and the test can check
// the outcome on the next line, with no event loop and no real waiting.

#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "Support/Clock.h"

namespace orvel {

class ManualClock : public Clock {
public:
    explicit ManualClock(Date wallStart = Date::fromUnix(1'700'000'000.0),
                         Instant monotonicStart = Instant(std::chrono::hours(1)));
    ~ManualClock() override;
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    Date now() const override;
    Instant monotonicNow() const override;

    // Moves wall and monotonic time forward together; a negative step counts as zero. Timers
    // due by the end fire, including ones scheduled by other timers' callbacks. A timer
    // scheduled for "now" fires on the next advance, advance(0) included.
    void advance(std::chrono::nanoseconds step);
    // Advances to the earliest pending deadline and fires what is due then. False when no
    // timer is pending.
    bool advanceToNextTimer();
    // Changes only the wall time (the user set the system clock); deadlines are unaffected.
    void setWallTime(Date wall);

    std::size_t pendingTimerCount() const;
    std::optional<Instant> nextDeadline() const;

protected:
    std::unique_ptr<Alarm> arm(std::chrono::nanoseconds delay, std::function<void()> ring) override;

private:
    using Key = std::pair<Instant, std::uint64_t>;  // deadline, then arrival order
    struct Queue {
        std::map<Key, std::function<void()>> alarms;
        std::uint64_t nextSequence = 0;
    };
    class QueuedAlarm;

    void moveTo(Instant instant);

    Date wall_;
    Instant monotonic_;
    // Shared with the alarms, which may outlive the clock in a careless test.
    std::shared_ptr<Queue> queue_;
};

}  // namespace orvel
