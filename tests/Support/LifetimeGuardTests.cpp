#include <chrono>
#include <optional>

#include <gtest/gtest.h>

#include "Support/LifetimeGuard.h"
#include "testing/ManualClock.h"
#include "Support/Sleep.h"

using namespace orvel;
using namespace std::chrono_literals;

namespace {

struct Owner {
    int refreshes = 0;
    LifetimeGuard<Owner> lifetime{this};
};

enum class Ending { none, refreshed, ownerGone };

QCoro::Task<> refreshLater(LifetimeGuard<Owner>::Token self, Clock& clock, Ending& ending) {
    auto sleeping = sleepFor(clock, 1s, self.ended());
    const auto slept = co_await std::move(sleeping);
    if (!slept || !self) {
        ending = Ending::ownerGone;
        co_return;
    }
    ++self->refreshes;
    ending = Ending::refreshed;
}

}  // namespace

TEST(LifetimeGuard, ASleepingTaskEndsWhenItsOwnerGoesAndRunsOnWhileItStays) {
    struct Case {
        const char* name;
        bool ownerGoes;
        Ending expected;
    };
    const Case cases[] = {{"owner stays", false, Ending::refreshed}, {"owner goes", true, Ending::ownerGone}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ManualClock clock;
        std::optional<Owner> owner(std::in_place);
        Ending ending = Ending::none;
        auto token = owner->lifetime.token();
        refreshLater(token, clock, ending);
        clock.advance(500ms);
        EXPECT_EQ(ending, Ending::none);
        if (c.ownerGoes) {
            owner.reset();
            EXPECT_EQ(ending, c.expected) << "woken at once, not at its deadline";
            EXPECT_FALSE(token);
            EXPECT_EQ(clock.pendingTimerCount(), 0u);
        } else {
            clock.advance(500ms);
            EXPECT_EQ(ending, c.expected);
            EXPECT_EQ(owner->refreshes, 1);
        }
    }
}
