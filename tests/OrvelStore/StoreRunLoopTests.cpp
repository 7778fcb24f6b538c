#include <gtest/gtest.h>

#include <QSignalSpy>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "FakePorts.h"
#include "StateFixtures.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

Household twoRooms(Date at = T0) {
    return Household{.at = at, .speakers = {speaker('A', "Kitchen"), speaker('B', "Office")}, .grouping = "AA BB"};
}

Household playingKitchen(Date at, double position) {
    Household household = twoRooms(at);
    household.status = {{group('A'), GroupStatus{playingAt(position, at), DiscreteVolume::snappingPercent(20)}}};
    return household;
}

void startRunning(StoreHarness& h) {
    h.startLoop();
    ASSERT_TRUE(h.publishAndSettle(twoRooms().build()));
}

TEST(StoreRunLoop, ASecondRunWhileOneRunsReturnsAtOnceAndTheFirstGoesOn) {
    StoreHarness h;
    startRunning(h);

    auto second = std::make_shared<waiting::TaskOutcome<bool>>();
    waiting::collect(h.store->run(), second);
    EXPECT_TRUE(second->done);
    EXPECT_EQ(h.sonos->subscriptionsMade, 1u);
    EXPECT_TRUE(h.store->isRunningLoop());

    ASSERT_TRUE(h.publishAndSettle(twoRooms(T0.addingSeconds(5)).build().replacing(HouseholdSnapshot::SpeakerMap{
        {sp('A'), speaker('A', "Kitchen", 40)}, {sp('B'), speaker('B', "Office")}})));
    EXPECT_EQ(h.store->state().live()->speakers().at(sp('A')).volume, DiscreteVolume::snappingPercent(40));
}

TEST(StoreRunLoop, AfterTheStreamEndsAnotherRunSubscribesAnew) {
    StoreHarness h;
    startRunning(h);

    h.sonos->finishStreams();
    ASSERT_TRUE(waitUntil([&] { return h.loopEnded(); }));
    EXPECT_FALSE(h.store->isRunningLoop());

    h.startLoop();
    EXPECT_TRUE(h.store->isRunningLoop());
    EXPECT_EQ(h.sonos->subscriptionsMade, 2u);
    ASSERT_TRUE(h.settle());
    EXPECT_FALSE(h.loopEnded());
}

TEST(StoreRunLoop, CancellingTheRunEndsTheLoopAndLeavesTheSubscription) {
    StoreHarness h;
    CancellationSource stop;
    h.startLoop(stop.token());
    ASSERT_TRUE(h.settle());

    stop.cancel();
    EXPECT_TRUE(h.loopEnded());
    EXPECT_FALSE(h.store->isRunningLoop());
    EXPECT_EQ(h.sonos->listeningCount(), 0u);
}

TEST(StoreRunLoop, DestroyingTheStoreLeavesTheSubscription) {
    StoreHarness h;
    startRunning(h);
    h.store.reset();
    EXPECT_EQ(h.sonos->listeningCount(), 0u);
    h.sonos->publish(twoRooms(T0.addingSeconds(2)).build());
}

TEST(StoreRunLoop, TheFirstSnapshotAlwaysReachesTheState) {
    // The cache lists the same household, but the state built from it has no live snapshot.
    StoreHarness h(cacheOf({offlineSpeaker('A', "Kitchen", T0), offlineSpeaker('B', "Office", T0)}));
    QSignalSpy changes(h.store.get(), &OrvelStore::stateChanged);
    h.startLoop();
    ASSERT_TRUE(h.publishAndSettle(twoRooms().build()));
    EXPECT_EQ(changes.count(), 1);
    ASSERT_TRUE(h.store->state().live());
    EXPECT_EQ(h.store->state().live()->observedAt(), T0);
}

TEST(StoreRunLoop, TheStateEqualsAbsorbingTheSnapshotWithTheLayoutComputedInPlace) {
    const LoadedFiles loaded = cacheOf({offlineSpeaker('A', "Kitchen", T0)});
    StoreHarness h(loaded);
    Household household = twoRooms();
    household.speakers.push_back(speaker('C', "Upstairs Bedroom"));
    household.grouping = "AA BB CC";
    household.rf = matrix('A', 'C', 3);
    h.startLoop();
    ASSERT_TRUE(h.publishAndSettle(household.build()));

    OrvelState expected(loaded, {});
    expected.absorb(household.build(), std::nullopt, h.clock.now());
    EXPECT_EQ(h.store->state(), expected);
    EXPECT_EQ(h.store->state().floorplan().size(), 3u);
}

struct FollowingSnapshot {
    const char* name;
    HouseholdSnapshot snapshot;
    bool reachesState;
};

