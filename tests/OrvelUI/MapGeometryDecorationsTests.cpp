// What the full map draws from its geometry: link paths and their travelling highlight, the
// link layer and the sever controls.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "MapGeometryFixtures.h"
#include "OrvelDomain/RoomNaming.h"
#include "OrvelUI/map/AcousticPath.h"
#include "OrvelUI/map/MapLinks.h"
#include "OrvelUI/map/MapRows.h"
#include "OrvelUI/map/TetherSeverButtons.h"

namespace orvel::testing {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

struct PathShape {
    int subpaths = 0;
    int curves = 0;
};

PathShape shapeOf(const QPainterPath& path) {
    PathShape shape;
    for (int i = 0; i < path.elementCount(); ++i) {
        const auto type = path.elementAt(i).type;
        if (type == QPainterPath::MoveToElement) ++shape.subpaths;
        if (type == QPainterPath::CurveToElement) ++shape.curves;
    }
    return shape;
}

AcousticCurveSegment straight(Point from, Point to) {
    return {from, {(from.x + to.x) / 2, (from.y + to.y) / 2}, to};
}

TEST(AcousticPath, JoinedSegmentsShareASubpathAndEveryBreakStartsANewOne) {
    struct Case {
        std::vector<AcousticCurveSegment> segments;
        int subpaths;
        int curves;
    };
    const AcousticCurveSegment first{{0, 0}, {50, -40}, {100, 0}};
    for (const auto& c : {Case{{}, 0, 0}, Case{{first, {{100, 0}, {150, 40}, {200, 0}}}, 1, 2},
                          Case{{first, {{100, 0.5}, {150, 40}, {200, 0}}}, 2, 2}}) {
        const PathShape shape = shapeOf(acousticPath(c.segments));
        EXPECT_EQ(shape.subpaths, c.subpaths);
        EXPECT_EQ(shape.curves, c.curves);
    }
}

TEST(AcousticPath, TheHighlightIsTheFifthOfThePathEndingAtThePhase) {
    struct Case {
        std::optional<double> phase;
        std::optional<PathStretch> stretch;
    };
    for (const auto& c : {Case{std::nullopt, std::nullopt}, Case{nan, std::nullopt}, Case{0.1, PathStretch{0, 0.1}},
                          Case{0.7, PathStretch{0.5, 0.7}}, Case{1.1, PathStretch{0.9, 1}}, Case{1.2, PathStretch{1, 1}},
                          Case{1.7, PathStretch{1, 1}}, Case{-0.3, PathStretch{0, 0}}}) {
        const auto stretch = highlightStretch(c.phase);
        ASSERT_EQ(stretch.has_value(), c.stretch.has_value());
        if (!stretch) continue;
        EXPECT_NEAR(stretch->from, c.stretch->from, 1e-12);
        EXPECT_NEAR(stretch->to, c.stretch->to, 1e-12);
    }
}

TEST(AcousticPath, TrimmingKeepsTheStretchOfTheLengthAndItsSubpaths) {
    const QPainterPath line = acousticPath({straight({0, 0}, {100, 0})});
    const QPainterPath middle = trimmedPath(line, {0.5, 0.7});
    EXPECT_NEAR(middle.elementAt(0).x, 50, 1e-6);
    EXPECT_NEAR(middle.currentPosition().x(), 70, 1e-6);
    EXPECT_TRUE(trimmedPath(line, {1, 1}).isEmpty());

    const QPainterPath broken = acousticPath({straight({0, 0}, {100, 0}), straight({0, 50}, {100, 50})});
    const QPainterPath whole = trimmedPath(broken, {0, 1});
    EXPECT_EQ(shapeOf(whole).subpaths, 2);
    EXPECT_NEAR(trimmedPath(broken, {0.25, 0.75}).length(), 100, 1e-6);
}

TEST(MapLinks, PhaseRunsFromZeroBelowOneEachPeriodWhateverTheTime) {
    struct Case {
        double seconds;
        double phase;
    };
    for (const auto& c : {Case{0, 0}, Case{1.3, 0.5}, Case{5.2, 0}, Case{-1.3, 0.5}, Case{nan, 0},
                          Case{std::numeric_limits<double>::infinity(), 0}}) {
        EXPECT_NEAR(MapLinks::phase(c.seconds), c.phase, 1e-12) << c.seconds;
    }
    for (int k = -5000; k <= 5000; ++k) {
        const double p = MapLinks::phase(k * MapLinks::highlightPeriod);
        EXPECT_TRUE(p >= 0 && p < 1) << k;
    }
}

TEST(MapLinks, OnlyPlayingGroupsWithTethersCarryTheMovingHighlight) {
    const auto kitchen = speaker(1, "Kitchen"), den = speaker(2, "Den"), hall = speaker(3, "Hall"),
               loft = speaker(4, "Loft");
    const std::vector<SonosGroup> hubs{group({kitchen, den}, playingStream()), group({hall}, pausedStream()),
                                       group({loft}, playingStream())};
    const SpeakerTether a{sp(1), "Kitchen", straight({0, 0}, {10, 10}), {5, 5}};
    const SpeakerTether b{sp(2), "Den", straight({0, 0}, {30, 10}), {15, 5}};
    const SpeakerTether c{sp(3), "Hall", straight({50, 0}, {60, 10}), {55, 5}, true};
    const std::map<GroupID, std::vector<SpeakerTether>> tethers{{gid(1), {a, b}}, {gid(3), {c}}, {gid(4), {}}};

    const auto links = MapLinks::linkLayer(hubs, tethers, 0.4);
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0], (MapLinks::AcousticLink{gid(1), {{0, 0}, {10, 10}, {0, 0}, {30, 10}}, {a.segment, b.segment},
                                                {sp(1), sp(2)}, {1.0, 1.0}, 0.4}));
    EXPECT_EQ(links[1].group, gid(3));
    EXPECT_EQ(links[1].phase, std::nullopt);
    // A tether that passes behind another group's hub is drawn faint.
    EXPECT_EQ(links[1].opacities, std::vector<double>{MapLinks::behindHubOpacity});

    struct Case {
        std::vector<SonosGroup> groups;
        bool reduceMotion;
        bool animates;
    };
    for (const auto& k : {Case{hubs, false, true}, Case{hubs, true, false}, Case{{hubs[1]}, false, false}}) {
        EXPECT_EQ(MapLinks::animates(k.groups, k.reduceMotion), k.animates);
    }
}

