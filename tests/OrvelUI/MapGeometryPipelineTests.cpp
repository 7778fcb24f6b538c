// The full map's geometry pipeline: canvas and bands, the dragged room, hub groups with rooms
// missing from the map, tethers, and which hub a room is nudged from when two are equally near.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "MapGeometryFixtures.h"
#include "OrvelDomain/AcousticCurveRouter.h"
#include "OrvelUI/map/MapGeometry.h"

namespace orvel::testing {
namespace {

TEST(MapGeometryPipeline, EmptyMapHasTheDefaultBandAndACanvasAtLeastTheViewport) {
    struct Case {
        Size viewport;
        Rect band;
        double canvasHeight;
    };
    for (const auto& c : {Case{{1000, 700}, Rect(24, 16, 952, 668), 700}, Case{{1000, 100}, Rect(24, 16, 952, 160), 192}}) {
        auto geometry = MapGeometry::compute({}, {}, c.viewport, {});
        ASSERT_EQ(geometry.bands.size(), 1u);
        EXPECT_EQ(geometry.bands[0].level, FloorLevel::main());
        EXPECT_EQ(geometry.bands[0].frame, c.band);
        EXPECT_EQ(geometry.canvasSize, (Size{c.viewport.width, c.canvasHeight}));
        EXPECT_TRUE(geometry.hubLocations.empty() && geometry.displayPoints.empty() && geometry.tethersByGroup.empty());
    }
}

TEST(MapGeometryPipeline, BandsBelowTheViewportGrowTheCanvasToTheLowestBandPlusItsMargin) {
    SmallHousehold h;
    h.nodes[1].level = FloorLevel::upper();
    h.nodes[2].level = FloorLevel::lower();
    auto geometry = MapGeometry::compute(h.nodes, h.hubGroups, {1000, 300}, {});
    ASSERT_EQ(geometry.bands.size(), 3u);
    EXPECT_GT(geometry.canvasSize.height, 300);
    EXPECT_EQ(geometry.canvasSize.height, geometry.bands.back().frame.maxY() + 16);
}

TEST(MapGeometryPipeline, WithoutBandsEveryRoomTakesThePlotMappingUnmoved) {
    // Too narrow for the side insets: the plot has no width, the band layout gives no band.
    SmallHousehold h;
    auto geometry = MapGeometry::compute(h.nodes, h.hubGroups, {40, 300}, {});
    EXPECT_TRUE(geometry.bands.empty());
    EXPECT_EQ(geometry.canvasSize, (Size{40, 300}));
    for (const auto& node : h.nodes) {
        EXPECT_EQ(geometry.displayPoints.at(node.id()), (Point{20, 16 + node.coordinate.y() * 268})) << node.id().rawValue();
    }
}

// Nothing runs from the pointer: only the dragged room and its tether move.
TEST(MapGeometryPipeline, TheDraggedRoomSitsAtTheDragPointAndNothingElseMoves) {
    SmallHousehold h;
    const auto still = MapGeometry::compute(h.nodes, h.hubGroups, {1000, 700}, {});
    const Point hub = still.hubLocations.at(gid(1));
    for (int dragged : {4, 2}) {
        SCOPED_TRACE(dragged);
        const MapDragState drag{sp(dragged), hub, std::nullopt};
        auto geometry = MapGeometry::compute(h.nodes, h.hubGroups, {1000, 700}, drag);
        EXPECT_EQ(geometry.displayPoints.at(sp(dragged)), hub);
        EXPECT_EQ(geometry.hubLocations, still.hubLocations);
        for (const auto& node : h.nodes) {
            if (node.id() == sp(dragged)) continue;
            EXPECT_EQ(geometry.displayPoints.at(node.id()), still.displayPoints.at(node.id()));
        }
        const auto& tethers = geometry.tethersByGroup.at(gid(1));
        for (std::size_t i = 0; i < tethers.size(); ++i) {
            EXPECT_EQ(tethers[i] == still.tethersByGroup.at(gid(1))[i], tethers[i].speakerID != sp(dragged));
        }
    }
}

TEST(MapGeometryPipeline, HubGroupsWithoutRoomsOnTheMapGetNoHubTetherOrFloorCount) {
    SmallHousehold h;
    auto withGhost = h.hubGroups;
    withGhost.push_back(group({speaker(7, "Garage"), speaker(8, "Shed")}, playingStream()));
    // A hub group whose members are partly on the map tethers only those.
    withGhost.push_back(group({h.speakers[3], speaker(9, "Attic")}, playingStream()));
    const auto plain = MapGeometry::compute(h.nodes, {h.hubGroups[0], withGhost[2]}, {1000, 700}, {});
    const auto ghost = MapGeometry::compute(h.nodes, withGhost, {1000, 700}, {});
    EXPECT_EQ(ghost.bands, plain.bands);
    EXPECT_FALSE(ghost.hubLocations.contains(gid(7)));
    EXPECT_FALSE(ghost.tethersByGroup.contains(gid(7)));

    auto ids = [](const std::vector<SpeakerTether>& tethers) {
        std::vector<SpeakerUUID> out;
        for (const auto& t : tethers) out.push_back(t.speakerID);
        return out;
    };
    EXPECT_EQ(ids(ghost.tethersByGroup.at(gid(1))), (std::vector{sp(1), sp(2), sp(3)}));
    EXPECT_EQ(ids(ghost.tethersByGroup.at(gid(4))), (std::vector{sp(4)}));
    EXPECT_EQ(ghost.tethersByGroup.at(gid(1)).front().roomName, "Kitchen");
}

TEST(MapGeometryPipeline, ARoomIsNudgedFromTheEquallyNearHubOfTheSmallestGroupIdWhateverTheInsertionOrder) {
    SmallHousehold h;
    const auto bands = MapGeometry::compute(h.nodes, {}, {1000, 700}, {}).bands;
    const Rect plot = MapGeometry::plot({1000, 700});
    const FloorplanNode& node = h.nodes[1];
    const Point base = MapGeometry::baseDisplayPoint(node, bands, plot, {});
    const Point right{base.x + 60, base.y};
    const Point left{base.x - 60, base.y};
    for (bool smallFirst : {true, false}) {
        std::map<GroupID, Point> hubs;
        if (smallFirst) {
            hubs.emplace(gid(2), right);
            hubs.emplace(gid(9), left);
        } else {
            hubs.emplace(gid(9), left);
            hubs.emplace(gid(2), right);
        }
        const Point nudged = MapGeometry::computeDisplayPoint(node, bands, hubs, plot, {});
        EXPECT_LT(nudged.x, base.x) << "pushed away from group 2's hub on the right";
    }
}

}  // namespace
}  // namespace orvel::testing
