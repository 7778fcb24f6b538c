#include <gtest/gtest.h>

#include <functional>

#include "OrvelStore/SnapshotProjection.h"
#include "StateFixtures.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

// A leads A and B; C plays alone; A's group is paused at 10 s with group volume 30.
HouseholdSnapshot base() {
    return Household{.speakers = {speaker('A', "Kitchen"), speaker('B', "Den"), speaker('C', "Office")},
                     .grouping = "AA BA CC",
                     .status = {{group('A'), GroupStatus{pausedAt(10), DiscreteVolume::snappingPercent(30)}}}}
        .build();
}

struct TransportCase {
    const char* name;
    std::optional<PlaybackState> before;  // A's playback; none: no status for A
    PlayPause action;
    std::optional<PlaybackState> expected;  // none: the snapshot comes back unchanged
};

TEST(SnapshotProjection, PlayAndPauseFollowTheGroupsPlayback) {
    const TransportCase cases[] = {
        {"play resumes from the snapshot's time", pausedAt(10), PlayPause::play, playingAt(10, T0.addingSeconds(5))},
        {"pause freezes the sampled position", playingAt(10, T0.addingSeconds(-20)), PlayPause::pause, pausedAt(10)},
        {"play while playing", playingAt(10, T0), PlayPause::play, std::nullopt},
        {"pause while paused", pausedAt(10), PlayPause::pause, std::nullopt},
        {"play while stopped", PlaybackState::stopped(), PlayPause::play, std::nullopt},
        {"play on a group without status", std::nullopt, PlayPause::play, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HouseholdSnapshot::StatusMap status;
        if (c.before) status.emplace(group('A'), GroupStatus{*c.before, DiscreteVolume::snappingPercent(30)});
        const auto before = Household{.at = T0.addingSeconds(5), .speakers = {speaker('A', "Kitchen")},
                                      .grouping = "AA", .status = status}
                                .build();
        const auto after = projecting(before, SonosCommand::playPause(c.action, group('A')));
        if (!c.expected) {
            EXPECT_EQ(after, before);
            continue;
        }
        EXPECT_EQ(after.status(group('A')).playback, *c.expected);
        EXPECT_EQ(after.status(group('A')).volume, DiscreteVolume::snappingPercent(30));
    }
}

struct CommandCase {
    const char* name;
    SonosCommand command;
    std::function<void(const HouseholdSnapshot& before, const HouseholdSnapshot& after)> check;
};

void unchanged(const HouseholdSnapshot& before, const HouseholdSnapshot& after) { EXPECT_EQ(after, before); }

TEST(SnapshotProjection, GroupingVolumeAndOtherCommands) {
    const auto other = PresetPill(PresetID::random(), "Other", sp('C'), {sp('A')});
    const auto metadata = SpotifyTrackMetadata{"Title", "Artist", std::nullopt, std::nullopt, std::nullopt};
    const CommandCase cases[] = {
        {"group moves the member under the new coordinator", SonosCommand::group(sp('C'), group('A')),
         [](auto&, auto& after) { EXPECT_EQ(after.topology().group(sp('C')), group('A')); }},
        {"ungroup leaves the member alone", SonosCommand::ungroup(sp('B')),
         [](auto&, auto& after) {
             EXPECT_EQ(after.topology().group(sp('B')), group('B'));
             EXPECT_EQ(after.topology().followers(sp('A')), std::set<SpeakerUUID>{});
         }},
        {"grouping into a missing group changes nothing", SonosCommand::group(sp('C'), group('D')), unchanged},
        {"a preset projects exactly its grouping", SonosCommand::applyPreset(other),
         [](auto&, auto& after) {
             EXPECT_TRUE(TopologyTarget::exactGroup(sp('C'), {sp('A')}).isSatisfied(after.topology()));
         }},
        {"group volume changes only the status volume", SonosCommand::setVolume(DiscreteVolume::snappingPercent(55),
                                                                                 VolumeTarget::group(group('A'))),
         [](auto& before, auto& after) {
             EXPECT_EQ(after.status(group('A')).volume, DiscreteVolume::snappingPercent(55));
             EXPECT_EQ(after.status(group('A')).playback, before.status(group('A')).playback);
             EXPECT_EQ(after.speakers(), before.speakers());
         }},
        {"speaker volume changes only that speaker", SonosCommand::setVolume(DiscreteVolume::snappingPercent(7),
                                                                              VolumeTarget::speaker(sp('B'))),
         [](auto& before, auto& after) {
             EXPECT_EQ(after.speakers().at(sp('B')), before.speakers().at(sp('B')).with(DiscreteVolume::snappingPercent(7)));
             EXPECT_EQ(after.groupStatus(), before.groupStatus());
         }},
        {"a speaker the snapshot lacks", SonosCommand::setVolume(DiscreteVolume::snappingPercent(7),
                                                                  VolumeTarget::speaker(sp('D'))),
         unchanged},
        {"next track", SonosCommand::nextTrack(group('A')), unchanged},
        {"spotify", SonosCommand::enqueueAndPlaySpotify(*SpotifyURI::make("spotify:track:4uLU6hMCjMI75M1A2tKUQC"),
                                                        metadata, group('A')),
         unchanged},
        {"system name", SonosCommand::setSystemName("Home"), unchanged},
    };
    const auto before = base();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.check(before, projecting(before, c.command));
    }
}

}  // namespace
