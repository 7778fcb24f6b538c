#include "OrvelUI/playback/GradientBorderView.h"

#include <QLinearGradient>
#include <QPainter>

#include "OrvelUI/theme/PaintGeometry.h"

namespace orvel {

void GradientBorderView::paintContent(QPainter& painter) {
    const QRectF bounds = boundingRect();
    if (bounds.width() <= lineWidth_ || bounds.height() <= lineWidth_ || lineWidth_ <= 0) return;
    QLinearGradient gradient(bounds.topLeft(), bounds.bottomRight());
    gradient.setColorAt(0, startColor_);
    gradient.setColorAt(1, endColor_);
    painter.setPen(QPen(QBrush(gradient), lineWidth_));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(roundedRectPath(insetForStroke(bounds, lineWidth_),
                                     CornerRadii::uniform(radiusInsetForStroke(radius_, lineWidth_))));
}

}  // namespace orvel
