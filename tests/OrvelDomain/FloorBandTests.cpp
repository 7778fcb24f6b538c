#include <gtest/gtest.h>

#include <cmath>

#include "FloorplanFixtures.h"
#include "TopologyFixtures.h"
#include "OrvelDomain/FloorBandLayout.h"

using namespace orvel;
using namespace orvel::floorplanTesting;
using orvel::testing::kInf;
using orvel::testing::kNaN;

namespace {

std::vector<FloorplanNode> rooms(int count, FloorLevel level, int satellites = 0, int firstId = 1) {
    std::vector<FloorplanNode> out;
    for (int i = 0; i < count; ++i) out.push_back(node(speaker(firstId + i, "Room", i == 0 ? satellites : 0), level, 0.5, 0.5));
    return out;
}

}  // namespace

TEST(FloorBand, RequiredHeight) {
    struct Case { const char* what; int nodes; int satellites; std::int64_t hubs; double width; double height; };
    const Case cases[] = {
        {"empty floor", 0, 0, 0, 1000, 154},
        {"empty floor, negative hubs", 0, 0, -3, 1000, 154},
        {"three rooms in one row of five", 3, 0, 0, 1000, 164},
        {"three rooms beside a hub", 3, 0, 1, 1000, 174},
        {"more hubs change nothing", 3, 0, 4, 1000, 174},
        {"a hub alone", 0, 0, 1, 1000, 174},
        {"satellites: a taller first row", 3, 1, 0, 1000, 194},
        {"satellites beside a hub", 3, 1, 1, 1000, 194},
        {"two rows: the second is 98 + 24", 6, 0, 0, 1000, 286},
        {"two rows with satellites: still 98 + 24", 6, 1, 0, 1000, 316},
        {"rooms past the hub go to further rows", 5, 0, 1, 1000, 152 + 122 + 22},
        {"narrow: 320 usable, one card per row", 3, 0, 0, 100, 22 + 142 + 2 * 122},
        {"NaN width counts as narrow", 3, 0, 0, kNaN, 22 + 142 + 2 * 122},
        {"infinite width: everything in one row", 40, 0, 0, kInf, 164},
        {"huge width beside a hub", 40, 0, 1, 1e300, 174},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_DOUBLE_EQ(FloorBandLayout::requiredBandHeight(rooms(c.nodes, FloorLevel::main(), c.satellites), c.hubs, c.width),
                         c.height);
    }
}

TEST(FloorBand, FloorsShareTheCanvasHeightTopFloorFirst) {
    using Span = FloorBandLayout::Span;
    auto empty = FloorBandLayout::compute({}, Rect(0, 0, 1000, 800), {});
    EXPECT_EQ(empty, (std::vector<FloorBandLayout>{{FloorLevel::main(), Rect(0, 0, 1000, 800), Rect(85, 90, 830, 650), Span{0.2, 0.8}}}));

    auto nodes = rooms(1, FloorLevel::lower());
    auto upper = rooms(1, FloorLevel::upper(), 0, 2);
    nodes.insert(nodes.end(), upper.begin(), upper.end());
    auto bands = FloorBandLayout::compute(nodes, Rect(10, 20, 1000, 600), {});
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0], (FloorBandLayout{FloorLevel::upper(), Rect(10, 20, 1000, 293), Rect(95, 110, 830, 143), Span{0.14, 0.60}}));
    EXPECT_EQ(bands[1].level, FloorLevel::lower());
    EXPECT_EQ(bands[1].frame, Rect(10, 327, 1000, 293));
    EXPECT_EQ(bands[1].ySpan, (Span{0.74, 0.88}));
}

TEST(FloorBand, HubsAndShortCanvases) {
    auto nodes = rooms(3, FloorLevel::upper());
    auto lower = rooms(1, FloorLevel::lower(), 0, 10);
    nodes.insert(nodes.end(), lower.begin(), lower.end());
    // Too short: every band keeps its required height and the stack runs past the bottom.
    auto bands = FloorBandLayout::compute(nodes, Rect(0, 0, 1000, 200), {{FloorLevel::upper(), 1}});
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0].frame, Rect(0, 0, 1000, 174));
    EXPECT_EQ(bands[1].frame, Rect(0, 188, 1000, 164));
    // A small band: the safe rectangle shrinks towards the frame's centre, never below zero.
    EXPECT_EQ(bands[1].safeInnerRect, Rect(85, 276, 830, 16));
}

