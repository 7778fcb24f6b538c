#include "OrvelUI/theme/PaintGeometry.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPathStroker>

namespace orvel {

CornerRadii clampedRadii(const QRectF& rect, CornerRadii radii) {
    const double limit = std::max(0.0, std::min(rect.width(), rect.height()) / 2);
    auto clamp = [limit](double r) { return std::clamp(r, 0.0, limit); };
    return {clamp(radii.topLeft), clamp(radii.topRight), clamp(radii.bottomRight), clamp(radii.bottomLeft)};
}

QPainterPath roundedRectPath(const QRectF& rect, CornerRadii radii) {
    const CornerRadii r = clampedRadii(rect, radii);
    QPainterPath path;
    path.moveTo(rect.left() + r.topLeft, rect.top());
    path.lineTo(rect.right() - r.topRight, rect.top());
    path.arcTo(QRectF(rect.right() - 2 * r.topRight, rect.top(), 2 * r.topRight, 2 * r.topRight), 90, -90);
    path.lineTo(rect.right(), rect.bottom() - r.bottomRight);
    path.arcTo(QRectF(rect.right() - 2 * r.bottomRight, rect.bottom() - 2 * r.bottomRight, 2 * r.bottomRight,
                      2 * r.bottomRight),
               0, -90);
    path.lineTo(rect.left() + r.bottomLeft, rect.bottom());
    path.arcTo(QRectF(rect.left(), rect.bottom() - 2 * r.bottomLeft, 2 * r.bottomLeft, 2 * r.bottomLeft), 270, -90);
    path.lineTo(rect.left(), rect.top() + r.topLeft);
    path.arcTo(QRectF(rect.left(), rect.top(), 2 * r.topLeft, 2 * r.topLeft), 180, -90);
    path.closeSubpath();
    return path;
}

QPainterPath capsulePath(const QRectF& rect) {
    return roundedRectPath(rect, CornerRadii::uniform(std::min(rect.width(), rect.height()) / 2));
}

QRectF insetForStroke(const QRectF& rect, double lineWidth) {
    const double half = lineWidth / 2;
    return rect.adjusted(half, half, -half, -half);
}

double radiusInsetForStroke(double radius, double lineWidth) { return std::max(0.0, radius - lineWidth / 2); }

double shadowMargin(double blurRadius, QPointF offset) {
    return std::ceil(blurRadius + std::max(std::abs(offset.x()), std::abs(offset.y())));
}

void paintSoftShadow(QPainter& painter, const QPainterPath& path, QColor color, double blurRadius,
                     QPointF offset) {
    if (color.alphaF() <= 0 || path.isEmpty()) return;
    painter.save();
    painter.setPen(Qt::NoPen);
    const QPainterPath moved = path.translated(offset);
    // Rings from the widest and faintest inwards; their alphas add up to about the colour's own
    // at the shape's edge and fade to nothing at the blur radius.
    const int rings = std::clamp(int(std::ceil(blurRadius / 1.5)), 1, 12);
    const double totalAlpha = color.alphaF();
    for (int i = rings; i >= 1; --i) {
        const double spread = blurRadius * i / rings;
        QPainterPathStroker stroker;
        stroker.setWidth(2 * spread);
        stroker.setJoinStyle(Qt::RoundJoin);
        stroker.setCapStyle(Qt::RoundCap);
        const QPainterPath ring = stroker.createStroke(moved).united(moved);
        QColor layer = color;
        layer.setAlphaF(float(totalAlpha / rings));
        painter.setBrush(layer);
        painter.drawPath(ring);
    }
    painter.restore();
}

}  // namespace orvel
