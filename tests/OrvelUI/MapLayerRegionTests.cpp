// How much of the map's canvas a canvas-wide layer covers as the scroller moves.

#include <gtest/gtest.h>

#include <limits>

#include "OrvelUI/map/MapLayerRegion.h"

namespace orvel::testing {
namespace {

TEST(MapLayerRegion, CoversTheShownAreaGrownToWholeStepsWithinTheCanvas) {
    const QSizeF canvas(990, 1360);
    struct Case {
        const char* what;
        QRectF visible;
        double step;
        QRectF region;
    };
    const Case cases[] = {
        {"at the top", {0, 0, 990, 600}, 128, {0, 0, 990, 640}},
        {"scrolled a little: the same region", {0, 100, 990, 600}, 128, {0, 0, 990, 768}},
        {"scrolled past a step", {0, 300, 990, 600}, 128, {0, 256, 990, 768}},
        {"at the foot: cut at the canvas", {0, 760, 990, 600}, 128, {0, 640, 990, 720}},
        {"overscrolled above the canvas", {0, -40, 990, 600}, 128, {0, 0, 990, 640}},
        {"a scroller larger than the canvas", {0, 0, 1200, 2000}, 128, {0, 0, 990, 1360}},
        {"nothing said: the whole canvas", QRectF(), 128, {0, 0, 990, 1360}},
        {"no step: the whole canvas", {0, 300, 990, 600}, 0, {0, 0, 990, 1360}},
        {"a step that is not a number", {0, 300, 990, 600}, std::numeric_limits<double>::quiet_NaN(),
         {0, 0, 990, 1360}},
        {"scrolled wholly past the canvas: nothing", {0, 2000, 990, 600}, 128, QRectF()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(paintedCanvasRegion(c.visible, canvas, c.step), c.region) << c.what;
    }
}

TEST(MapLayerRegion, AnEmptyCanvasHasNothingToCover) {
    EXPECT_TRUE(paintedCanvasRegion({0, 0, 990, 600}, QSizeF(), 128).isEmpty());
    EXPECT_TRUE(paintedCanvasRegion({0, 0, 990, 600}, QSizeF(-5, 10), 128).isEmpty());
}

}  // namespace
}  // namespace orvel::testing
