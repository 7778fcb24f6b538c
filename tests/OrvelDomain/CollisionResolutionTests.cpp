#include <gtest/gtest.h>

#include "FloorplanFixtures.h"
#include "OrvelDomain/AcousticCurveRouter.h"

using namespace orvel;
namespace router = orvel::AcousticCurveRouter;
using router::LayoutRoomSpec;

namespace {

SpeakerUUID speaker(int n) { return floorplanTesting::id(n); }
GroupID group(int n) { return GroupID(speaker(n)); }

// Everything inside the band less 19 and no two footprints within 23 of each other.
bool isClean(const std::vector<LayoutRoomSpec>& rooms, const router::ResolvedBand& result, Rect band) {
    std::vector<Rect> footprints;
    for (const auto& room : rooms) footprints.push_back(router::nodeObstacleRect(result.roomCenters.at(room.id), room.hasSatellites));
    for (const auto& [id, center] : result.hubCenters) footprints.push_back(router::musicHubRect(center));
    for (const auto& f : footprints) {
        if (!band.insetBy(19, 19).contains(f)) return false;
    }
    for (std::size_t i = 0; i < footprints.size(); ++i) {
        for (std::size_t j = i + 1; j < footprints.size(); ++j) {
            if (footprints[i].grownBy(11.5).intersects(footprints[j].grownBy(11.5))) return false;
        }
    }
    return true;
}

}  // namespace

TEST(CollisionResolution, CoincidentRoomsSplitSmallerIdLeft) {
    const Rect band(0, 0, 1000, 300);
    const LayoutRoomSpec a{speaker(1), {500, 150}, false, false};
    const LayoutRoomSpec b{speaker(2), {500, 150}, false, false};
    // Split 84 apart, then relaxed once by 0.6 x 82 + 2 each way.
    for (const auto& rooms : {std::vector{a, b}, std::vector{b, a}}) {
        auto result = router::resolveBandCollisions(rooms, {}, band);
        EXPECT_NEAR(result.roomCenters.at(a.id).x, 406.8, 1e-9);
        EXPECT_NEAR(result.roomCenters.at(b.id).x, 593.2, 1e-9);
        EXPECT_DOUBLE_EQ(result.roomCenters.at(a.id).y, 150);
        EXPECT_TRUE(isClean(rooms, result, band));
        EXPECT_TRUE(result.hubCenters.empty());
    }
}

TEST(CollisionResolution, FixedRoomNeverMoves) {
    const Rect band(0, 0, 1000, 300);
    const LayoutRoomSpec pinned{speaker(1), {500, 150}, false, true};
    const LayoutRoomSpec loose{speaker(2), {500, 150}, false, false};
    const std::map<GroupID, Point> hubs{{group(9), {520, 160}}};
    const std::vector<LayoutRoomSpec> rooms{pinned, loose};
    auto result = router::resolveBandCollisions(rooms, hubs, band);
    EXPECT_EQ(result.roomCenters.at(pinned.id), (Point{500, 150}));
    EXPECT_NE(result.roomCenters.at(loose.id), (Point{500, 150}));
    ASSERT_EQ(result.hubCenters.size(), 1u);

    // Even outside the band a pinned room stays where the user put it.
    const LayoutRoomSpec outside{speaker(3), {-400, 900}, false, true};
    auto kept = router::resolveBandCollisions({outside}, {}, band);
    EXPECT_EQ(kept.roomCenters.at(outside.id), (Point{-400, 900}));
}

TEST(CollisionResolution, LoneHubIsOnlyClamped) {
    const Rect band(0, 0, 1000, 300);
    auto result = router::resolveBandCollisions({}, {{group(1), {100, 100}}}, band);
    EXPECT_EQ(result.hubCenters.at(group(1)), (Point{190, 100}));
    EXPECT_TRUE(result.roomCenters.empty());
}

TEST(CollisionResolution, CrowdedBandEndsCleanOrPacked) {
    const Rect band(0, 0, 1200, 420);
    std::vector<LayoutRoomSpec> rooms;
    for (int i = 0; i < 6; ++i) rooms.push_back({speaker(i + 1), {560.0 + 7 * i, 200.0 + 3 * i}, i % 2 == 0, false});
    const std::map<GroupID, Point> hubs{{group(1), {600, 210}}, {group(4), {610, 230}}};
    auto first = router::resolveBandCollisions(rooms, hubs, band);
    EXPECT_EQ(first, router::resolveBandCollisions(rooms, hubs, band));
    EXPECT_EQ(first.roomCenters.size(), 6u);
    EXPECT_EQ(first.hubCenters.size(), 2u);
    EXPECT_TRUE(isClean(rooms, first, band));
}

TEST(CollisionResolution, TooShortBandFallsBackToShelves) {
    // The clamp leaves the room at y 60, poking out of the band less 19; packing centres it
    // at the top offset instead.
    const Rect band(0, 0, 300, 120);
    const LayoutRoomSpec room{speaker(1), {10, 10}, false, false};
    auto result = router::resolveBandCollisions({room}, {}, band);
    EXPECT_EQ(result.roomCenters.at(room.id), (Point{150, 91}));
}

TEST(ShelfPack, RowsCentredAndInterleavedByPosition) {
    const Rect band(0, 0, 700, 400);
    const std::vector<LayoutRoomSpec> rooms{
        {speaker(2), {300, 105}, false, false},
        {speaker(3), {120, 300}, false, false},
        {speaker(1), {100, 100}, false, false},
    };
    const std::map<GroupID, Point> hubs{{group(7), {600, 110}}};
    auto result = router::deterministicShelfPack(rooms, hubs, band, 20, 42, 24, 24);
    // Row one: the two rooms at the top; row two: the lower room, then the hub (by x).
    EXPECT_EQ(result.roomCenters.at(speaker(1)), (Point{239, 131}));
    EXPECT_EQ(result.roomCenters.at(speaker(2)), (Point{461, 131}));
    EXPECT_EQ(result.roomCenters.at(speaker(3)), (Point{140, 286}));
    EXPECT_EQ(result.hubCenters.at(group(7)), (Point{461, 286}));

    auto pinned = rooms;
    pinned[1].isFixed = true;
    auto withPin = router::deterministicShelfPack(pinned, hubs, band, 20, 42, 24, 24);
    EXPECT_EQ(withPin.roomCenters.at(speaker(3)), (Point{120, 300}));
    EXPECT_EQ(withPin.hubCenters.at(group(7)), (Point{461, 286}));

    EXPECT_EQ(router::deterministicShelfPack({}, {}, band, 20, 42, 24, 24), router::ResolvedBand{});
}
