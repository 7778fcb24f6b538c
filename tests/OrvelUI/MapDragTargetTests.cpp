// The drop hit test of the full map: radius edge, ties, and what a dragged room never targets.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <ostream>
#include <string>

#include "MapDragFixtures.h"
#include "OrvelUI/map/NearestTarget.h"

namespace orvel::testing {
namespace {

struct TargetCase {
    std::string name;
    int dragged;
    Point at;
    std::optional<MapDropTarget> expected;
};

void PrintTo(const TargetCase& c, std::ostream* os) { *os << c.name; }

class NearestTarget : public ::testing::TestWithParam<TargetCase> {};

TEST_P(NearestTarget, FindsTheNearestCandidateWithinTheRadius) {
    RecordingMapHost host;
    const auto& c = GetParam();
    EXPECT_EQ(nearestTarget(c.at, sp(c.dragged), handPlacedMap(), host.floorplan()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NearestTarget,
    ::testing::Values(
        TargetCase{"HubExactlyAtTheRadius", 4, {300, 196}, MapDropTarget::musicHub(gid(5))},
        TargetCase{"HubJustBeyondTheRadius", 4, {300, 196.01}, std::nullopt},
        TargetCase{"RoomWinsATieWithAHub", 4, {250, 150}, MapDropTarget::speaker(sp(1))},
        TargetCase{"OwnCardIsNoTarget", 4, {500, 290}, MapDropTarget::speaker(sp(2))},
        TargetCase{"OwnHubIsNoTargetButOwnGroupsRoomsAre", 1, {720, 160}, MapDropTarget::speaker(sp(3))},
        TargetCase{"OpenFloor", 4, {950, 390}, std::nullopt}),
    [](const auto& info) { return info.param.name; });

TEST(NearestTarget, EquallyNearHubsGoToTheLargestGroupIdWhateverTheInputOrder) {
    RecordingMapHost host;
    std::mt19937 shuffle(7);
    for (int round = 0; round < 6; ++round) {
        std::shuffle(host.nodes.begin(), host.nodes.end(), shuffle);
        PrecomputedMapGeometry geometry = handPlacedMap();
        geometry.hubLocations.clear();
        std::vector<std::pair<GroupID, Point>> hubs{{gid(2), {450, 60}}, {gid(9), {550, 60}}};
        if (round % 2 == 1) std::reverse(hubs.begin(), hubs.end());
        for (const auto& [group, centre] : hubs) geometry.hubLocations.emplace(group, centre);
        EXPECT_EQ(nearestTarget({500, 60}, sp(4), geometry, host.floorplan()), MapDropTarget::musicHub(gid(9)));
    }
}

}  // namespace
}  // namespace orvel::testing
