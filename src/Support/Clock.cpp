#include "Clock.h"

#include <utility>

#include "SystemClock.h"

namespace orvel {

struct Clock::Timer::State {
    Clock* clock = nullptr;
    Instant deadline;
    std::function<void()> fire;
    std::unique_ptr<Alarm> alarm;
};

Clock::Timer::Timer(std::unique_ptr<State> state) : state_(std::move(state)) {}
Clock::Timer::Timer() = default;
Clock::Timer::Timer(Timer&&) noexcept = default;
Clock::Timer& Clock::Timer::operator=(Timer&& other) noexcept {
    if (this != &other) state_ = std::move(other.state_);
    return *this;
}
Clock::Timer::~Timer() = default;

void Clock::Timer::cancel() { state_.reset(); }

bool Clock::Timer::isPending() const { return state_ && state_->fire; }

void Clock::Timer::ring(State* state) {
    const auto now = state->clock->monotonicNow();
    if (now < state->deadline) {
        // Woken early (a coarse backend timer): wait again for the rest. Replacing the alarm
        // from inside its own ring is allowed by the Alarm contract.
        state->alarm = state->clock->arm(state->deadline - now, [state] { ring(state); });
        return;
    }
    // The callback may destroy the Timer and with it this state, so nothing here touches the
    // state after the call.
    auto fire = std::exchange(state->fire, nullptr);
    if (fire) fire();
}

Clock::Timer Clock::schedule(std::chrono::nanoseconds delay, std::function<void()> fire) {
    return scheduleAt(monotonicNow() + delay, std::move(fire));
}

Clock::Timer Clock::scheduleAt(Instant deadline, std::function<void()> fire) {
    auto state = std::make_unique<Timer::State>();
    state->clock = this;
    state->deadline = deadline;
    state->fire = std::move(fire);
    auto* raw = state.get();
    const auto delay = std::max(deadline - monotonicNow(), std::chrono::nanoseconds::zero());
    state->alarm = arm(delay, [raw] { Timer::ring(raw); });
    return Timer(std::move(state));
}

Clock& Clock::system() {
    static SystemClock clock;
    return clock;
}

}  // namespace orvel
