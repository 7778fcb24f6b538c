#pragma once

// Geometry the painter draws and Qt Quick 6.4 cannot: rounded rectangles with a radius per
// corner, strokes that stay inside their shape, soft shadows. Pure functions of rectangles and
// lengths, so the shapes can be checked without drawing them.

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

class QPainter;

namespace orvel {

struct CornerRadii {
    double topLeft = 0;
    double topRight = 0;
    double bottomRight = 0;
    double bottomLeft = 0;

    static CornerRadii uniform(double radius) { return {radius, radius, radius, radius}; }
    friend bool operator==(const CornerRadii&, const CornerRadii&) = default;
};

// A radius larger than half the shorter side would make the corners overlap; it is reduced to
// that half, which turns a square into a circle and a long rectangle into a capsule.
CornerRadii clampedRadii(const QRectF& rect, CornerRadii radii);

QPainterPath roundedRectPath(const QRectF& rect, CornerRadii radii);
QPainterPath capsulePath(const QRectF& rect);

// The rectangle along which a stroke of `lineWidth` runs so that the whole line lies within
// `rect`; the radius shrinks with it so the outer edge keeps the shape's corner.
QRectF insetForStroke(const QRectF& rect, double lineWidth);
double radiusInsetForStroke(double radius, double lineWidth);

// A soft shadow of `path`: the shape drawn in rings of falling opacity out to `blurRadius`,
// moved by `offset`. Drawn by the painter because shader effects draw nothing on the software
// renderer.
void paintSoftShadow(QPainter& painter, const QPainterPath& path, QColor color, double blurRadius,
                     QPointF offset);

// Room the shadow needs around the shape it falls from.
double shadowMargin(double blurRadius, QPointF offset);

}  // namespace orvel
