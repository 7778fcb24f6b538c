#include "SystemClock.h"

#include <QTimer>

#include <algorithm>

namespace orvel {

namespace {

class QtAlarm final : public Clock::Alarm {
public:
    QtAlarm(std::chrono::milliseconds delay, std::function<void()> ring) {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [ring = std::move(ring)] { ring(); });
        timer_.start(delay);
    }

private:
    QTimer timer_;
};

// QTimer takes an int of milliseconds; a longer wait rings at this bound and arms again.
constexpr std::chrono::milliseconds longestArm{std::chrono::hours(24)};

}  // namespace

Date SystemClock::now() const { return Date::now(); }

Clock::Instant SystemClock::monotonicNow() const { return std::chrono::steady_clock::now(); }

std::unique_ptr<Clock::Alarm> SystemClock::arm(std::chrono::nanoseconds delay, std::function<void()> ring) {
    // Rounded up: a timer a fraction of a millisecond short would only ring early and re-arm.
    auto ms = std::chrono::ceil<std::chrono::milliseconds>(std::max(delay, std::chrono::nanoseconds::zero()));
    return std::make_unique<QtAlarm>(std::min(ms, longestArm), std::move(ring));
}

}  // namespace orvel
