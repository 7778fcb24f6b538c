#include "ManualClock.h"

#include <algorithm>

namespace orvel {

class ManualClock::QueuedAlarm final : public Clock::Alarm {
public:
    QueuedAlarm(std::weak_ptr<Queue> queue, Key key) : queue_(std::move(queue)), key_(key) {}
    ~QueuedAlarm() override {
        if (auto queue = queue_.lock()) queue->alarms.erase(key_);
    }

private:
    std::weak_ptr<Queue> queue_;
    Key key_;
};

ManualClock::ManualClock(Date wallStart, Instant monotonicStart)
    : wall_(wallStart), monotonic_(monotonicStart), queue_(std::make_shared<Queue>()) {}

ManualClock::~ManualClock() = default;

Date ManualClock::now() const { return wall_; }

Clock::Instant ManualClock::monotonicNow() const { return monotonic_; }

void ManualClock::moveTo(Instant instant) {
    if (instant <= monotonic_) return;
    wall_ = wall_.addingSeconds(std::chrono::duration<double>(instant - monotonic_).count());
    monotonic_ = instant;
}

void ManualClock::advance(std::chrono::nanoseconds step) {
    const auto target = monotonic_ + std::max(step, std::chrono::nanoseconds::zero());
    // The queue is looked up afresh each round: a callback may schedule, cancel or even
    // advance the clock itself.
    auto queue = queue_;
    while (!queue->alarms.empty()) {
        auto first = queue->alarms.begin();
        if (first->first.first > target) break;
        moveTo(first->first.first);
        auto ring = std::move(first->second);
        queue->alarms.erase(first);
        ring();
    }
    moveTo(target);
}

bool ManualClock::advanceToNextTimer() {
    auto next = nextDeadline();
    if (!next) return false;
    advance(std::max(*next - monotonic_, std::chrono::nanoseconds::zero()));
    return true;
}

void ManualClock::setWallTime(Date wall) { wall_ = wall; }

std::size_t ManualClock::pendingTimerCount() const { return queue_->alarms.size(); }

std::optional<Clock::Instant> ManualClock::nextDeadline() const {
    if (queue_->alarms.empty()) return std::nullopt;
    return queue_->alarms.begin()->first.first;
}

std::unique_ptr<Clock::Alarm> ManualClock::arm(std::chrono::nanoseconds delay, std::function<void()> ring) {
    Key key{monotonic_ + std::max(delay, std::chrono::nanoseconds::zero()), queue_->nextSequence++};
    queue_->alarms.emplace(key, std::move(ring));
    return std::make_unique<QueuedAlarm>(queue_, key);
}

}  // namespace orvel
