// What the map's cards show: a hub's two lines, a room's one status chip, the satellites'
// chips, where the selected room's overlay stands, and what a card makes of a hostile name.

#include <gtest/gtest.h>

#include "OrvelUI/map/BondedSatellitesMapStrip.h"
#include "OrvelUI/map/MapRows.h"
#include "OrvelUI/map/MusicSourceNodeTexts.h"
#include "OrvelUI/map/RoomStatusChip.h"
#include "OrvelUI/map/SelectedNodeOverlay.h"
#include "PlaybackFixtures.h"
#include "ShellFixtures.h"

namespace orvel::testing {
namespace {

SonosGroup rooms(int count, PlaybackState playback) {
    std::vector<Speaker> speakers;
    for (int n = 1; n <= count; ++n) speakers.push_back(speaker(n, "Room " + std::to_string(n)));
    SonosGroup g = group(speakers, std::move(playback));
    g.displayName = "Kitchen + 1";
    return g;
}

struct HubCase {
    const char* name;
    int rooms;
    // Made when the case runs: g++ 12 misreads a track built inside a static table.
    PlaybackState (*playback)();
    std::string title;
    std::string subtitle;
};

class HubTexts : public ::testing::TestWithParam<HubCase> {};

TEST_P(HubTexts, TitleAndSubtitle) {
    const HubCase& c = GetParam();
    const SonosGroup g = rooms(c.rooms, c.playback());
    EXPECT_EQ(MusicSourceNodeTexts::titleText(g), c.title);
    EXPECT_EQ(MusicSourceNodeTexts::subtitleText(g), c.subtitle);
}

INSTANTIATE_TEST_SUITE_P(
    MusicSourceNode, HubTexts,
    ::testing::Values(
        HubCase{"track", 2, [] { return playing(NowPlaying::track(track("Song", "Band"))); }, "Song", "Band"},
        HubCase{"emptyTitleAndArtist", 2, [] { return paused(NowPlaying::track(track("", ""))); }, "Kitchen + 1",
                "2 rooms"},
        HubCase{"noArtist", 3, [] { return playing(NowPlaying::track(track("Song"))); }, "Song", "3 rooms"},
        HubCase{"titledStream", 1, [] { return playing(radio("Jazz FM")); }, "Jazz FM", "1 room"},
        HubCase{"untitledStream", 1, [] { return playing(radio(std::nullopt)); }, "", "1 room"},
        HubCase{"tvAudio", 2, [] { return playing(NowPlaying::tvAudio()); }, "TV Audio", "2 rooms"},
        HubCase{"stopped", 1, [] { return PlaybackState::stopped(); }, "Kitchen + 1", "1 room"}),
    [](const auto& info) { return std::string(info.param.name); });

Speaker portable(SpeakerModel model, bool online) {
    Speaker s = speaker(1, "Patio", 0, online);
    s.model = std::move(model);
    return s;
}

TEST(RoomStatusChip, FirstThatAppliesWins) {
    const BatteryTelemetry reading{64, true, std::nullopt, Date()};
    struct Case {
        const char* name;
        Speaker speaker;
        bool dropTarget;
        RoomStatusChip::Kind kind;
    };
    const Case cases[] = {
        {"dropTargetOverBattery", portable(SpeakerModel::roam(reading), true), true, RoomStatusChip::Kind::connect},
        {"dropTargetOverOffline", offline(1, "Den"), true, RoomStatusChip::Kind::connect},
        {"batteryEvenOffline", portable(SpeakerModel::move(reading), false), false, RoomStatusChip::Kind::battery},
        {"portableWithoutReadingOffline", portable(SpeakerModel::roam(), false), false, RoomStatusChip::Kind::offline},
        {"offline", offline(1, "Den"), false, RoomStatusChip::Kind::offline},
        {"online", speaker(1, "Den"), false, RoomStatusChip::Kind::volume},
    };
    for (const Case& c : cases) {
        const RoomStatusChip chip = RoomStatusChip::of(c.speaker, c.dropTarget);
        EXPECT_EQ(chip.kind, c.kind) << c.name;
        EXPECT_EQ(chip.battery.has_value(), c.kind == RoomStatusChip::Kind::battery) << c.name;
    }
    EXPECT_EQ(RoomStatusChip::of(speaker(1, "Den"), false).volumeText, "20%");
}

TEST(BondedSatellitesMapStrip, OneChipPerSatelliteInOrderWithItsRole) {
    Speaker room = speaker(1, "Living Room", 1);
    room.bondedSatellites.insert(room.bondedSatellites.begin(),
                                 BondedSatellite{sp(9), sp(1), SatelliteRole::rearLeft(), std::nullopt, std::nullopt,
                                                 false, std::nullopt});
    const auto chips = BondedSatellitesMapStrip::chips(room.bondedSatellites);
    ASSERT_EQ(chips.size(), 2u);
    EXPECT_EQ(chips[0].id, sp(9).rawValue());
    EXPECT_EQ(chips[0].roleLetter, "L");
    EXPECT_FALSE(chips[0].isOnline);
    EXPECT_EQ(chips[0].helpText, "Left Surround \u00B7 " + room.bondedSatellites[0].modelLabel() + " (bonded)");
    EXPECT_EQ(chips[1].roleLetter, "Sub");
    EXPECT_TRUE(chips[1].isOnline);
}

// Names come from the speakers: a card never goes without one, and never lays out more than it
// can show.
TEST(MapRoomLabel, EmptyNamesFallBack_LongNamesAndMarkFloodsAreCut) {
    std::string longName;
    for (int i = 0; i < 20; ++i) longName += "Room name ";
    std::string flood = "Z";
    for (int i = 0; i < 200; ++i) flood += "\u0301";
    const std::string hebrew = "\u05D7\u05D3\u05E8 \u05E9\u05D9\u05E0\u05D4";
    struct Case {
        const char* name;
        std::string roomName;
        std::string label;
    };
    const Case cases[] = {
        {"empty", "", "Room"},
        {"only spaces and a tab", "   \t ", "Room"},
        {"only a no-break space", "\u00A0", "Room"},
        {"a plain name is shortened as everywhere", "Kitchen Speaker", "Kitchen"},
        {"right-to-left kept whole", hebrew, hebrew},
        {"200 characters: 63 and an ellipsis", longName, longName.substr(0, 63) + "\u2026"},
        {"a letter under 200 marks keeps 4", flood, "Z\u0301\u0301\u0301\u0301"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(mapRoomLabel(c.roomName), c.label);
    }
}

TEST(SelectedNodeOverlay, BelowUnlessTooNearThePlotsFootAndKeptInsideIt) {
    const Rect plot(24, 16, 952, 600);  // bottom 616
    struct Case {
        const char* name;
        Point anchor;
        bool satellites;
        Point center;
    };
    const Case cases[] = {
        {"below", {500, 300}, false, {500, 366}},
        {"belowClearingSatellites", {500, 300}, true, {500, 384}},
        {"exactly96AboveFootStaysBelow", {500, 520}, false, {500, 586}},
        {"belowNeverPastTheFoot", {500, 520}, true, {500, 600}},
        {"nearerThan96GoesAbove", {500, 521}, false, {500, 455}},
        {"leftEdge", {30, 300}, false, {152, 366}},
        {"rightEdge", {970, 300}, false, {848, 366}},
    };
    for (const Case& c : cases) {
        const Point at = SelectedNodeOverlay::center(c.anchor, c.satellites, plot);
        EXPECT_DOUBLE_EQ(at.x, c.center.x) << c.name;
        EXPECT_DOUBLE_EQ(at.y, c.center.y) << c.name;
    }
    // A short plot: above the room, but never above the plot's top plus 26.
    const Point top = SelectedNodeOverlay::center({500, 60}, false, Rect(24, 16, 952, 100));
    EXPECT_DOUBLE_EQ(top.y, 42);
}

}  // namespace
}  // namespace orvel::testing
