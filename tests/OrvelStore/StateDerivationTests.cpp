#include <gtest/gtest.h>

#include <functional>

#include "OrvelDomain/FloorplanLayout.h"
#include "OrvelStore/OrvelState.h"
#include "StateFixtures.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

std::vector<std::string> rooms(const OrvelState& state) {
    std::vector<std::string> out;
    for (const auto& s : state.speakers()) out.push_back(s.roomName);
    return out;
}

TEST(StateDerivation, CachedSpeakersAreListedByRoomNameInByteOrderThenByID) {
    const auto lastSeen = T0.addingSeconds(-60);
    const OrvelState state(cacheOf({offlineSpeaker('A', "b room", lastSeen), offlineSpeaker('D', "Bath", lastSeen),
                                    offlineSpeaker('C', "Attic", lastSeen), offlineSpeaker('B', "Attic", lastSeen)}),
                           {});
    // Upper-case letters order before lower-case ones; equal names by identifier.
    EXPECT_EQ(rooms(state), (std::vector<std::string>{"Attic", "Attic", "Bath", "b room"}));
    EXPECT_EQ(state.speakers()[0].id, sp('B'));
    EXPECT_EQ(state.speakers()[3], offlineSpeaker('A', "b room", lastSeen));
    ASSERT_EQ(state.floorplan().size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(state.floorplan()[i].speaker, state.speakers()[i]);
        EXPECT_FALSE(state.floorplan()[i].group);
    }
}

TEST(StateDerivation, OnlyTheFirstQuarantinedFileIsReported) {
    const OrvelState state(LoadedFiles{std::nullopt, std::nullopt, {"one.corrupt-1", "two.corrupt-2"}}, {});
    EXPECT_EQ(state.alert(), OrvelAlert::quarantined("one.corrupt-1"));
}

TEST(StateDerivation, PinsWinOverTheLayoutAndUnplacedSpeakersSitAtTheCentre) {
    OrvelState state(cacheOf({speaker('A', "Kitchen"), speaker('B', "Basement Den")}), {});
    state.pin(sp('A'), RoomCoordinate::clamping(0.1, 0.2));
    // An empty layout leaves every unpinned speaker without an inferred place or floor.
    state.absorb(Household{.speakers = {speaker('A', "Kitchen"), speaker('B', "Basement Den")}, .grouping = "AA BB"}.build(),
                 OrvelState::Layout{}, T0);
    const auto& pinned = state.floorplan()[1];
    EXPECT_EQ(pinned.speaker.id, sp('A'));
    EXPECT_EQ(pinned.coordinate, RoomCoordinate::clamping(0.1, 0.2));
    EXPECT_EQ(pinned.placement, Placement::pinned);
    const auto& centred = state.floorplan()[0];
    EXPECT_EQ(centred.coordinate, RoomCoordinate::clamping(0.5, 0.5));
    EXPECT_EQ(centred.placement, Placement::inferred);
    EXPECT_EQ(centred.level, FloorLevel::classify("Basement Den"));
    EXPECT_EQ(centred.group, group('B'));
}

TEST(StateDerivation, ACommandInFlightShowsAtOnceOnTopOfTheLiveSnapshot) {
    OrvelState state(LoadedFiles{}, {});
    state.absorb(Household{.speakers = {speaker('A', "Kitchen"), speaker('B', "Den")}, .grouping = "AA BB"}.build(),
                 std::nullopt, T0);
    const OrvelState before = state;
    state.begin(SonosCommand::group(sp('B'), group('A')));
    EXPECT_EQ(state.groupID(sp('B')), group('A'));
    EXPECT_EQ(state.floorplan()[0].group, group('A'));  // "Den" lists first
    EXPECT_EQ(state.live(), before.live());
}

