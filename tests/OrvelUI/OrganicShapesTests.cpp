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

// The outline keeps its proportions: it scales with the shorter side from the rectangle's
// top-left corner.
TEST(OrganicShapes, OutlinesHugTheMinimumCornerAtTheShorterSidesScale) {
    const auto endsOf = [](QRectF rect) {
        const CubicOutline outline = OrvelOrganicWaveSilhouetteShape::path(rect);
        double left = outline.start.x(), right = left, top = outline.start.y(), bottom = top;
        for (const CubicSegment& s : outline.segments) {
            left = std::min(left, s.end.x());
            right = std::max(right, s.end.x());
            top = std::min(top, s.end.y());
            bottom = std::max(bottom, s.end.y());
        }
        return QRectF(QPointF(left, top), QPointF(right, bottom));
    };
    const QRectF square = endsOf({0, 0, 100, 100});
    for (const QRectF rect : {QRectF(0, 0, 100, 50), QRectF(10, 20, 40, 80)}) {
        const double scale = std::min(rect.width(), rect.height()) / 100;
        const QRectF ends = endsOf(rect);
        EXPECT_NEAR(ends.left(), rect.left() + square.left() * scale, 1e-9) << rect.width();
        EXPECT_NEAR(ends.top(), rect.top() + square.top() * scale, 1e-9) << rect.width();
        EXPECT_NEAR(ends.width(), square.width() * scale, 1e-9) << rect.width();
        EXPECT_NEAR(ends.height(), square.height() * scale, 1e-9) << rect.width();
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
