#include <gtest/gtest.h>

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

TEST(StateDerivation, ACommandInFlightShowsAtOnceAndGoesWithItsAnswer) {
    OrvelState state(LoadedFiles{}, {});
    state.absorb(Household{.speakers = {speaker('A', "Kitchen"), speaker('B', "Den")}, .grouping = "AA BB"}.build(),
                 std::nullopt, T0);
    const OrvelState before = state;
    const auto ticket = state.begin(SonosCommand::group(sp('B'), group('A')));
    EXPECT_EQ(state.groupID(sp('B')), group('A'));
    EXPECT_EQ(state.floorplan()[0].group, group('A'));  // "Den" lists first
    EXPECT_EQ(state.live(), before.live());

    state.finish(ticket, CommandOutcome::applied());
    EXPECT_EQ(state.groupID(sp('B')), group('B'));
    EXPECT_EQ(state.projected(), state.live());
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
