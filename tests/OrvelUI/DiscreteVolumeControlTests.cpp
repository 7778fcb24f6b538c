#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include <QSignalSpy>

#include "OrvelUI/playback/DiscreteVolumeControl.h"
#include "testing/ManualClock.h"

using namespace orvel;
using namespace std::chrono_literals;

namespace {

// A control showing `volume` that records what it commits and when it ticks.
struct Harness {
    explicit Harness(int volume) {
        control.setVolume(volume);
        QObject::connect(&control, &DiscreteVolumeControl::change, [this](int p) { changes.push_back(p); });
        QObject::connect(&control, &DiscreteVolumeControl::tick, [this] { ++ticks; });
    }
    ManualClock clock;
    DiscreteVolumeControl control{clock};
    std::vector<int> changes;
    int ticks = 0;
};

}  // namespace

TEST(DiscreteVolumeControl, DragCommitsEachNewStepAndThrottlesTicks) {
    struct Case {
        const char* name;
        std::vector<double> positions;
        std::chrono::milliseconds gap;
        std::vector<int> changes;
        int ticks;
    };
    const Case cases[] = {
        {"slow drag, fast reports", {30.2, 31, 31.4, 32, 33, 34, 35}, 20ms, {31, 32, 33, 34, 35}, 2},
        {"gap of exactly the tick interval", {31, 32, 33}, 55ms, {31, 32, 33}, 3},
        {"jump", {35}, 20ms, {35}, 1},
    };
    for (const Case& c : cases) {
        Harness h(30);
        h.control.setEditing(true);
        for (double position : c.positions) {
            h.control.setSliderValue(position);
            h.clock.advance(c.gap);
        }
        EXPECT_EQ(h.changes, c.changes) << c.name;
        EXPECT_EQ(h.ticks, c.ticks) << c.name;
    }
}

TEST(DiscreteVolumeControl, SliderPositionsRoundAndClamp) {
    struct Case {
        int shown;
        double position;
        std::vector<int> changes;
    };
    const Case cases[] = {
        {30, 49.5, {50}},
        {30, 49.49, {49}},
        {49, 48.6, {}},
        {30, -3, {0}},
        {30, 140, {100}},
        {30, std::numeric_limits<double>::quiet_NaN(), {}},
        {30, std::numeric_limits<double>::infinity(), {}},
    };
    for (const Case& c : cases) {
        Harness h(c.shown);
        h.control.setSliderValue(c.position);
        EXPECT_EQ(h.changes, c.changes) << c.position;
    }
}

TEST(DiscreteVolumeControl, StepButtonsStopAtTheEnds) {
    Harness low(0);
    EXPECT_FALSE(low.control.canDecrease());
    low.control.stepDown();
    EXPECT_TRUE(low.changes.empty());

    Harness high(99);
    high.control.stepUp();
    EXPECT_EQ(high.changes, std::vector<int>{100});
    EXPECT_FALSE(high.control.canIncrease());
    high.control.stepUp();
    EXPECT_EQ(high.changes.size(), 1u);
}

// Each arrow press is one whole step, as a button press is; other keys go on to the slider.
TEST(DiscreteVolumeControl, ArrowKeysStepOnePercentAPress) {
    struct Case {
        const char* name;
        int shown;
        std::vector<int> keys;
        bool mirrored;
        std::vector<int> changes;
        bool taken;
    };
    const Case cases[] = {
        {"up three times, down once", 30, {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Down}, false, {31, 32, 33, 32}, true},
        {"right and left", 30, {Qt::Key_Right, Qt::Key_Left, Qt::Key_Left}, false, {31, 30, 29}, true},
        {"right to left", 30, {Qt::Key_Right, Qt::Key_Left, Qt::Key_Up}, true, {29, 30, 31}, true},
        {"up at the top", 100, {Qt::Key_Up}, false, {}, true},
        {"down at the bottom", 0, {Qt::Key_Down, Qt::Key_Left}, false, {}, true},
        {"space is the slider's own", 30, {Qt::Key_Space}, false, {}, false},
    };
    for (const Case& c : cases) {
        Harness h(c.shown);
        bool taken = true;
        for (int key : c.keys) taken = h.control.pressKey(key, c.mirrored) && taken;
        EXPECT_EQ(h.changes, c.changes) << c.name;
        EXPECT_EQ(taken, c.taken) << c.name;
    }
}

