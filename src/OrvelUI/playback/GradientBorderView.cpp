#include "OrvelUI/playback/GradientBorderView.h"

#include <QLinearGradient>
#include <QPainter>

#include "OrvelUI/theme/PaintGeometry.h"

namespace orvel {

QByteArray GradientBorderView::sharedPictureKey() const {
    return "border " + QByteArray::number(radius_) + ' ' + QByteArray::number(lineWidth_) + ' ' +
           QByteArray::number(quint64(startColor_.rgba64())) + ' ' + QByteArray::number(quint64(endColor_.rgba64()));
}

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