// Play on a paused group, answered 1 s after T0: what shows after each next step.
TEST(StateDerivation, AnAnsweredCommandShowsUntilTheHouseholdReportsAfterItsAnswer) {
    struct Case {
        const char* name;
        OrvelState::CommandResult result;
        std::function<void(OrvelState&)> then;
        bool showsPlaying;
    };
    const auto pausedHousehold = [](double at) {
        return Household{.at = T0.addingSeconds(at), .speakers = {speaker('A', "Kitchen")}, .grouping = "AA",
                         .status = {{group('A'), GroupStatus{pausedAt(5), {}}}}}
            .build();
    };
    const Date answered = T0.addingSeconds(1);
    const Case cases[] = {
        {"a failure goes at once", std::unexpected(SonosCommandError::speakerUnreachable(sp('A'))),
         [](OrvelState&) {}, false},
        {"a success stays once answered", CommandOutcome::applied(), [](OrvelState&) {}, true},
        {"a snapshot observed before the answer does not end it", CommandOutcome::applied(),
         [&](OrvelState& s) { s.absorb(pausedHousehold(0.5), std::nullopt, answered.addingSeconds(0.2)); }, true},
        {"the first snapshot observed after the answer ends it", CommandOutcome::applied(),
         [&](OrvelState& s) { s.absorb(pausedHousehold(1.5), std::nullopt, answered.addingSeconds(0.6)); }, false},
        {"without a snapshot it stays just short of its time", CommandOutcome::applied(),
         [&](OrvelState& s) { s.endSettling(answered.addingSeconds(OrvelState::settleSeconds - 0.1)); }, true},
        {"without a snapshot it runs out by itself", CommandOutcome::applied(),
         [&](OrvelState& s) { s.endSettling(answered.addingSeconds(OrvelState::settleSeconds)); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OrvelState state(LoadedFiles{}, {});
        state.absorb(pausedHousehold(0), std::nullopt, T0);
        const auto ticket = state.begin(SonosCommand::playPause(PlayPause::play, group('A')));
        state.finish(ticket, c.result, answered);
        c.then(state);
        EXPECT_EQ(state.projected()->status(group('A')).playback.isPlaying(), c.showsPlaying);
        EXPECT_EQ(state.groups().front().playback.isPlaying(), c.showsPlaying);
        EXPECT_TRUE(state.inFlight().empty());
    }
}

TEST(StateDerivation, CommandsForOneGroupAreProjectedInTheOrderBegun) {
    OrvelState state(LoadedFiles{}, {});
    state.absorb(Household{.speakers = {speaker('A', "Kitchen")}, .grouping = "AA",
                           .status = {{group('A'), GroupStatus{pausedAt(5), {}}}}}
                     .build(),
                 std::nullopt, T0);
    state.begin(SonosCommand::playPause(PlayPause::play, group('A')));
    EXPECT_TRUE(state.projected()->status(group('A')).playback.isPlaying());
    state.begin(SonosCommand::playPause(PlayPause::pause, group('A')));
    EXPECT_TRUE(state.projected()->status(group('A')).playback.isPaused());
}

TEST(StateDerivation, AGroupVolumeOverrideShowsPastItsExpiryUntilTheNextSnapshot) {
    OrvelState state(LoadedFiles{}, {});
    const auto household = Household{.speakers = {speaker('A', "Kitchen")}, .grouping = "AA"};
    state.absorb(household.build(), std::nullopt, T0);
    state.setOptimisticVolume(DiscreteVolume::snappingPercent(42), VolumeTarget::group(group('A')), T0, 2.0);
    EXPECT_EQ(state.projected()->status(group('A')).volume, DiscreteVolume::snappingPercent(42));
    EXPECT_EQ(state.groups().front().volume, DiscreteVolume::snappingPercent(42));

    EXPECT_TRUE(state.hasExpiredVolumeOverrides(T0.addingSeconds(5)));
    EXPECT_EQ(state.projected()->status(group('A')).volume, DiscreteVolume::snappingPercent(42));
    state.absorb(household.build(), std::nullopt, T0.addingSeconds(5));
    EXPECT_EQ(state.projected()->status(group('A')).volume, DiscreteVolume::snappingPercent(20));
}

TEST(StateDerivation, AVolumeOnlySnapshotKeepsTheClustersAndRefreshesTheirNodes) {
    OrvelState state(LoadedFiles{}, {});
    auto household = Household{.speakers = {speaker('A', "Kitchen"), speaker('B', "Den")}, .grouping = "AA BB"};
    state.absorb(household.build(), std::nullopt, T0);
    const auto clusters = state.floorplanRoomClusters();
    ASSERT_FALSE(clusters.empty());

    household.speakers[0] = speaker('A', "Kitchen", 77);
    state.absorb(household.build(), std::nullopt, T0.addingSeconds(2));
    ASSERT_EQ(state.floorplanRoomClusters().size(), clusters.size());
    for (std::size_t i = 0; i < clusters.size(); ++i) {
        EXPECT_EQ(state.floorplanRoomClusters()[i].id, clusters[i].id);
        for (const auto& node : state.floorplanRoomClusters()[i].nodes) {
            if (node.speaker.id == sp('A')) {
                EXPECT_EQ(node.speaker.volume, DiscreteVolume::snappingPercent(77));
            }
        }
    }
    // Rebuilding from scratch would give the same clusters: reuse never shows stale nodes.
    EXPECT_EQ(state.floorplanRoomClusters(), FloorplanLayout::clusterRooms(state.floorplan(), state.rf()));
}

}  // namespace
