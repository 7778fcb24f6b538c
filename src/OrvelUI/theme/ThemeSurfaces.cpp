#include "OrvelUI/theme/ThemeSurfaces.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "OrvelUI/theme/PaintGeometry.h"
#include "OrvelUI/theme/VavuzadiRudodTheme.h"

namespace orvel {

namespace {

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

void paintRadialGlow(QPainter& painter, const QRectF& bounds, QPointF centre, double startRadius,
                     double endRadius, QColor color) {
    QRadialGradient glow(centre, endRadius);
    const double start = startRadius / endRadius;
    glow.setColorAt(0, color);
    glow.setColorAt(start, color);
    glow.setColorAt(1, withOpacity(color, 0));
    // Beyond its end radius the glow is transparent: only the rows its circle crosses are filled,
    // a point more on each side. Whole rows, so every row is filled from where it was before and
    // comes out the same to the last bit.
    const double side = endRadius + 1;
    const QRectF reach(bounds.left(), centre.y() - side, bounds.width(), 2 * side);
    painter.fillRect(bounds.intersected(reach), glow);
}

}  // namespace

void MidnightBackground::paintContent(QPainter& painter) {
    const QRectF bounds = boundingRect();
    const bool dark = isDark();
    QLinearGradient base(bounds.topLeft(), bounds.bottomRight());
    base.setColorAt(0, theme().obsidian());
    base.setColorAt(1, theme().slate());
    painter.fillRect(bounds, base);
    paintRadialGlow(painter, bounds, bounds.topRight(), 12, 460, withOpacity(theme().copper(), dark ? 0.16 : 0.10));
    paintRadialGlow(painter, bounds, bounds.bottomLeft(), 8, 380, withOpacity(theme().gold(), dark ? 0.10 : 0.08));
}

void AccentDisc::paintContent(QPainter& painter) {
    const QRectF bounds = boundingRect();
    QLinearGradient accent(bounds.topLeft(), bounds.bottomRight());
    accent.setColorAt(0, theme().gold());
    accent.setColorAt(1, theme().copper());
    painter.setPen(Qt::NoPen);
    painter.setBrush(accent);
    painter.drawEllipse(bounds);
}

void VavuzadiRudodCardSurface::paintContent(QPainter& painter) {
    const bool dark = isDark();
    const double margin = shadowMargin();
    const QRectF card = boundingRect().adjusted(margin, margin, -margin, -margin);
    if (card.width() <= 0 || card.height() <= 0) return;
    const QPainterPath shape = roundedRectPath(card, CornerRadii::uniform(radius_));

    if (glowing_) {
        paintSoftShadow(painter, shape, withOpacity(theme().copper(), dark ? 0.34 : 0.18), 16, {0, 6});
    } else {
        paintSoftShadow(painter, shape, QColor::fromRgbF(0, 0, 0, dark ? 0.28f : 0.07f), 10, {0, 6});
    }
    // The shadow's rings lie under the card: the card's own fill is drawn over a clean hole so a
    // translucent fill does not show the shadow through it.
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillPath(shape, Qt::transparent);
    painter.restore();
    painter.fillPath(shape, glowing_ ? theme().cardElevatedFill() : theme().cardFill());

    const double inset = radius_ * 0.7;
    const QRectF highlight(card.left() + inset, card.top() + 1, card.width() - 2 * inset, 1);
    if (highlight.width() > 0) {
        QLinearGradient line(highlight.topLeft(), highlight.topRight());
        const QColor white = Qt::white;
        line.setColorAt(0, withOpacity(white, dark ? 0.02 : 0.35));
        line.setColorAt(0.5, glowing_ ? withOpacity(theme().gold(), dark ? 0.65 : 0.85)
                                      : withOpacity(white, dark ? 0.25 : 0.85));
        line.setColorAt(1, withOpacity(white, dark ? 0.04 : 0.35));
        painter.fillRect(highlight, line);
    }

    const double lineWidth = glowing_ ? 1.4 : 1.0;
    QLinearGradient border(card.topLeft(), card.bottomRight());
    if (glowing_) {
        border.setColorAt(0, withOpacity(theme().gold(), 0.92));
        border.setColorAt(1, withOpacity(theme().copper(), 0.42));
    } else {
        border.setColorAt(0, theme().cardBorder());
        border.setColorAt(1, withOpacity(theme().cardBorder(), 0.65));
    }
    painter.setPen(QPen(QBrush(border), lineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(roundedRectPath(insetForStroke(card, lineWidth),
                                     CornerRadii::uniform(radiusInsetForStroke(radius_, lineWidth))));
}

QByteArray VavuzadiRudodCardSurface::sharedPictureKey() const {
    return "card " + QByteArray::number(glowing_) + ' ' + QByteArray::number(radius_);
}

QByteArray SoftShadow::sharedPictureKey() const {
    return "shadow " + QByteArray::number(quint64(color_.rgba64())) + ' ' + QByteArray::number(blurRadius_) + ' ' +
           QByteArray::number(radius_) + ' ' + QByteArray::number(offset_.x()) + ' ' + QByteArray::number(offset_.y()) +
           ' ' + QByteArray::number(shapeMargin_);
}

void SoftShadow::paintContent(QPainter& painter) {
    const QRectF shape = boundingRect().adjusted(shapeMargin_, shapeMargin_, -shapeMargin_, -shapeMargin_);
    if (shape.width() <= 0 || shape.height() <= 0) return;
    paintSoftShadow(painter, roundedRectPath(shape, CornerRadii::uniform(radius_)), color_, blurRadius_, offset_);
}

}  // namespace orvel
