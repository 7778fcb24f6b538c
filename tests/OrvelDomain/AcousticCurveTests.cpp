#include <gtest/gtest.h>

#include <optional>

#include "TopologyFixtures.h"
#include "OrvelDomain/AcousticCurveRouter.h"

using namespace orvel;
using orvel::testing::expectNear;
namespace router = orvel::AcousticCurveRouter;

TEST(AcousticCurveSegment, PointsMidpointAndFootprints) {
    AcousticCurveSegment s{{0, 0}, {50, -40}, {100, 0}};
    expectNear(s.point(0), {0, 0});
    expectNear(s.point(1), {100, 0});
    expectNear(s.point(0.5), s.midpoint());
    expectNear(s.midpoint(), {50, -20});
    EXPECT_EQ(router::nodeObstacleRect({100, 100}, false), Rect(29, 51, 142, 98));
    EXPECT_EQ(router::nodeObstacleRect({100, 100}, true), Rect(1, 36, 198, 128));
    EXPECT_EQ(router::musicHubRect({200, 100}), Rect(30, 46, 340, 108));
}

TEST(MusicHub, PlacementOnAnOpenBound) {
    // Inner rectangle of this bound: x 186...814, y 68...332.
    const Rect bounds(0, 0, 1000, 400);
    struct Case { const char* what; std::vector<Point> rooms; Point hub; };
    const Case cases[] = {
        {"no rooms: centre", {}, {500, 200}},
        {"room near the top: below it", {{500, 100}}, {500, 244}},
        {"room near the bottom: above it", {{500, 300}}, {500, 156}},
        {"room outside the inner rectangle: clamped", {{100, 50}}, {186, 194}},
        {"row near the top: down by at most 92", {{300, 120}, {500, 125}, {700, 130}}, {500, 217}},
        {"row near the bottom: up by at most 92", {{300, 300}, {500, 300}, {700, 300}}, {500, 208}},
        {"rooms spread vertically: centroid", {{400, 100}, {600, 300}}, {500, 200}},
    };
    for (const auto& c : cases) expectNear(router::placeMusicHub(c.rooms, {}, {}, bounds), c.hub);
}

TEST(MusicHub, PlacementClearsRoomsAndEarlierHubs) {
    const Rect bounds(0, 0, 1200, 600);
    const std::vector<Point> rooms{{600, 200}};
    // The ideal spot (600, 344) is taken by another room and by an earlier hub beside it.
    const std::vector<Rect> roomObstacles{router::nodeObstacleRect({600, 344}, false)};
    const std::vector<Rect> hubs{router::musicHubRect({300, 344})};
    Point hub = router::placeMusicHub(rooms, roomObstacles, hubs, bounds);
    std::vector<Rect> grown{roomObstacles[0].insetBy(-20, -22), hubs[0].insetBy(-24, -22)};
    EXPECT_GE(router::hubClearance(hub, grown), 0);
    EXPECT_TRUE(bounds.insetBy(186, 68).grownBy(1e-9).contains(hub));
    EXPECT_EQ(hub, router::placeMusicHub(rooms, roomObstacles, hubs, bounds));
}

TEST(MusicHub, NothingBetterThanTheReferenceKeepsIt) {
    // A bound without area: every candidate clamps to the same point as the reference.
    Point hub = router::placeMusicHub({{10, 10}}, {Rect(-50, -50, 100, 100)}, {}, Rect(0, 0, 0, 0));
    expectNear(hub, {0, 0});
    EXPECT_LT(router::hubClearance(hub, {Rect(-50, -50, 100, 100).insetBy(-20, -22)}), 0);
}