TEST(StoreRunLoop, OnlyASnapshotThatShowsSomethingNewReachesTheState) {
    const Date later = T0.addingSeconds(10);
    Household louder = playingKitchen(later, 40.0);
    louder.speakers[1] = speaker('B', "Office", 55);
    Household grouped = playingKitchen(later, 40.0);
    grouped.grouping = "AA BA";
    const FollowingSnapshot cases[] = {
        {"the same reading again", playingKitchen(T0, 30.0).build(), false},
        {"the same playback sampled later", playingKitchen(later, 40.0).build(), false},
        {"a playback position that jumped", playingKitchen(later, 90.0).build(), true},
        {"a changed volume", louder.build(), true},
        {"a changed grouping", grouped.build(), true},
        {"playback stopped", twoRooms(later).build(), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoreHarness h;
        h.startLoop();
        ASSERT_TRUE(h.publishAndSettle(playingKitchen(T0, 30.0).build()));
        const OrvelState before = h.store->state();
        QSignalSpy changes(h.store.get(), &OrvelStore::stateChanged);

        ASSERT_TRUE(h.publishAndSettle(c.snapshot));
        EXPECT_EQ(changes.count(), c.reachesState ? 1 : 0);
        EXPECT_EQ(h.store->state() == before, !c.reachesState);
    }
}

TEST(StoreRunLoop, AnExpiredVolumeOverrideForcesTheFullPathSoItLeavesTheState) {
    StoreHarness h;
    startRunning(h);
    OrvelState held = h.store->state();
    held.setOptimisticVolume(DiscreteVolume::snappingPercent(70), VolumeTarget::speaker(sp('A')), h.clock.now(), 2.0);
    h.store->setState(held);

    // Still held: the same household changes nothing.
    h.clock.advance(std::chrono::milliseconds(1999));
    ASSERT_TRUE(h.publishAndSettle(twoRooms(T0.addingSeconds(1)).build()));
    EXPECT_TRUE(h.store->state().hasActiveVolumeOverrides());

    h.clock.advance(std::chrono::milliseconds(1));
    QSignalSpy changes(h.store.get(), &OrvelStore::stateChanged);
    ASSERT_TRUE(h.publishAndSettle(twoRooms(T0.addingSeconds(2)).build()));
    EXPECT_FALSE(h.store->state().hasActiveVolumeOverrides());
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(h.store->state().speakers().front().volume, DiscreteVolume::snappingPercent(20));
}

TEST(StoreRunLoop, WhatChangesTheStateWhileASnapshotIsInHandSurvivesIt) {
    StoreHarness h;
    h.spotify->gate.close();
    h.startLoop();
    h.sonos->publish(playingKitchen(T0, 10.0).build());
    ASSERT_TRUE(waitUntil([&] { return h.spotify->gate.waitingCount() == 1; }));

    OrvelState changed = h.store->state();
    changed.report(OrvelAlert::quarantined("floorplan-positions.json"));
    h.store->setState(changed);
    h.spotify->gate.open();
    ASSERT_TRUE(h.settle());

    EXPECT_TRUE(h.store->state().live());
    EXPECT_EQ(h.store->state().alert(), OrvelAlert::quarantined("floorplan-positions.json"));
}

Household pausedKitchen(Date at) {
    Household household = twoRooms(at);
    household.status = {{group('A'), GroupStatus{pausedAt(5), DiscreteVolume::snappingPercent(20)}}};
    return household;
}

// The play button as the window presses it: with the kitchen as the screen shows it.
void pressPlayButton(StoreHarness& h) {
    const auto& groups = h.store->state().groups();
    h.store->togglePlayOrHandOffSpotify(*std::ranges::find(groups, group('A'), &SonosGroup::id));
    ASSERT_TRUE(waitUntil([&] { return h.sonos->runningCount() == 0 && h.store->state().inFlight().empty(); }));
}

bool kitchenShowsPlaying(const StoreHarness& h) {
    return std::ranges::find(h.store->state().groups(), group('A'), &SonosGroup::id)->playback.isPlaying();
}

TEST(StoreSettling, ASecondPressBeforeTheHouseholdReportsUndoesTheFirstInsteadOfRepeatingIt) {
    StoreHarness h;
    h.startLoop();
    ASSERT_TRUE(h.publishAndSettle(pausedKitchen(h.clock.now()).build()));
    pressPlayButton(h);
    h.clock.advance(std::chrono::milliseconds(3500));
    pressPlayButton(h);
    EXPECT_EQ(h.sonos->sent, (std::vector{SonosCommand::playPause(PlayPause::play, group('A')),
                                          SonosCommand::playPause(PlayPause::pause, group('A'))}));
}

TEST(StoreSettling, TheHouseholdsNextReportOrTheClockEndsWhatAnAnsweredCommandShows) {
    struct Case {
        const char* name;
        std::function<void(StoreHarness&, Date answered)> then;
        bool showsPlaying;
    };
    const Case cases[] = {
        {"a report from before the answer leaves it",
         [](StoreHarness& h, Date answered) { ASSERT_TRUE(h.publishAndSettle(pausedKitchen(answered.addingSeconds(-0.5)).build())); },
         true},
        {"the same report observed after the answer ends it",
         [](StoreHarness& h, Date answered) { ASSERT_TRUE(h.publishAndSettle(pausedKitchen(answered.addingSeconds(0.5)).build())); },
         false},
        {"with no report it ends when its time runs out",
         [](StoreHarness& h, Date) {
             h.clock.advance(std::chrono::milliseconds(static_cast<int>(OrvelState::settleSeconds * 1000)));
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StoreHarness h;
        h.startLoop();
        ASSERT_TRUE(h.publishAndSettle(pausedKitchen(h.clock.now().addingSeconds(-1)).build()));
        pressPlayButton(h);
        ASSERT_TRUE(kitchenShowsPlaying(h));
        c.then(h, h.clock.now());
        EXPECT_EQ(kitchenShowsPlaying(h), c.showsPlaying);
    }
}

TEST(StoreState, AssigningAnEqualStateNotifiesNoOne) {
    StoreHarness h(cacheOf({speaker('A', "Kitchen")}));
    QSignalSpy changes(h.store.get(), &OrvelStore::stateChanged);
    h.store->setState(OrvelState(h.store->state()));
    EXPECT_EQ(changes.count(), 0);

    OrvelState changed = h.store->state();
    changed.renameSystem("Home");
    h.store->setState(changed);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(h.store->state().networkName(), "Home");
}

}  // namespace
