#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "OrvelUI/theme/OrganicShapes.h"
#include "OrvelUI/theme/OrvelBrandEmblem.h"

using namespace orvel;

namespace {

std::vector<QPointF> allPoints(const CubicOutline& outline) {
    std::vector<QPointF> points{outline.start};
    for (const CubicSegment& s : outline.segments) {
        points.insert(points.end(), {s.end, s.control1, s.control2});
    }
    return points;
}

bool hasPoint(const std::vector<QPointF>& points, QPointF wanted) {
    return std::any_of(points.begin(), points.end(), [wanted](QPointF p) {
        return std::abs(p.x() - wanted.x()) < 1e-9 && std::abs(p.y() - wanted.y()) < 1e-9;
    });
}

}  // namespace

TEST(OrganicShapes, TheSilhouetteIsSymmetricAboutBothMiddleLines) {
    const CubicOutline outline = OrvelOrganicWaveSilhouetteShape::path(QRectF(0, 0, 1, 1));
    ASSERT_EQ(outline.segments.size(), 20u);
    EXPECT_EQ(outline.segments.back().end, outline.start);
    const std::vector<QPointF> points = allPoints(outline);
    for (const QPointF p : points) {
        EXPECT_TRUE(hasPoint(points, {1 - p.x(), p.y()})) << p.x() << ", " << p.y();
        EXPECT_TRUE(hasPoint(points, {p.x(), 1 - p.y()})) << p.x() << ", " << p.y();
    }
}

TEST(OrganicShapes, OutlinesHugTheMinimumCornerAtTheShorterSidesScale) {
    struct Case {
        QRectF rect;
        QRectF silhouetteEnds;  // the box of its end points
    };
    const Case cases[] = {
        {{0, 0, 100, 100}, {14.5, 16, 71, 68}},
        {{0, 0, 100, 50}, {7.25, 8, 35.5, 34}},
        {{10, 20, 40, 80}, {15.8, 26.4, 28.4, 27.2}},
    };
    for (const Case& c : cases) {
        const CubicOutline outline = OrvelOrganicWaveSilhouetteShape::path(c.rect);
        double left = outline.start.x(), right = left, top = outline.start.y(), bottom = top;
        for (const CubicSegment& s : outline.segments) {
            left = std::min(left, s.end.x());
            right = std::max(right, s.end.x());
            top = std::min(top, s.end.y());
            bottom = std::max(bottom, s.end.y());
        }
        const QRectF ends(QPointF(left, top), QPointF(right, bottom));
        EXPECT_NEAR(ends.left(), c.silhouetteEnds.left(), 1e-9);
        EXPECT_NEAR(ends.top(), c.silhouetteEnds.top(), 1e-9);
        EXPECT_NEAR(ends.width(), c.silhouetteEnds.width(), 1e-9);
        EXPECT_NEAR(ends.height(), c.silhouetteEnds.height(), 1e-9);
    }
}

// The glaze's dome reaches past the silhouette's sides, so the clip gives it its outline.
TEST(OrganicShapes, TheGlazeCrownOverhangsTheSilhouette) {
    const QRectF unit(0, 0, 100, 100);
    const QRectF crown = OrvelOrganicGlazeCrownShape::path(unit).painterPath().boundingRect();
    const QRectF silhouette = OrvelOrganicWaveSilhouetteShape::path(unit).painterPath().boundingRect();
    EXPECT_LT(crown.left(), silhouette.left());
    EXPECT_GT(crown.right(), silhouette.right());
    EXPECT_LT(crown.top(), silhouette.top());
    EXPECT_LT(crown.bottom(), silhouette.bottom());
}

TEST(OrvelBrandEmblem, TileBorderNeverGoesBelowItsFloor) {
    const std::pair<double, double> cases[] = {{20, 0.75}, {24, 0.75}, {25, 0.75}, {32, 0.96}, {100, 3}};
    for (auto [size, width] : cases) EXPECT_NEAR(OrvelBrandEmblem::tileBorderWidth(size), width, 1e-9) << size;
}