TEST(FloorBand, DegenerateCanvasesHaveNoBands) {
    const auto nodes = rooms(2, FloorLevel::main());
    const Rect canvases[] = {
        Rect(0, 0, 0, 800), Rect(0, 0, 1000, 0), Rect(0, 0, kInf, 800), Rect(0, 0, 1000, kInf),
        Rect(0, 0, kNaN, 800), Rect(0, 0, 1000, kNaN), Rect(kNaN, 0, 1000, 800), Rect::null(),
    };
    for (const auto& canvas : canvases) {
        EXPECT_TRUE(FloorBandLayout::compute(nodes, canvas, {}).empty()) << canvas.width() << "x" << canvas.height();
    }
    // A canvas given with a negative size is its standardised self.
    EXPECT_EQ(FloorBandLayout::compute({}, Rect(1000, 800, -1000, -800), {}).front().frame, Rect(0, 0, 1000, 800));
}

TEST(FloorBand, PointsAndCoordinates) {
    const FloorBandLayout band = FloorBandLayout::compute({}, Rect(0, 0, 1000, 800), {}).front();
    // Safe rectangle 85...915 x 90...740; span 0.2...0.8.
    struct Case { const char* what; double x, y; bool satellites; Point point; };
    const Case cases[] = {
        {"centre", 0.5, 0.5, false, {500, 415}},
        {"top left of the span", 0, 0.2, false, {85, 90}},
        {"bottom right of the span", 1, 0.8, false, {915, 740}},
        {"just outside the span still maps (and clamps)", 1, 0.82, false, {915, 740}},
        {"another band's slice: mid-height", 0.5, 0.9, false, {500, 415}},
        {"satellites keep off the sides and bottom", 0, 0.8, true, {119, 723}},
        {"satellites, right edge", 1, 0.2, true, {881, 90}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        orvel::testing::expectNear(band.point(RoomCoordinate::clamping(c.x, c.y), c.satellites), c.point);
    }
    for (bool satellites : {false, true}) {
        for (double x : {0.0, 0.13, 0.5, 0.99}) {
            for (double y : {0.2, 0.37, 0.8}) {
                RoomCoordinate back = band.coordinate(band.point(RoomCoordinate::clamping(x, y), satellites), satellites);
                EXPECT_NEAR(back.x(), x, 1e-12);
                EXPECT_NEAR(back.y(), y, 1e-12);
            }
        }
    }
    EXPECT_EQ(band.clampPoint({-100, 5000}, true), (Point{119, 723}));
    EXPECT_EQ(band.clampPoint({300, 300}, false), (Point{300, 300}));
    RoomCoordinate dropped = band.coordinate({kNaN, 10000}, false);
    EXPECT_TRUE(std::isfinite(dropped.x()));
    EXPECT_DOUBLE_EQ(dropped.y(), 0.8);
}

TEST(FloorBand, CollapsedSafeRectangles) {
    // No safe area: every card sits at the frame's centre.
    FloorBandLayout flat{FloorLevel::main(), Rect(0, 0, 100, 100), Rect(50, 50, 0, 0), {0.2, 0.8}};
    EXPECT_EQ(flat.point(RoomCoordinate::clamping(0.1, 0.3), false), (Point{50, 50}));
    // Too narrow for the satellite margins: the range collapses to a line and `coordinate`
    // answers 0.5 across it.
    FloorBandLayout narrow{FloorLevel::main(), Rect(0, 0, 100, 300), Rect(20, 50, 60, 200), {0.2, 0.8}};
    Point p = narrow.point(RoomCoordinate::clamping(0.9, 0.5), true);
    EXPECT_DOUBLE_EQ(p.x, 50);
    EXPECT_DOUBLE_EQ(narrow.coordinate(p, true).x(), 0.5);
}
