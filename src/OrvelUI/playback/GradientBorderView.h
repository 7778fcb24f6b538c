#pragma once

// A rounded border drawn with a gradient from its top-leading to its bottom-trailing corner, its
// line inside the shape: the floating pill's gold-to-border edge. Qt Quick 6.4 strokes only with
// one colour.

#include <QColor>
#include <QtQml/qqmlregistration.h>

#include "OrvelUI/theme/ThemedPaintedItem.h"

namespace orvel {

class GradientBorderView : public ThemedPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double radius READ radius WRITE setRadius NOTIFY borderChanged)
    Q_PROPERTY(double lineWidth READ lineWidth WRITE setLineWidth NOTIFY borderChanged)
    Q_PROPERTY(QColor startColor READ startColor WRITE setStartColor NOTIFY borderChanged)
    Q_PROPERTY(QColor endColor READ endColor WRITE setEndColor NOTIFY borderChanged)

public:
    using ThemedPaintedItem::ThemedPaintedItem;

    double radius() const { return radius_; }
    void setRadius(double radius) {
        if (assign(radius_, radius)) emit borderChanged();
    }
    double lineWidth() const { return lineWidth_; }
    void setLineWidth(double width) {
        if (assign(lineWidth_, width)) emit borderChanged();
    }
    QColor startColor() const { return startColor_; }
    void setStartColor(QColor color) {
        if (assign(startColor_, color)) emit borderChanged();
    }
    QColor endColor() const { return endColor_; }
    void setEndColor(QColor color) {
        if (assign(endColor_, color)) emit borderChanged();
    }

signals:
    void borderChanged();

protected:
    void paintContent(QPainter& painter) override;
    QByteArray sharedPictureKey() const override;

private:
    double radius_ = 0;
    double lineWidth_ = 1;
    QColor startColor_ = Qt::white;
    QColor endColor_ = Qt::white;
};

}  // namespace orvel
