#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <memory>
#include <vector>

#include "IntentFixtures.h"
#include "OrvelStore/VolumeCoalescer.h"
#include "testing/ManualClock.h"
#include "Support/Sleep.h"

using namespace orvel;
using namespace orvel::testing;
using namespace std::chrono_literals;

namespace {

using Ms = std::chrono::milliseconds;

// Every send takes `sendTime` on the manual clock and answers from the script (applied once
// it runs out). Times are kept in milliseconds since the test began.
class RecordingHost : public VolumeCoalescer::Host {
public:
    explicit RecordingHost(ManualClock& clock) : clock_(clock), start_(clock.monotonicNow()) {}

    struct Send {
        long at;
        VolumeTarget target;
        int volume;
        friend bool operator==(const Send&, const Send&) = default;
    };
    struct Hold {
        long at;
        int volume;
        double seconds;
        friend bool operator==(const Hold&, const Hold&) = default;
    };

    Ms sendTime{10};
    std::deque<VolumeCoalescer::Result> results;
    std::vector<Send> sends;
    std::vector<Hold> holds;
    std::vector<OrvelAlert> alerts;

    long now() const { return std::chrono::duration_cast<Ms>(clock_.monotonicNow() - start_).count(); }

    QCoro::Task<VolumeCoalescer::Result> sendVolume(SonosCommand command) override {
        const auto* set = command.asSetVolume();
        sends.push_back(Send{now(), set->target, set->volume.rawValue()});
        auto wait = sleepFor(clock_, sendTime);
        co_await std::move(wait);
        VolumeCoalescer::Result result = CommandOutcome::applied();
        if (!results.empty()) {
            result = results.front();
            results.pop_front();
        }
        co_return result;
    }
    void holdVolume(DiscreteVolume volume, const VolumeTarget&, double seconds) override {
        holds.push_back(Hold{now(), volume.rawValue(), seconds});
    }
    void report(OrvelAlert alert) override { alerts.push_back(std::move(alert)); }

private:
    ManualClock& clock_;
    Clock::Instant start_;
};

const VolumeTarget living = VolumeTarget::group(group('A'));
const VolumeTarget kitchen = VolumeTarget::speaker(sp('K'));

DiscreteVolume v(int percent) { return DiscreteVolume::snappingPercent(percent); }

TEST(VolumeCoalescer, SendsAreDebouncedPerTargetAndTheLatestValueWins) {
    struct Request {
        long at;
        VolumeTarget target;
        int volume;
    };
    struct Case {
        const char* name;
        Ms sendTime;
        std::vector<Request> requests;
        std::vector<RecordingHost::Send> expected;
    };
    std::vector<Request> tenWithin50ms;
    for (int i = 0; i < 10; ++i) tenWithin50ms.push_back({i * 5, living, 10 + i});
    const Case cases[] = {
        {"ten requests within 50 ms", 10ms, tenWithin50ms, {{75, living, 19}}},
        {"a request during a 200 ms send waits 75 ms after it", 200ms, {{0, living, 30}, {100, living, 40}},
         {{75, living, 30}, {350, living, 40}}},
        {"requests during a send collapse", 200ms,
         {{0, living, 30}, {100, living, 40}, {150, living, 45}, {270, living, 50}},
         {{75, living, 30}, {350, living, 50}}},
        {"targets do not wait for each other", 200ms, {{0, living, 30}, {30, kitchen, 40}, {40, living, 35}},
         {{75, living, 35}, {105, kitchen, 40}}},
        {"a request after the worker ended waits 75 ms again", 10ms, {{0, living, 30}, {500, living, 40}},
         {{75, living, 30}, {575, living, 40}}},
        {"the same value again is sent again", 10ms, {{0, living, 30}, {80, living, 30}},
         {{75, living, 30}, {160, living, 30}}},
    };
    for (const auto& c : cases) {
        ManualClock clock;
        RecordingHost host(clock);
        host.sendTime = c.sendTime;
        VolumeCoalescer coalescer(clock, host);
        for (const auto& request : c.requests) {
            clock.advance(Ms(request.at - host.now()));
            coalescer.request(v(request.volume), request.target);
        }
        clock.advance(5s);
        EXPECT_EQ(host.sends, c.expected) << c.name;
        EXPECT_FALSE(coalescer.isWorking(living)) << c.name;
        EXPECT_FALSE(coalescer.isWorking(kitchen)) << c.name;
        EXPECT_EQ(clock.pendingTimerCount(), 0u) << c.name;
    }
}

TEST(VolumeCoalescer, TheLatestRequestIsHeldTwoSecondsAndEachSendNotOvertakenOneAndAHalfFailedOrNot) {
    ManualClock clock;
    RecordingHost host(clock);
    host.sendTime = 200ms;
    const auto error = SonosCommandError::speakerUnreachable(sp('A'));
    host.results = {std::unexpected(error), std::unexpected(error)};
    VolumeCoalescer coalescer(clock, host);
    coalescer.request(v(30), living);
    clock.advance(100ms);
    coalescer.request(v(40), living);
    EXPECT_EQ(coalescer.pendingVolume(living), v(40));
    clock.advance(5s);
    const std::vector<RecordingHost::Hold> expected{
        {0, 30, 2.0}, {100, 40, 2.0}, {550, 40, 1.5}};
    EXPECT_EQ(host.holds, expected);
    EXPECT_EQ(coalescer.pendingVolume(living), std::nullopt);
    // The send of 30 returned while 40 waited, so 30 never showed again: a key press then steps
    // from 40. A failed send still leaves its alert.
    EXPECT_EQ(host.alerts, (std::vector{OrvelAlert::commandFailed(SonosCommand::setVolume(v(30), living), error),
                                        OrvelAlert::commandFailed(SonosCommand::setVolume(v(40), living), error)}));
}

TEST(VolumeCoalescer, AFailedOrPartialSendLeavesAnAlert) {
    const auto command = SonosCommand::setVolume(v(30), living);
    struct Case {
        const char* name;
        VolumeCoalescer::Result result;
        std::optional<OrvelAlert> expected;
    };
    const auto error = SonosCommandError::notConverged(Duration::seconds(std::int64_t{8}));
    const Case cases[] = {
        {"applied", CommandOutcome::applied(), std::nullopt},
        {"already satisfied", CommandOutcome::alreadySatisfied(), std::nullopt},
        {"partial", CommandOutcome::partiallyApplied({sp('B')}), OrvelAlert::partiallyApplied(command, {sp('B')})},
        {"failed", std::unexpected(error), OrvelAlert::commandFailed(command, error)},
    };
    for (const auto& c : cases) EXPECT_EQ(VolumeCoalescer::alertAfter(command, c.result), c.expected) << c.name;
}

TEST(VolumeCoalescer, WorkersOfAGoneCoalescerNeverReachTheHostAgain) {
    enum class Gone { whileWaiting, whileSending };
    for (auto when : {Gone::whileWaiting, Gone::whileSending}) {
        ManualClock clock;
        RecordingHost host(clock);
        host.sendTime = 200ms;
        auto coalescer = std::make_unique<VolumeCoalescer>(clock, host);
        coalescer->request(v(30), living);
        if (when == Gone::whileSending) clock.advance(100ms);
        coalescer.reset();
        const auto holdsBefore = host.holds.size();
        clock.advance(5s);
        EXPECT_EQ(host.sends.size(), when == Gone::whileSending ? 1u : 0u);
        EXPECT_EQ(host.holds.size(), holdsBefore);
        EXPECT_EQ(clock.pendingTimerCount(), 0u);
    }
}

}  // namespace
