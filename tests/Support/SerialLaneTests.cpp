#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "testing/ManualClock.h"
#include "Support/SerialLane.h"
#include "Support/Sleep.h"
#include "common/WaitFor.h"

using namespace orvel;
using namespace std::chrono_literals;
using std::chrono::milliseconds;

namespace {

struct Log {
    std::vector<std::string> events;
};

// Records its start, sleeps (or not), records its end, and returns its name.
QCoro::Task<std::string> step(Clock& clock, Log& log, std::string name, milliseconds duration) {
    log.events.push_back(name + "+");
    if (duration > 0ms) co_await sleepFor(clock, duration);
    log.events.push_back(name + "-");
    co_return name;
}

}  // namespace

TEST(SerialLane, OperationsRunOneAtATimeInArrivalOrder) {
    ManualClock clock;
    SerialLane lane;
    Log log;
    struct Case { const char* name; milliseconds duration; };
    const Case cases[] = {{"a", 30ms}, {"b", 10ms}, {"c", 0ms}, {"d", 20ms}};
    std::vector<QCoro::Task<std::string>> callers;
    for (auto c : cases) {
        callers.push_back(lane.run([&clock, &log, c] { return step(clock, log, c.name, c.duration); }));
    }
    EXPECT_EQ(log.events, (std::vector<std::string>{"a+"})) << "only the first has started";
    EXPECT_EQ(lane.pendingCount(), 4u);

    // One that arrives while others wait goes behind all of them.
    clock.advance(15ms);
    callers.push_back(lane.run([&clock, &log] { return step(clock, log, "e", 0ms); }));

    while (!lane.isIdle()) ASSERT_TRUE(clock.advanceToNextTimer());
    EXPECT_EQ(log.events, (std::vector<std::string>{"a+", "a-", "b+", "b-", "c+", "c-", "d+", "d-", "e+", "e-"}));
    const char* names[] = {"a", "b", "c", "d", "e"};
    for (std::size_t i = 0; i < callers.size(); ++i) {
        ASSERT_TRUE(callers[i].isReady());
        EXPECT_EQ(waitForTask(std::move(callers[i])), names[i]);
    }
}

TEST(SerialLane, AFailedOperationReachesOnlyItsCallerAndTheLaneGoesOn) {
    ManualClock clock;
    SerialLane lane;
    Log log;
    auto failing = lane.run([&clock]() { return [](Clock& c) -> QCoro::Task<int> {
        co_await sleepFor(c, 1s);
        throw std::runtime_error("fault");
    }(clock); });
    auto next = lane.run([&clock, &log] { return step(clock, log, "next", 1s); });
    clock.advance(2s);
    ASSERT_TRUE(failing.isReady());
    EXPECT_THROW(waitForTask(std::move(failing)), std::runtime_error);
    EXPECT_EQ(waitForTask(std::move(next)), "next");
}

TEST(SerialLane, ALongQueueOfImmediateOperationsDoesNotNestOnTheStack) {
    ManualClock clock;
    SerialLane lane;
    Log log;
    auto slow = lane.run([&clock, &log] { return step(clock, log, "slow", 1s); });
    constexpr int count = 50'000;
    int finished = 0;
    for (int i = 0; i < count; ++i) {
        lane.run([&finished, i]() -> QCoro::Task<> {
            return [](int* done, int index) -> QCoro::Task<> {
                if (*done != index) throw std::logic_error("out of order");
                ++*done;
                co_return;
            }(&finished, i);
        });
    }
    clock.advance(1s);
    EXPECT_EQ(finished, count);
    EXPECT_TRUE(lane.isIdle());
}

TEST(SerialLane, QueuedOperationsStillRunWhenTheLaneIsDestroyed) {
    ManualClock clock;
    Log log;
    auto lane = std::make_unique<SerialLane>();
    auto first = lane->run([&clock, &log] { return step(clock, log, "first", 1s); });
    auto second = lane->run([&clock, &log] { return step(clock, log, "second", 1s); });
    lane.reset();
    clock.advance(2s);
    EXPECT_TRUE(first.isReady());
    EXPECT_TRUE(second.isReady());
    EXPECT_EQ(log.events, (std::vector<std::string>{"first+", "first-", "second+", "second-"}));
}
