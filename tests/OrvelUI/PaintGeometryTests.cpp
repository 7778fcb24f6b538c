#include <gtest/gtest.h>

#include <QPainterPathStroker>

#include "OrvelUI/theme/PaintGeometry.h"

using namespace orvel;

TEST(PaintGeometry, RadiiNeverExceedHalfTheShorterSide) {
    struct Case {
        QRectF rect;
        CornerRadii asked;
        CornerRadii drawn;
    };
    const Case cases[] = {
        {{0, 0, 100, 40}, CornerRadii::uniform(8), CornerRadii::uniform(8)},
        {{0, 0, 100, 40}, CornerRadii::uniform(100), CornerRadii::uniform(20)},
        {{0, 0, 100, 40}, {30, 5, -2, 20}, {20, 5, 0, 20}},
        {{0, 0, 0, 40}, CornerRadii::uniform(8), CornerRadii::uniform(0)},
    };
    for (const Case& c : cases) EXPECT_EQ(clampedRadii(c.rect, c.asked), c.drawn) << c.rect.width();
}

// The rounded outline spans its rectangle exactly, and a stroke along the inset outline stays
// inside it, whatever the corners.
TEST(PaintGeometry, OutlinesFillTheirRectangleAndInsideStrokesStayInIt) {
    struct Case {
        QRectF rect;
        CornerRadii radii;
        double lineWidth;
    };
    const Case cases[] = {
        {{10, 20, 100, 40}, CornerRadii::uniform(0), 1},
        {{10, 20, 100, 40}, CornerRadii::uniform(12), 1.4},
        {{0, 0, 30, 30}, {14, 14, 4, 4}, 3},
        {{0, 0, 60, 12}, CornerRadii::uniform(6), 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(roundedRectPath(c.rect, c.radii).boundingRect(), c.rect);
        const QRectF line = insetForStroke(c.rect, c.lineWidth);
        const CornerRadii inset{radiusInsetForStroke(c.radii.topLeft, c.lineWidth),
                                radiusInsetForStroke(c.radii.topRight, c.lineWidth),
                                radiusInsetForStroke(c.radii.bottomRight, c.lineWidth),
                                radiusInsetForStroke(c.radii.bottomLeft, c.lineWidth)};
        QPainterPathStroker stroker;
        stroker.setWidth(c.lineWidth);
        stroker.setJoinStyle(Qt::MiterJoin);
        stroker.setCapStyle(Qt::FlatCap);
        const QRectF stroked = stroker.createStroke(roundedRectPath(line, inset)).boundingRect();
        EXPECT_GE(stroked.left(), c.rect.left() - 1e-6);
        EXPECT_GE(stroked.top(), c.rect.top() - 1e-6);
        EXPECT_LE(stroked.right(), c.rect.right() + 1e-6);
        EXPECT_LE(stroked.bottom(), c.rect.bottom() + 1e-6);
    }
}