TEST(TetherSeverButtons, OnlyGroupsOfTwoOrMoreRoomsOfferThemAtTheTethersMidpoints) {
    const auto kitchen = speaker(1, "Kitchen"), den = speaker(2, "Den"), loft = speaker(4, "Loft");
    const SpeakerTether a{sp(1), "Kitchen", straight({0, 0}, {10, 10}), {5, 5}};
    const SpeakerTether b{sp(2), "Den", straight({0, 0}, {30, 10}), {15, 5}};
    const SpeakerTether d{sp(4), "Loft", straight({0, 0}, {30, 40}), {15, 20}};
    const auto buttons = TetherSeverButtons::buttons({group({loft}), group({kitchen, den})},
                                                     {{gid(1), {a, b}}, {gid(4), {d}}});
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[1], (TetherSeverButtons::Button{gid(1), sp(2), {15, 5}, "Disconnect Den from music", "Disconnect Den"}));
}

// A sever button names its room as the room's card does: the tether carries the short name
// already, so "Bar Speaker Speaker" is "Bar Speaker" on both.
TEST(TetherSeverButtons, NameTheRoomAsItsCardDoes) {
    struct Case {
        const char* name;
        std::string roomName;
        std::string shown;
    };
    const Case cases[] = {
        {"a plain room", "Kitchen Speaker", "Kitchen"},
        {"a suffix left after shortening", "Bar Speaker Speaker", "Bar Speaker"},
        {"a soundbar named a speaker", "Den Speaker Soundbar", "Den Speaker"},
        {"blank", " \u00A0 ", "Room"},
        {"endless emoji", std::string(200, 'x') + "\U0001F3B5", std::string(63, 'x') + "\u2026"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto room = speaker(1, c.roomName), other = speaker(2, "Den");
        const SpeakerTether tether{sp(1), RoomNaming::shortName(c.roomName, false), straight({0, 0}, {10, 10}), {5, 5}};
        const auto buttons = TetherSeverButtons::buttons({group({other, room})}, {{gid(2), {tether}}});
        ASSERT_EQ(buttons.size(), 1u);
        const std::string card = mapRoomLabel(room.roomName);
        EXPECT_EQ(card, c.shown);
        EXPECT_EQ(buttons[0].helpText, "Disconnect " + card + " from music");
        EXPECT_EQ(buttons[0].accessibilityLabel, "Disconnect " + card);
    }
}

// The links glide with the cards from one grouping to the next: a room that stays in its group
// moves along, one that joins fades in, one that leaves (or whose group ends) fades out where
// it was.
TEST(MapLinks, GlideMovesKeptTethersAndFadesTheOthers) {
    const AcousticCurveSegment before = straight({0, 0}, {100, 0});
    const AcousticCurveSegment after = straight({0, 100}, {100, 100});
    const MapLinks::AcousticLink kept{gid(1), {}, {before}, {sp(2)}, {1.0}, std::nullopt};
    const MapLinks::AcousticLink moved{gid(1), {}, {after, before}, {sp(2), sp(3)}, {1.0, 1.0}, 0.3};
    const MapLinks::AcousticLink gone{gid(5), {}, {before}, {sp(5)}, {MapLinks::behindHubOpacity}, std::nullopt};

    const auto halfway = MapLinks::glide({kept, gone}, {moved}, 0.5);
    ASSERT_EQ(halfway.size(), 2u);
    EXPECT_EQ(halfway[0].segments[0], straight({0, 50}, {100, 50}));
    EXPECT_EQ(halfway[0].opacities, (std::vector<double>{1.0, 0.5}));
    EXPECT_EQ(halfway[0].phase, 0.3);
    EXPECT_EQ(halfway[1].group, gid(5));
    EXPECT_DOUBLE_EQ(halfway[1].opacities[0], MapLinks::behindHubOpacity * 0.5);
    // Room 2 left group 1: it fades out on its old curve.
    const auto left = MapLinks::glide({moved}, {MapLinks::AcousticLink{gid(1), {}, {before}, {sp(3)}, {1.0}, {}}}, 0.25);
    EXPECT_EQ(left[0].speakers, (std::vector<SpeakerUUID>{sp(3), sp(2)}));
    EXPECT_EQ(left[0].opacities, (std::vector<double>{1.0, 0.75}));

    EXPECT_EQ(MapLinks::glide({kept, gone}, {moved}, 1.0)[0].segments, moved.segments);
    EXPECT_EQ(MapLinks::glideProgress(0), 0);
    EXPECT_EQ(MapLinks::glideProgress(MapLinks::glideDuration), 1);
    EXPECT_GT(MapLinks::glideProgress(MapLinks::glideDuration / 2), 0.5) << "eased out, as the cards are";
}

}  // namespace
}  // namespace orvel::testing
