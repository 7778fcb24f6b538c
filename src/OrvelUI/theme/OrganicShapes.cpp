#include "OrvelUI/theme/OrganicShapes.h"

#include <algorithm>
#include <array>

namespace orvel {

namespace {

struct UnitSegment {
    QPointF end, control1, control2;
};

// Places unit-square points at the rectangle's minimum corner, scaled by its shorter side.
struct UnitPlacement {
    QPointF origin;
    double scale;
    explicit UnitPlacement(const QRectF& rect)
        : origin(rect.topLeft()), scale(std::min(rect.width(), rect.height())) {}
    QPointF operator()(QPointF unit) const { return origin + unit * scale; }
    CubicSegment operator()(const UnitSegment& s) const { return {(*this)(s.end), (*this)(s.control1), (*this)(s.control2)}; }
};

// A wave passes its points with horizontal tangents: both controls sit halfway across.
UnitSegment waveStep(QPointF from, QPointF to) {
    const double midX = (from.x() + to.x()) / 2;
    return {to, {midX, from.y()}, {midX, to.y()}};
}

}  // namespace

QPainterPath CubicOutline::painterPath() const {
    QPainterPath path;
    path.moveTo(start);
    for (const CubicSegment& s : segments) path.cubicTo(s.control1, s.control2, s.end);
    path.closeSubpath();
    return path;
}

CubicOutline OrvelOrganicWaveSilhouetteShape::path(const QRectF& in) {
    static const std::array<UnitSegment, 10> topEdge{{
        {{0.215, 0.375}, {0.145, 0.41875}, {0.1814, 0.375}},
        {{0.288, 0.468}, {0.2515, 0.375}, {0.2515, 0.468}},
        {{0.358, 0.25}, {0.323, 0.468}, {0.323, 0.25}},
        {{0.429, 0.448}, {0.3935, 0.25}, {0.3935, 0.448}},
        {{0.5, 0.16}, {0.4645, 0.448}, {0.4645, 0.16}},
        {{0.571, 0.448}, {0.5355, 0.16}, {0.5355, 0.448}},
        {{0.642, 0.25}, {0.6065, 0.448}, {0.6065, 0.25}},
        {{0.712, 0.468}, {0.677, 0.25}, {0.677, 0.468}},
        {{0.785, 0.375}, {0.7485, 0.468}, {0.7485, 0.375}},
        {{0.855, 0.5}, {0.8186, 0.375}, {0.855, 0.41875}},
    }};
    // The bottom edge's points, left to right; walked from the last to the first.
    static const std::array<QPointF, 9> bottomPoints{{
        {0.215, 0.625}, {0.288, 0.532}, {0.358, 0.75}, {0.429, 0.552}, {0.5, 0.84},
        {0.571, 0.552}, {0.642, 0.75}, {0.712, 0.532}, {0.785, 0.625},
    }};
    const UnitPlacement place(in);
    CubicOutline outline{place(QPointF(0.145, 0.5)), {}};
    for (const UnitSegment& s : topEdge) outline.segments.push_back(place(s));
    outline.segments.push_back(place(UnitSegment{bottomPoints.back(), {0.855, 0.58125}, {0.8186, 0.625}}));
    for (std::size_t i = bottomPoints.size() - 1; i > 0; --i) {
        outline.segments.push_back(place(waveStep(bottomPoints[i], bottomPoints[i - 1])));
    }
    outline.segments.push_back(place(UnitSegment{{0.145, 0.5}, {0.1814, 0.625}, {0.145, 0.58125}}));
    return outline;
}

CubicOutline OrvelOrganicGlazeCrownShape::path(const QRectF& in) {
    static const std::array<UnitSegment, 4> segments{{
        {{0.5, 0.49}, {0.24, 0.44}, {0.36, 0.55}},
        {{0.92, 0.47}, {0.64, 0.43}, {0.76, 0.54}},
        {{0.5, 0.04}, {0.94, 0.14}, {0.72, 0.04}},
        {{0.08, 0.53}, {0.28, 0.04}, {0.06, 0.14}},
    }};
    const UnitPlacement place(in);
    CubicOutline outline{place(QPointF(0.08, 0.53)), {}};
    for (const UnitSegment& s : segments) outline.segments.push_back(place(s));
    return outline;
}

}  // namespace orvel
