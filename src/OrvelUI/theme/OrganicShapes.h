#pragma once

// The two outlines of the brand emblem, each a move and cubic Bézier segments in a unit square
// placed at the rectangle's minimum corner and scaled by its shorter side.

#include <vector>

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

namespace orvel {

struct CubicSegment {
    QPointF end;
    QPointF control1;
    QPointF control2;
    friend bool operator==(const CubicSegment&, const CubicSegment&) = default;
};

struct CubicOutline {
    QPointF start;
    std::vector<CubicSegment> segments;

    QPainterPath painterPath() const;
    friend bool operator==(const CubicOutline&, const CubicOutline&) = default;
};

struct OrvelOrganicWaveSilhouetteShape {
    static CubicOutline path(const QRectF& in);
};

struct OrvelOrganicGlazeCrownShape {
    static CubicOutline path(const QRectF& in);
};

}  // namespace orvel
