#pragma once

// The time source every service takes instead of reading the system clocks directly: wall time
// for what is shown and stored, monotonic time for deadlines and throttles, and timers that run
// on the same time base. Production code passes Clock::system(); tests pass a ManualClock and
// advance it by hand, so time-outs and throttles are tested without sleeping.

#include <chrono>
#include <functional>
#include <memory>

#include "OrvelDomain/Date.h"

namespace orvel {

class Clock {
public:
    // A point on the monotonic time line. Only differences between instants of one clock mean
    // anything.
    using Instant = std::chrono::steady_clock::time_point;

    // A pending call scheduled on a clock. Destroying the timer (or cancel()) stops it; it never
    // fires before its deadline on the clock's monotonic time and fires at most once.
    class Timer {
    public:
        Timer();
        Timer(Timer&&) noexcept;
        Timer& operator=(Timer&&) noexcept;
        Timer(const Timer&) = delete;
        Timer& operator=(const Timer&) = delete;
        ~Timer();

        void cancel();
        bool isPending() const;

    private:
        friend class Clock;
        struct State;
        explicit Timer(std::unique_ptr<State> state);
        static void ring(State* state);
        std::unique_ptr<State> state_;
    };

    virtual ~Clock() = default;

    virtual Date now() const = 0;
    virtual Instant monotonicNow() const = 0;

    // Calls `fire` from this thread's event loop (a ManualClock: from advance()) once the
    // monotonic time has reached the deadline. Never calls it from inside schedule(), even for
    // a deadline already passed.
    // The clock must outlive the timer.
    [[nodiscard]] Timer schedule(std::chrono::nanoseconds delay, std::function<void()> fire);
    [[nodiscard]] Timer scheduleAt(Instant deadline, std::function<void()> fire);

    // The process's real clocks, with precise timers.
    static Clock& system();

    // A raw timer of a backend. Destroying it cancels it, also from inside its own ring.
    class Alarm {
    public:
        virtual ~Alarm() = default;
    };

protected:
    // Calls `ring` once, roughly `delay` from now (never synchronously). A backend may ring
    // early: Timer checks the deadline and arms again for the rest.
    virtual std::unique_ptr<Alarm> arm(std::chrono::nanoseconds delay, std::function<void()> ring) = 0;
};

}  // namespace orvel