TEST(MusicHub, NudgedRoomPoint) {
    const Rect safe(0, 0, 1000, 1000);
    struct Case { const char* what; Point base; std::optional<Point> hub; Point expected; };
    const Case cases[] = {
        {"no hub", {300, 200}, std::nullopt, {300, 200}},
        {"far enough", {400, 200}, Point{200, 200}, {400, 200}},
        {"on the hub: straight up", {200, 200}, Point{200, 200}, {200, 200 - 0.82 * 148}},
        {"beside the hub: away from it", {300, 200}, Point{200, 200}, {300 + 48 * 0.82, 200}},
        {"pushed out of the safe rectangle: clamped", {200, 20}, Point{200, 20}, {200, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        expectNear(router::nudgedRoomPoint(c.base, c.hub, safe, 148), c.expected);
    }
}

TEST(Tether, BowSideAndSizeAvoidBoundsAndObstacles) {
    struct Case { const char* what; Point start, end; std::vector<Rect> obstacles; std::optional<Rect> bounds; Point control; };
    const Case cases[] = {
        {"short horizontal: bow 0.12 x length, upwards", {0, 100}, {100, 100}, {}, {}, {50, 88}},
        {"long horizontal: bow 28", {0, 100}, {400, 100}, {}, {}, {200, 72}},
        {"right to left still bulges upwards", {400, 100}, {0, 100}, {}, {}, {200, 72}},
        {"vertical downwards bulges left", {0, 0}, {0, 100}, {}, {}, {-12, 50}},
        {"vertical upwards bulges left", {0, 100}, {0, 0}, {}, {}, {-12, 50}},
        {"just under the bow limit", {0, 0}, {200, 0}, {}, {}, {100, -24}},
        {"bows down when up leaves the bounds", {50, 30}, {350, 30}, {}, Rect(0, 0, 400, 200), {200, 58}},
        // Upwards needs a bow of well over 150; downwards clears at 28, widened by 12.
        {"bows around an obstacle", {0, 200}, {400, 200}, {Rect(180, 150, 40, 30)}, {}, {200, 240}},
        // An obstacle holding the start point is the start's own card, not something to avoid.
        {"obstacles around the ends are ignored", {0, 100}, {400, 100}, {Rect(-50, 50, 100, 100)}, {}, {200, 72}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto segment = router::routeSegment(c.start, c.end, c.obstacles, c.bounds, 14);
        expectNear(segment.start, c.start);
        expectNear(segment.end, c.end);
        expectNear(segment.control, c.control);
    }
    EXPECT_DOUBLE_EQ(router::boundsMargin({{0, 0}, {1, 1}, {2, 2}}, std::nullopt), 200);
    EXPECT_DOUBLE_EQ(router::boundsMargin({{0, 0}, {1, 1}, {2, 2}}, Rect(0, 0, 0, 10)), 200);
    const Rect r(0, 0, 100, 50);
    EXPECT_DOUBLE_EQ(router::signedDistance({103, 54}, r), 5);
    EXPECT_DOUBLE_EQ(router::signedDistance({10, 20}, r), -10);
    EXPECT_DOUBLE_EQ(router::signedDistance({100, 20}, r), 0);
}

TEST(Tether, NoClearBowKeepsTheLeastBadCurve) {
    const std::vector<Rect> wall{Rect(190, -1000, 20, 3000)};
    const std::vector<Rect> padded{wall[0].grownBy(14)};
    auto segment = router::routeSegment({0, 200}, {400, 200}, wall, std::nullopt, 14);
    double clearance = router::minObstacleClearance(segment, padded, 14);
    EXPECT_LT(clearance, 0);
    for (double bow = 28; bow <= 320; bow += 8) {
        for (double side : {1.0, -1.0}) {
            AcousticCurveSegment tried{{0, 200}, {200, 200 - side * bow}, {400, 200}};
            EXPECT_GE(clearance, router::minObstacleClearance(tried, padded, 14)) << bow * side;
        }
    }
}

TEST(Tether, RouteTetherLeavesEachCardTowardsTheOther) {
    const Rect room(0, 0, 100, 100);
    const Rect hub(400, 0, 100, 100);
    auto plain = router::routeTether(room, hub, {}, std::nullopt, 0);
    expectNear(plain.start, {100, 50});
    expectNear(plain.end, {400, 50});
    expectNear(plain.control, {250, 22});

    auto inset = router::routeTether(room, hub, {}, std::nullopt, 2);
    expectNear(inset.start, {102, 50});
    expectNear(inset.end, {398, 50});

    auto diagonal = router::routeTether(room, Rect(400, 400, 100, 100), {}, std::nullopt, 0);
    expectNear(diagonal.start, {100, 100});
    expectNear(diagonal.end, {400, 400});

    // The same centre: both ends on the middle of the top edge.
    auto same = router::routeTether(room, Rect(25, 25, 50, 50), {}, std::nullopt, 0);
    expectNear(same.start, {50, 0});
    expectNear(same.end, {50, 25});

    // An obstacle overlapping either card is not avoided; one in between is.
    std::vector<Rect> obstacles{Rect(50, 20, 20, 20), Rect(240, 10, 20, 80)};
    auto routed = router::routeTether(room, hub, obstacles, std::nullopt, 0);
    EXPECT_GE(router::minObstacleClearance(routed, {obstacles[1].grownBy(14)}, 14), 0);
}

TEST(Tether, OrderedChain) {
    struct Case { const char* what; std::vector<Point> in, out; };
    const Case cases[] = {
        {"empty", {}, {}},
        {"x within 8: y decides", {{100, 0}, {104, -50}}, {{104, -50}, {100, 0}}},
        {"x apart: x decides", {{120, 0}, {104, -50}}, {{104, -50}, {120, 0}}},
        {"nearest next, not sorted next", {{0, 0}, {50, 200}, {110, 0}}, {{0, 0}, {110, 0}, {50, 200}}},
        {"keys within 1: x decides", {{10, 0}, {9.5, 1}, {300, 0}}, {{9.5, 1}, {10, 0}, {300, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(router::orderedChain(c.in), c.out);
    }
    auto chain = router::routeChain({{300, 0}, {0, 0}, {150, 0}}, {}, std::nullopt, 14);
    ASSERT_EQ(chain.size(), 2u);
    expectNear(chain[0].start, {0, 0});
    expectNear(chain[1].end, {300, 0});
    EXPECT_TRUE(router::routeChain({{1, 1}}, {}, std::nullopt, 14).empty());
}

TEST(Tether, FirstPointOutside) {
    const AcousticCurveSegment line{{0, 50}, {200, 50}, {400, 50}};
    // Start outside: the start itself.
    expectNear(router::firstPointOutside(line, Rect(10, 0, 50, 100), true), {0, 50});
    // Bisected exit from the start's card: just past its right edge (which is outside).
    Point s = router::firstPointOutside(line, Rect(0, 0, 100, 100), true);
    EXPECT_NEAR(s.x, 100, 0.01);
    EXPECT_GE(s.x, 100);
    // Walking from the end.
    Point e = router::firstPointOutside(line, Rect(300, 0, 110, 100), false);
    EXPECT_NEAR(e.x, 300, 0.01);
    EXPECT_LT(e.x, 300);
    // Both ends inside: straight ray exit, or the top middle when the ends coincide.
    expectNear(router::firstPointOutside(line, Rect(-10, 0, 500, 100), true), {490, 50});
    expectNear(router::firstPointOutside({{5, 5}, {9, 9}, {5, 5}}, Rect(0, 0, 20, 20), true), {10, 0});
}

TEST(Tether, ClippedSegment) {
    const AcousticCurveSegment line{{0, 50}, {200, 50}, {400, 50}};
    auto clipped = router::clippedSegment(line, Rect(0, 0, 100, 100), Rect(300, 0, 110, 100), 0);
    EXPECT_NEAR(clipped.start.x, 100, 0.01);
    EXPECT_NEAR(clipped.end.x, 300, 0.01);
    EXPECT_NEAR(clipped.control.x, 200, 0.01);
    EXPECT_NEAR(clipped.control.y, 50, 1e-9);

    // A deep bow is limited once clipped.
    auto limited = router::clippedSegment({{0, 50}, {200, -150}, {400, 50}}, Rect(-10, 0, 20, 100), Rect(390, 0, 20, 100), 0);
    EXPECT_LE(distance({(limited.start.x + limited.end.x) / 2, (limited.start.y + limited.end.y) / 2}, limited.control), 96 + 1e-6);

    // Ends within 2 points of each other: a straight segment, control in the middle.
    auto tiny = router::clippedSegment({{10, 10}, {15, 0}, {20, 10}}, Rect(0, 0, 15, 20), Rect(15, 0, 10, 20), 0);
    EXPECT_LE(distance(tiny.start, tiny.end), 2);
    expectNear(tiny.control, {(tiny.start.x + tiny.end.x) / 2, (tiny.start.y + tiny.end.y) / 2});
}

TEST(Tether, HandlePoint) {
    EXPECT_EQ(router::handlePoint({}, {}, {}), std::nullopt);
    const std::vector<AcousticCurveSegment> curves{
        {{0, 0}, {50, 0}, {100, 0}},
        {{0, 300}, {50, 300}, {100, 300}},
    };
    expectNear(*router::handlePoint(curves, {}, {}), {50, 0});
    // Node points near the first curve's middle: the second wins.
    expectNear(*router::handlePoint(curves, {{50, 10}, {0, 250}}, {}), {50, 300});
    // An obstacle on the second curve's middle turns it back.
    expectNear(*router::handlePoint(curves, {{50, 10}, {0, 250}}, {Rect(40, 290, 20, 20)}), {50, 0});
}

TEST(Tether, NonFiniteInputEndsWithoutHanging) {
    constexpr double nan = orvel::testing::kNaN;
    constexpr double inf = orvel::testing::kInf;
    const std::vector<Rect> obstacles{Rect(180, 150, 40, 30)};
    router::routeTether(Rect(nan, 0, 10, 10), Rect(400, 0, 10, 10), obstacles, Rect(0, 0, 500, 500), 2);
    router::routeSegment({0, 0}, {inf, 0}, obstacles, std::nullopt, 14);
    router::clippedSegment({{nan, 0}, {1, 1}, {2, 2}}, Rect(0, 0, 5, 5), Rect(0, 0, 5, 5), 0);
    EXPECT_EQ(router::orderedChain({{nan, 0}, {1, nan}, {2, 2}}).size(), 3u);
    router::placeMusicHub({{nan, nan}}, obstacles, {}, Rect(0, 0, 800, 400));
    auto band = router::resolveBandCollisions({{*SpeakerUUID::make("RINCON_00000000000101400"), {nan, inf}, false, false}},
                                              {}, Rect(0, 0, 800, 400));
    EXPECT_EQ(band.roomCenters.size(), 1u);
}
