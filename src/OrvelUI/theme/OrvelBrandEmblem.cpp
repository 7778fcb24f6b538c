#include "OrvelUI/theme/OrvelBrandEmblem.h"

#include <algorithm>

#include <QLinearGradient>
#include <QPainter>

#include "OrvelUI/theme/OrganicShapes.h"
#include "OrvelUI/theme/PaintGeometry.h"

namespace orvel {

namespace {

QColor rgb(double r, double g, double b, double a = 1) { return QColor::fromRgbF(float(r), float(g), float(b), float(a)); }

QLinearGradient twoStops(QPointF from, QPointF to, QColor first, QColor second) {
    QLinearGradient gradient(from, to);
    gradient.setColorAt(0, first);
    gradient.setColorAt(1, second);
    return gradient;
}

}  // namespace

OrvelBrandEmblem::OrvelBrandEmblem(QQuickItem* parent) : ThemedPaintedItem(parent) {
    setImplicitSize(size_, size_);
}

void OrvelBrandEmblem::setSize(double size) {
    if (assign(size_, size)) {
        setImplicitSize(size, size);
        emit emblemChanged();
    }
}

double OrvelBrandEmblem::tileBorderWidth(double size) { return std::max(size * 0.03, 0.75); }

void OrvelBrandEmblem::paintContent(QPainter& painter) {
    const bool dark = isDark();
    // The frame is size x size, centred in the item.
    const QRectF frame(boundingRect().center() - QPointF(size_, size_) / 2, QSizeF(size_, size_));
    if (size_ <= 0) return;

    if (showContainer_) {
        const double radius = tileCornerRadius(size_);
        const QLinearGradient tile = dark ? twoStops(frame.topLeft(), frame.bottomRight(), rgb(0.125, 0.092, 0.068),
                                                     rgb(0.072, 0.052, 0.038))
                                          : twoStops(frame.topLeft(), frame.bottomRight(), rgb(0.985, 0.962, 0.922),
                                                     rgb(0.935, 0.888, 0.808));
        painter.fillPath(roundedRectPath(frame, CornerRadii::uniform(radius)), tile);
        const double border = tileBorderWidth(size_);
        painter.setPen(QPen(dark ? rgb(1.0, 0.9, 0.72, 0.26) : rgb(0.76, 0.58, 0.34, 0.34), border));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(roundedRectPath(insetForStroke(frame, border),
                                         CornerRadii::uniform(radiusInsetForStroke(radius, border))));
    }

    QPainterPath silhouette = OrvelOrganicWaveSilhouetteShape::path(frame).painterPath();
    silhouette.setFillRule(Qt::WindingFill);
    paintSoftShadow(painter, silhouette, rgb(0, 0, 0, dark ? 0.36 : 0.16), size_ * 0.04, {0, size_ * 0.02});

    painter.save();
    painter.setClipPath(silhouette);
    painter.fillRect(frame, dark ? twoStops(frame.topLeft(), frame.bottomLeft(), rgb(0.85, 0.48, 0.15), rgb(0.68, 0.34, 0.09))
                                 : twoStops(frame.topLeft(), frame.bottomLeft(), rgb(0.8, 0.44, 0.13), rgb(0.64, 0.31, 0.08)));
    painter.fillPath(OrvelOrganicGlazeCrownShape::path(frame).painterPath(),
                     dark ? twoStops(frame.topLeft(), frame.bottomLeft(), rgb(1.0, 0.89, 0.48), rgb(0.95, 0.62, 0.19))
                          : twoStops(frame.topLeft(), frame.bottomLeft(), rgb(0.98, 0.83, 0.38), rgb(0.91, 0.57, 0.16)));
    painter.restore();
}

}  // namespace orvel
