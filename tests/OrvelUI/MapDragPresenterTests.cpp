// The room drag of the full map: ticks while moving, what a release does, and cancelled drags
// that leave nothing behind.

#include <gtest/gtest.h>

#include <QSignalSpy>

#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "MapDragFixtures.h"
#include "OrvelUI/map/MapDragPresenter.h"
#include "OrvelUI/theme/Haptics.h"

namespace orvel::testing {
namespace {

struct DragRig {
    RecordingMapHost host;
    Haptics haptics;
    PrecomputedMapGeometry geometry = handPlacedMap();
    Rect plot{0, 0, 1000, 500};
    std::unique_ptr<MapDragPresenter> presenter = std::make_unique<MapDragPresenter>(host, haptics);
    // The nodes as each card's gesture captured them, as the map hands them in.
    std::map<int, FloorplanNode> captured;

    const FloorplanNode& card(int room) {
        if (auto it = captured.find(room); it != captured.end()) return it->second;
        return captured.emplace(room, host.node(room)).first->second;
    }
    void move(int room, Point to, Size translation = {40, 0}) {
        presenter->dragChanged(card(room), geometry, to, translation);
    }
    void release(int room, Point at, Size translation = {40, 0}) {
        presenter->dragEnded(card(room), geometry, plot, at, translation);
    }
};

TEST(MapDrag, TicksOncePerNewTargetAndEndsThePreviewAtThePointerOrTheClampedBandPoint) {
    DragRig rig;
    rig.presenter->setSelected(sp(3));
    rig.move(4, {10, 10}, {2, 2});
    EXPECT_TRUE(rig.presenter->state().isIdle()) << "under 4 points the drag has not begun";

    struct Step {
        Point to;
        std::optional<MapDropTarget> target;
        Point preview;
        int ticks;
    };
    const std::vector<Step> steps{
        {{300, 150}, MapDropTarget::musicHub(gid(5)), {300, 150}, 1},
        {{210, 190}, MapDropTarget::speaker(sp(1)), {210, 190}, 2},
        {{950, 390}, std::nullopt, {900, 350}, 2},
        {{215, 195}, MapDropTarget::speaker(sp(1)), {215, 195}, 3},
        {{220, 200}, MapDropTarget::speaker(sp(1)), {220, 200}, 3},
    };
    for (const auto& step : steps) {
        rig.move(4, step.to);
        EXPECT_EQ(rig.presenter->state(), (MapDragState{sp(4), step.preview, step.target}));
        EXPECT_EQ(rig.haptics.performedCount(), step.ticks);
    }
    EXPECT_FALSE(rig.presenter->selected()) << "a drag clears the selection";
    EXPECT_TRUE(rig.host.calls.empty());
}

void onUpperFloor(DragRig& rig) { rig.host.nodes[0].level = FloorLevel::upper(); }

TEST(MapDrag, ReleaseGroupsPinsOrDoesNothingAndAlwaysEndsIdle) {
    struct Case {
        const char* name;
        int room;
        Point at;
        Size translation;
        std::function<void(DragRig&)> setUp;
        std::vector<std::string> calls;
        int ticks;
    };
    const Case cases[] = {
        {"below the minimum distance", 1, {300, 250}, {3.9, 0}, nullptr, {}, 0},
        {"exactly the minimum distance pins at the band coordinate", 1, {300, 250}, {0, 4}, nullptr,
         {"move 1 to 0.250 0.667"}, 0},
        {"outside the band pins clamped", 1, {950, 390}, {40, 0}, nullptr, {"move 1 to 1.000 1.000"}, 0},
        {"floor without band pins on the plot", 1, {100, 450}, {40, 0}, onUpperFloor, {"move 1 to 0.100 0.900"}, 0},
        {"floor without band pins clamped to the plot", 1, {-50, 600}, {40, 0}, onUpperFloor,
         {"move 1 to 0.000 1.000"}, 0},
        {"empty plot pins at the middle", 1, {-50, 600}, {40, 0},
         [](DragRig& rig) {
             onUpperFloor(rig);
             rig.plot = Rect(0, 0, 0, 0);
         },
         {"move 1 to 0.500 0.500"}, 0},
        {"onto a hub joins its coordinator", 4, {700, 110}, {40, 0}, nullptr, {"group 4 onto 1"}, 1},
        {"onto a room joins it", 4, {500, 210}, {40, 0}, nullptr, {"group 4 onto 2"}, 1},
        {"onto the hub of a vanished group only ticks", 4, {300, 110}, {40, 0}, nullptr, {}, 1},
        {"coordinator onto its own hub only ticks", 1, {700, 110}, {40, 0},
         [](DragRig& rig) { rig.host.nodes[0].group.reset(); }, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DragRig rig;
        if (c.setUp) c.setUp(rig);
        rig.move(c.room, {960, 20});  // open floor: no tick before the release
        rig.release(c.room, c.at, c.translation);
        EXPECT_EQ(rig.host.calls, c.calls);
        EXPECT_EQ(rig.haptics.performedCount(), c.ticks);
        EXPECT_TRUE(rig.presenter->state().isIdle());
    }
}

TEST(MapDrag, CancelledDragLeavesNoStateAndCallsNothing) {
    struct Case {
        const char* name;
        std::function<void(DragRig&)> cancel;
    };
    const Case cases[] = {
        // Escape, a stolen grab and a deactivated window all reach the presenter this way.
        {"cancelled", [](DragRig& rig) { rig.presenter->dragCancelled(); }},
        {"room removed by a sweep",
         [](DragRig& rig) {
             rig.host.nodes.pop_back();
             rig.presenter->floorplanChanged(rig.host.nodes);
             rig.move(4, {500, 220});  // the pointer moves on before the release
         }},
        {"room removed before the map heard",
         [](DragRig& rig) {
             rig.host.nodes.pop_back();
             rig.release(4, {500, 210});
         }},
        {"release where there is no point",
         [](DragRig& rig) { rig.release(4, {std::numeric_limits<double>::quiet_NaN(), 210}); }},
        {"release of another card", [](DragRig& rig) { rig.release(3, {500, 210}); }},
        {"view torn down", [](DragRig& rig) { rig.presenter.reset(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DragRig rig;
        rig.move(4, {500, 210});
        ASSERT_EQ(rig.haptics.performedCount(), 1);
        QSignalSpy changed(rig.presenter.get(), &MapDragPresenter::dragStateChanged);
        c.cancel(rig);
        if (rig.presenter) {
            EXPECT_TRUE(rig.presenter->state().isIdle());
            EXPECT_EQ(changed.count(), 1);
            EXPECT_TRUE(rig.presenter->dropTargetRoom().isEmpty() && rig.presenter->draggingId().isEmpty());
            rig.release(4, {500, 210});  // a release arriving after the cancel
        }
        EXPECT_TRUE(rig.host.calls.empty());
        EXPECT_EQ(rig.haptics.performedCount(), 1);
    }
}

TEST(MapDrag, AFloorplanChangeThatKeepsTheDraggedRoomKeepsTheDrag) {
    DragRig rig;
    rig.move(4, {500, 210});
    rig.host.nodes.erase(rig.host.nodes.begin());
    rig.presenter->floorplanChanged(rig.host.nodes);
    EXPECT_EQ(rig.presenter->state().dragging, sp(4));
}

}  // namespace
}  // namespace orvel::testing
