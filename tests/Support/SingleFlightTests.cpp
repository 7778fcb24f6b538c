#include <gtest/gtest.h>

#include <expected>
#include <stdexcept>
#include <string>
#include <vector>

#include "testing/ManualClock.h"
#include "Support/SingleFlight.h"
#include "Support/Sleep.h"
#include "common/WaitFor.h"

using namespace orvel;
using namespace std::chrono_literals;

namespace {

using Result = std::expected<int, std::string>;

enum class Outcome { value, error, exception };

// Takes a second, then yields the next count, an error value or an exception.
QCoro::Task<Result> slowFetch(Clock& clock, int* starts, Outcome outcome) {
    ++*starts;
    co_await sleepFor(clock, 1s);
    if (outcome == Outcome::exception) throw std::runtime_error("socket closed");
    if (outcome == Outcome::error) co_return std::unexpected(std::string("refused"));
    co_return *starts;
}

}  // namespace

TEST(SingleFlight, CallersDuringAFlightShareItsOutcome) {
    struct Case { Outcome outcome; };
    for (auto c : {Case{Outcome::value}, Case{Outcome::error}, Case{Outcome::exception}}) {
        ManualClock clock;
        SingleFlight<Result> flight;
        int starts = 0;
        auto fetch = [&clock, &starts, c] { return slowFetch(clock, &starts, c.outcome); };
        std::vector<QCoro::Task<Result>> callers;
        callers.push_back(flight.run(fetch));
        clock.advance(500ms);
        callers.push_back(flight.run(fetch));
        callers.push_back(flight.run(fetch));
        EXPECT_TRUE(flight.isRunning());
        EXPECT_EQ(starts, 1);

        clock.advance(500ms);
        EXPECT_FALSE(flight.isRunning());
        for (auto& caller : callers) {
            ASSERT_TRUE(caller.isReady());
            switch (c.outcome) {
                case Outcome::value: EXPECT_EQ(waitForTask(std::move(caller)).value(), Result(1)); break;
                case Outcome::error:
                    EXPECT_EQ(waitForTask(std::move(caller)).value(), Result(std::unexpected("refused")));
                    break;
                case Outcome::exception: EXPECT_THROW(waitForTask(std::move(caller)), std::runtime_error); break;
            }
        }

        // A caller after the outcome starts a new flight.
        auto later = flight.run(fetch);
        EXPECT_EQ(starts, 2);
        clock.advance(1s);
        EXPECT_TRUE(later.isReady());
    }
}

TEST(SingleFlight, AnOperationThatFinishesAtOnceLeavesNothingInFlight) {
    SingleFlight<int> flight;
    auto immediate = [] { return []() -> QCoro::Task<int> { co_return 7; }(); };
    auto first = flight.run(immediate);
    ASSERT_TRUE(first.isReady());
    EXPECT_FALSE(flight.isRunning());
    EXPECT_EQ(waitForTask(std::move(first)), 7);
    EXPECT_EQ(waitForTask(flight.run(immediate)), 7);
}
