// The full map's geometry memo: what recomputes and what does not, and the quantised key made
// safe for any double.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "MapGeometryFixtures.h"
#include "OrvelUI/map/MapGeometryKey.h"
#include "OrvelUI/map/MapGeometryMemoizer.h"

namespace orvel::testing {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

struct MapInput {
    std::vector<FloorplanNode> nodes;
    std::vector<SonosGroup> hubGroups;
    Size viewport{1000, 700};
    MapDragState drag;
};

MapInput baseline() {
    SmallHousehold h;
    MapInput input{h.nodes, h.hubGroups, {1000, 700}, {}};
    input.drag.dragging = sp(4);
    input.drag.dragPoint = Point{300.2, 400.2};
    return input;
}

void moveFirstNode(MapInput& in, double dx) {
    auto& node = in.nodes[0];
    node.coordinate = RoomCoordinate::clamping(node.coordinate.x() + dx, node.coordinate.y());
}

TEST(MapGeometryMemo, RecomputesOnlyWhenTheQuantisedKeyChanges) {
    struct Case {
        const char* name;
        std::function<void(MapInput&)> change;
        bool recomputes;
    };
    const Case cases[] = {
        {"Nothing", [](MapInput&) {}, false},
        {"WidthBelowHalfAPoint", [](MapInput& in) { in.viewport.width += 0.4; }, false},
        {"WidthPastHalfAPoint", [](MapInput& in) { in.viewport.width += 0.6; }, true},
        {"HeightPastHalfAPoint", [](MapInput& in) { in.viewport.height -= 0.6; }, true},
        {"CoordinateBelowHalfAThousandth", [](MapInput& in) { moveFirstNode(in, 0.0004); }, false},
        {"CoordinatePastHalfAThousandth", [](MapInput& in) { moveFirstNode(in, 0.0006); }, true},
        {"DragPointBelowHalfAPoint", [](MapInput& in) { in.drag.dragPoint->x += 0.2; }, false},
        {"DragPointPastHalfAPoint", [](MapInput& in) { in.drag.dragPoint->y += 0.4; }, true},
        {"DropTargetOnly", [](MapInput& in) { in.drag.dropTarget = MapDropTarget::speaker(sp(2)); }, false},
        {"DragEnds", [](MapInput& in) { in.drag = {}; }, true},
        {"DraggedRoomChanges", [](MapInput& in) { in.drag.dragging = sp(3); }, true},
        {"RoomRenamed", [](MapInput& in) { in.nodes[0].speaker.roomName = "Pantry"; }, false},
        {"GroupStopsPlaying", [](MapInput& in) { in.hubGroups[0].playback = PlaybackState::stopped(); }, false},
        {"NodesReordered", [](MapInput& in) { std::swap(in.nodes[0], in.nodes[1]); }, true},
        {"NodeChangesFloor", [](MapInput& in) { in.nodes[3].level = FloorLevel::upper(); }, true},
        {"NodeLeavesGroup", [](MapInput& in) { in.nodes[2].group.reset(); }, true},
        {"NodeGainsSatellite", [](MapInput& in) { in.nodes[0].speaker = speaker(1, "Kitchen Speaker", 1); }, true},
        {"HubMembersReordered",
         [](MapInput& in) { std::swap(in.hubGroups[0].members[0], in.hubGroups[0].members[1]); }, true},
        {"HubGroupAdded", [](MapInput& in) { in.hubGroups.push_back(group({in.nodes[3].speaker})); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MapGeometryMemoizer memo;
        MapInput input = baseline();
        auto first = memo.memoizedGeometry(input.nodes, input.hubGroups, input.viewport, input.drag);
        c.change(input);
        auto second = memo.memoizedGeometry(input.nodes, input.hubGroups, input.viewport, input.drag);
        EXPECT_EQ(memo.computeCount(), c.recomputes ? 2 : 1);
        EXPECT_EQ(first == second, !c.recomputes) << "a hit hands back the same geometry object";
    }
}

TEST(MapGeometryMemo, KeepsTheCachedRoomNameUntilAKeyFieldChanges_AndRecomputesOnReturningToAnEarlierInput) {
    MapGeometryMemoizer memo;
    MapInput input = baseline();
    input.nodes[0].speaker.roomName = "Pantry";
    input.hubGroups[0].coordinator.roomName = "Pantry";
    auto cached = memo.memoizedGeometry(baseline().nodes, baseline().hubGroups, input.viewport, input.drag);
    auto renamed = memo.memoizedGeometry(input.nodes, input.hubGroups, input.viewport, input.drag);
    EXPECT_EQ(renamed->tethersByGroup.at(gid(1)).front().roomName, "Kitchen");

    input.viewport.width += 1;
    memo.memoizedGeometry(input.nodes, input.hubGroups, input.viewport, input.drag);
    input.viewport.width -= 1;
    auto again = memo.memoizedGeometry(input.nodes, input.hubGroups, input.viewport, input.drag);
    EXPECT_EQ(memo.computeCount(), 3);
    EXPECT_EQ(again->tethersByGroup.at(gid(1)).front().roomName, "Pantry");
}

TEST(MapGeometryKey, RoundsHalvesAwayFromZero_CountsNonFiniteAsZero_ClampsHugeValues) {
    struct Case {
        double value;
        std::int64_t key;
    };
    for (const auto& c : {Case{2.5, 3}, Case{-2.5, -3}, Case{2.49, 2}, Case{nan, 0}, Case{inf, 0}, Case{-inf, 0},
                          Case{1e300, 1'000'000'000}, Case{-1e300, -1'000'000'000}}) {
        EXPECT_EQ(MapGeometryKey::rounded(c.value), c.key) << c.value;
    }
}

TEST(MapGeometryMemo, UnusableViewportsAndDragPointsGiveFiniteGeometry) {
    struct Case {
        Size viewport;
        Point dragPoint;
        std::int64_t keyWidth;
    };
    for (const auto& c : {Case{{nan, 700}, {nan, inf}, 0}, Case{{inf, 700}, {1e300, -1e300}, 0},
                          Case{{-50, 700}, {10, 10}, 0}, Case{{30, 20}, {10, 10}, 30}}) {
        MapGeometryMemoizer memo;
        MapInput input = baseline();
        input.drag.dragPoint = c.dragPoint;
        auto geometry = memo.memoizedGeometry(input.nodes, input.hubGroups, c.viewport, input.drag);
        EXPECT_EQ(memo.lastKey()->width, c.keyWidth);
        EXPECT_TRUE(std::isfinite(geometry->canvasSize.width) && std::isfinite(geometry->canvasSize.height));
        for (const auto& [id, p] : geometry->displayPoints) {
            EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << id.rawValue();
        }
        for (const auto& [id, p] : geometry->hubLocations) EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    }
}

}  // namespace
}  // namespace orvel::testing
