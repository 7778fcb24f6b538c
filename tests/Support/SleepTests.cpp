#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "Support/CancellationToken.h"
#include "testing/ManualClock.h"
#include "Support/Sleep.h"
#include "common/WaitFor.h"

using namespace orvel;
using namespace std::chrono_literals;

namespace {

// A manual clock whose backend rings 5% early, as Qt's coarse timers may: the deadline check
// above the backend must hold the wake-up back.
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

}  // namespace

TEST(Sleep, WakesExactlyAtItsDeadlineOrAtOnceWhenItHasPassed) {
    ManualClock clock;
    auto task = sleepFor(clock, 2s);
    clock.advance(1999ms);
    EXPECT_FALSE(task.isReady());
    clock.advance(1ms);
    EXPECT_TRUE(task.isReady());
    EXPECT_TRUE(sleepFor(clock, 0s).isReady());
    EXPECT_TRUE(sleepFor(clock, -3s).isReady());
    EXPECT_TRUE(sleepUntil(clock, clock.monotonicNow() - 1ns).isReady());
    EXPECT_EQ(clock.pendingTimerCount(), 0u);
}

TEST(Sleep, NeverWakesEarlyOnABackendThatRingsEarly) {
    const std::chrono::nanoseconds delays[] = {1ns, 1ms, 75ms, 2s, 3600s};
    for (auto delay : delays) {
        EarlyClock clock;
        CancellationSource source;
        auto plain = sleepFor(clock, delay);
        auto cancellable = sleepFor(clock, delay, source.token());
        clock.advance(delay - 1ns);
        EXPECT_FALSE(plain.isReady()) << delay.count();
        EXPECT_FALSE(cancellable.isReady()) << delay.count();
        if (delay >= 1ms) {
            EXPECT_GT(clock.rings, 0) << "the backend did ring early";
        }
        clock.advance(1ns);
        EXPECT_TRUE(plain.isReady()) << delay.count();
        ASSERT_TRUE(cancellable.isReady()) << delay.count();
        EXPECT_TRUE(waitForTask(std::move(cancellable)).value().has_value());
    }
    // Real sleeps too; only a lower bound is checked: an early wake is the fault, a late one is the scheduler.
    for (auto delay : {1ms, 7ms, 16ms}) {
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(waitForTask(sleepFor(Clock::system(), delay)));
        EXPECT_GE(std::chrono::steady_clock::now() - start, delay);
    }
}

TEST(Sleep, CancellationEndsTheSleepAtOnceAndDisarmsItsTimer) {
    enum class When { never, beforeStart, whileSleeping, afterWaking };
    for (When when : {When::never, When::beforeStart, When::whileSleeping, When::afterWaking}) {
        ManualClock clock;
        CancellationSource source;
        if (when == When::beforeStart) source.cancel();
        auto task = sleepFor(clock, 10s, source.token());
        clock.advance(4s);
        if (when == When::whileSleeping) {
            source.cancel();
            EXPECT_TRUE(task.isReady()) << "cancellation wakes the sleep inside cancel()";
            EXPECT_EQ(clock.pendingTimerCount(), 0u);
        }
        clock.advance(6s);
        if (when == When::afterWaking) source.cancel();
        ASSERT_TRUE(task.isReady());
        auto result = waitForTask(std::move(task));
        ASSERT_TRUE(result);
        const bool cancelled = when == When::beforeStart || when == When::whileSleeping;
        EXPECT_EQ(!result->has_value(), cancelled) << static_cast<int>(when);
    }

    // Destroying the source, or the source it is linked to, cancels too.
    ManualClock clock;
    auto owner = std::make_unique<CancellationSource>();
    CancellationSource operation(owner->token());
    auto ownSleep = sleepFor(clock, 1s, owner->token());
    auto operationSleep = sleepFor(clock, 1s, operation.token());
    owner.reset();
    EXPECT_TRUE(ownSleep.isReady());
    ASSERT_TRUE(operationSleep.isReady());
    EXPECT_FALSE(waitForTask(std::move(operationSleep)).value().has_value());
}
