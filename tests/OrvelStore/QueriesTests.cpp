#include <gtest/gtest.h>

#include "OrvelStore/OrvelState.h"
#include "StateFixtures.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

Speaker withSatellites(Speaker s, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        s.bondedSatellites.push_back(BondedSatellite{sp(static_cast<char>('P' + i)), s.id, SatelliteRole::rearLeft(),
                                                     std::nullopt, std::nullopt, true, std::nullopt});
    }
    return s;
}

TEST(StateQueries, BeforeTheFirstSnapshotNothingIsGroupedOrActive) {
    const OrvelState state(cacheOf({speaker('A', "Kitchen")}), {});
    EXPECT_TRUE(state.groups().empty());
    EXPECT_FALSE(state.groupID(sp('A')));
    EXPECT_EQ(state.connection(), HouseholdConnection::searching());
    EXPECT_FALSE(state.isActive(PresetPill(PresetID::random(), "Solo", sp('A'), {})));
}

TEST(StateQueries, SummariesCountSatellitesAndShowANonEmptyName) {
    struct Case {
        std::vector<Speaker> speakers;
        std::optional<std::string> name;
        const char* expected;
    };
    const Case cases[] = {
        {{speaker('A', "Kitchen")}, std::nullopt, "1 speaker"},
        {{speaker('A', "Kitchen")}, "Home", "Home \u00B7 1 speaker"},
        {{speaker('A', "Kitchen")}, "", "1 speaker"},
        {{}, std::nullopt, "0 speakers"},
        {{withSatellites(speaker('A', "Living"), 3), speaker('B', "Den")}, "Flat", "Flat \u00B7 5 speakers"},
    };
    for (const auto& c : cases) {
        const OrvelState state(cacheOf(c.speakers, {}, c.name), {});
        EXPECT_EQ(state.networkAndSpeakerSummary(), c.expected);
    }
}

TEST(StateQueries, AnEmptyLiveHouseholdIsAwaySinceTheLatestOfflineSighting) {
    OrvelState withSightings(cacheOf({offlineSpeaker('A', "Kitchen", T0.addingSeconds(-50)),
                                      offlineSpeaker('B', "Den", T0.addingSeconds(-10)), speaker('C', "Office")}),
                             {});
    OrvelState firstRun(LoadedFiles{}, {});
    const auto empty = Household{}.build();
    withSightings.absorb(empty, std::nullopt, T0);
    firstRun.absorb(empty, std::nullopt, T0);
    EXPECT_EQ(withSightings.connection(), HouseholdConnection::away(T0.addingSeconds(-10)));
    EXPECT_EQ(firstRun.connection(), HouseholdConnection::away(std::nullopt));
    firstRun.absorb(Household{.speakers = {speaker('A', "Kitchen")}, .grouping = "AA"}.build(), std::nullopt, T0);
    EXPECT_EQ(firstRun.connection(), HouseholdConnection::live());
}

TEST(StateQueries, PresetActivityFollowsTheProjectedGrouping) {
    struct Case {
        const char* name;
        std::string grouping;
        std::optional<PlaybackState> playbackOfA;
        PresetPill preset;
        bool active;
    };
    const auto solo = PresetPill(PresetID::random(), "Solo", sp('A'), {});
    const auto trio = PresetPill(PresetID::random(), "Trio", sp('A'), {sp('B'), sp('C')});
    const Case cases[] = {
        {"alone and stopped", "AA BB CC", std::nullopt, solo, false},
        {"alone and paused", "AA BB CC", pausedAt(3), solo, true},
        {"alone and playing", "AA BB CC", playingAt(3, T0), solo, true},
        {"leading others", "AA BA CC", playingAt(3, T0), solo, false},
        {"trio under its own coordinator", "AA BA CA", std::nullopt, trio, true},
        {"trio under another coordinator", "AB BB CB", std::nullopt, trio, true},
        {"trio with a fourth speaker", "AA BA CA DA", std::nullopt, trio, false},
        {"trio split", "AA BA CC", std::nullopt, trio, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Household household{.speakers = {speaker('A', "Kitchen"), speaker('B', "Den"), speaker('C', "Office"),
                                         speaker('D', "Hall")},
                            .grouping = c.grouping + (c.grouping.find('D') == std::string::npos ? " DD" : "")};
        if (c.playbackOfA) household.status.emplace(group('A'), GroupStatus{*c.playbackOfA, {}});
        OrvelState state(LoadedFiles{}, {});
        state.absorb(household.build(), std::nullopt, T0);
        EXPECT_EQ(state.isActive(c.preset), c.active);
    }
}

TEST(StateQueries, PresetReducersTrimNamesAndIgnoreWhatCannotApply) {
    OrvelState state(LoadedFiles{}, {});
    state.createPreset("   ", sp('A'), {sp('B')});
    EXPECT_TRUE(state.presets().empty());
    state.createPreset("  Evening \n", sp('A'), {sp('A'), sp('B')});
    ASSERT_EQ(state.presets().size(), 1u);
    const PresetPill evening = state.presets().front();
    EXPECT_EQ(evening.name(), "Evening");
    EXPECT_EQ(evening.memberUUIDs(), std::set<SpeakerUUID>{sp('B')});

    state.renamePreset(evening.id(), " \t");
    EXPECT_EQ(state.presets().front().name(), "Evening");
    state.renamePreset(evening.id(), " Night ");
    EXPECT_EQ(state.presets().front(), evening.renamed("Night"));

    const auto before = state.presets();
    state.deletePreset(PresetID::random());
    EXPECT_EQ(state.presets(), before);
    state.deletePreset(evening.id());
    EXPECT_TRUE(state.presets().empty());
}

TEST(StateQueries, PersistedSlicesListKnownSpeakersByIdentifier) {
    const auto a = speaker('A', "Kitchen");
    const auto b = speaker('B', "Den");
    OrvelState one(cacheOf({b, a}, matrix('A', 'B', 30), "Home"), {});
    const OrvelState other(cacheOf({a, b}, matrix('A', 'B', 30), "Home"), {});
    EXPECT_EQ(one.persisted(), other.persisted());
    EXPECT_EQ(one.persisted().cache.speakers, (std::vector{a, b}));

    one.pin(sp('A'), RoomCoordinate::clamping(0.2, 0.3));
    EXPECT_EQ(one.persisted().positions.pins.at(sp('A')), RoomCoordinate::clamping(0.2, 0.3));
    const OrvelState pinned = one;
    one.pin(sp('A'), RoomCoordinate::clamping(0.2, 0.3));
    EXPECT_EQ(one, pinned);
    one.unpin(sp('A'));
    EXPECT_EQ(one, other);
}

}  // namespace
