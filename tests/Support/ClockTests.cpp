#include <gtest/gtest.h>

#include <chrono>
#include <utility>
#include <vector>

#include "Support/Clock.h"
#include "testing/ManualClock.h"

using namespace orvel;
using namespace std::chrono_literals;
using std::chrono::milliseconds;

namespace {
milliseconds since(const Clock& clock, Clock::Instant start) {
    return std::chrono::duration_cast<milliseconds>(clock.monotonicNow() - start);
}
}  // namespace

TEST(ManualClock, FiresLiveTimersInDeadlineThenArrivalOrderAtTheirDeadlines) {
    ManualClock clock;
    const auto start = clock.monotonicNow();
    struct Case { int id; milliseconds delay; };
    const Case cases[] = {{1, 30ms}, {2, 10ms}, {3, 20ms}, {4, 10ms}, {5, 0ms}};
    std::vector<std::pair<int, milliseconds>> fired;
    std::vector<Clock::Timer> timers;
    for (auto c : cases) {
        timers.push_back(clock.schedule(c.delay, [&, id = c.id] { fired.emplace_back(id, since(clock, start)); }));
    }
    // Cancelled or destroyed timers never fire.
    auto cancelled = clock.schedule(1ms, [&] { fired.emplace_back(-1, 0ms); });
    cancelled.cancel();
    { auto dropped = clock.schedule(1ms, [&] { fired.emplace_back(-2, 0ms); }); }
    EXPECT_TRUE(fired.empty()) << "never fires inside schedule()";
    EXPECT_EQ(clock.pendingTimerCount(), 5u);

    clock.advance(25ms);
    using Fired = std::vector<std::pair<int, milliseconds>>;
    EXPECT_EQ(fired, (Fired{{5, 0ms}, {2, 10ms}, {4, 10ms}, {3, 20ms}}));
    EXPECT_EQ(since(clock, start), 25ms);
    EXPECT_TRUE(timers[0].isPending());
    EXPECT_FALSE(timers[1].isPending());

    clock.advance(5ms);
    EXPECT_EQ(fired.back(), std::pair(1, 30ms));
    EXPECT_EQ(clock.pendingTimerCount(), 0u);
}

TEST(ManualClock, TimersScheduledByTimersFireWithinTheSameAdvance) {
    // A sweep every 3 s: each run schedules the next from its own firing time.
    ManualClock clock;
    const auto start = clock.monotonicNow();
    std::vector<milliseconds> runs;
    Clock::Timer timer;
    std::function<void()> sweep = [&] {
        runs.push_back(since(clock, start));
        timer = clock.schedule(3s, sweep);
    };
    timer = clock.schedule(3s, sweep);
    clock.advance(10s);
    EXPECT_EQ(runs, (std::vector<milliseconds>{3s, 6s, 9s}));
    EXPECT_EQ(clock.nextDeadline(), start + 12s);
    EXPECT_TRUE(clock.advanceToNextTimer());
    EXPECT_EQ(runs.back(), 12s);
}

TEST(ManualClock, WallTimeFollowsMonotonicTimeUntilSetByHand) {
    ManualClock clock(Date::sinceReferenceDate(1000));
    const auto start = clock.monotonicNow();
    clock.advance(1500ms);
    EXPECT_DOUBLE_EQ(clock.now().secondsSinceReferenceDate(), 1001.5);
    clock.advance(-5s);
    EXPECT_EQ(clock.monotonicNow(), start + 1500ms) << "monotonic time never goes back";

    int fired = 0;
    auto timer = clock.schedule(2s, [&] { ++fired; });
    clock.setWallTime(Date::sinceReferenceDate(0));
    EXPECT_EQ(fired, 0) << "a wall clock jump moves no deadline";
    EXPECT_EQ(clock.monotonicNow(), start + 1500ms);
    clock.advance(2s);
    EXPECT_EQ(fired, 1);
    EXPECT_DOUBLE_EQ(clock.now().secondsSinceReferenceDate(), 2.0);
}
