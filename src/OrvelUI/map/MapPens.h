#pragma once

// The pens and colour tints the map's drawn layers share.

#include <QColor>
#include <QPen>

namespace orvel {

inline QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(float(color.alphaF() * alpha));
    return color;
}

// In pen widths, as QPen counts it.
inline constexpr double mapMiterLimit = 10;

// Round caps and miter joins, as every line of the map is drawn.
inline QPen roundPen(const QBrush& brush, double width) {
    QPen pen(brush, width, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin);
    pen.setMiterLimit(mapMiterLimit);
    return pen;
}

}  // namespace orvel