TEST(DiscreteVolumeControl, CommittedValueHoldsUntilTheOwnerCatchesUpOrTheHoldEnds) {
    struct Case {
        const char* name;
        std::chrono::nanoseconds after;
        int owner;
        bool editing;
        int shown;
    };
    const Case cases[] = {
        {"owner catches up", 100ms, 60, false, 60},
        {"older reading within the hold", 500ms, 55, false, 60},
        {"older reading at exactly the hold", 1200ms, 55, false, 60},
        {"owner wins after the hold", 1200ms + 1ns, 55, false, 55},
        {"owner ignored while dragging", 5s, 55, true, 60},
    };
    for (const Case& c : cases) {
        Harness h(40);
        h.control.setEditing(c.editing);
        h.control.setSliderValue(60);
        h.clock.advance(c.after);
        h.control.setVolume(c.owner);
        EXPECT_EQ(h.control.shownPercent(), c.shown) << c.name;
    }

    // Caught up: a later owner change shows at once.
    Harness h(40);
    h.control.setSliderValue(60);
    h.control.setVolume(60);
    h.control.setVolume(45);
    EXPECT_EQ(h.control.shownPercent(), 45);
}

// Only the owner's value settles a committed one: a slider held still past the hold keeps its
// step when released.
TEST(DiscreteVolumeControl, EndOfDragLeavesTheCommittedValue) {
    for (const auto heldFor : {std::chrono::nanoseconds(1s), std::chrono::nanoseconds(5s)}) {
        Harness h(40);
        h.control.setEditing(true);
        h.control.setSliderValue(60);
        h.clock.advance(heldFor);
        QSignalSpy shown(&h.control, &DiscreteVolumeControl::shownChanged);
        h.control.setEditing(false);
        EXPECT_EQ(h.control.shownPercent(), 60) << heldFor.count();
        EXPECT_EQ(shown.count(), 0) << heldFor.count();
    }
}

// One control is rebound from group to group: a step committed for the first never shows for
// the second, nor is the next step counted from it, whichever binding updates first.
TEST(DiscreteVolumeControl, ANewOwnerStartsAfresh) {
    struct Case {
        const char* name;
        bool ownerFirst;
        bool editing;
    };
    const Case cases[] = {
        {"owner then volume", true, false},
        {"volume then owner", false, false},
        {"owner changes mid-drag", true, true},
    };
    for (const Case& c : cases) {
        Harness h(50);
        h.control.setOwner("group:A");
        h.control.setEditing(c.editing);
        h.control.setSliderValue(60);
        h.clock.advance(100ms);
        if (c.ownerFirst) h.control.setOwner("group:B");
        h.control.setVolume(20);
        if (!c.ownerFirst) h.control.setOwner("group:B");
        EXPECT_EQ(h.control.shownPercent(), 20) << c.name;

        h.control.setEditing(false);
        h.control.stepUp();
        EXPECT_EQ(h.changes, (std::vector<int>{60, 21})) << c.name;
        // The new owner's first step ticks although the last tick was only now.
        EXPECT_EQ(h.ticks, 2) << c.name;
    }

    // The same owner again changes nothing.
    Harness h(50);
    h.control.setOwner("group:A");
    h.control.setSliderValue(60);
    h.control.setOwner("group:A");
    h.control.setVolume(20);
    EXPECT_EQ(h.control.shownPercent(), 60);
}
