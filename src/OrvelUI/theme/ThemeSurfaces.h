#pragma once

// The theme's painted surfaces: the window background and the glass card behind cards,
// banners and docks, plus a stand-in that casts a soft shadow for any rounded shape.

#include <QColor>
#include <QPointF>
#include <QtQml/qqmlregistration.h>

#include "OrvelUI/theme/ThemedPaintedItem.h"

namespace orvel {

// Fills its whole item, which the window stretches under every inset.
class MidnightBackground : public ThemedPaintedItem {
    Q_OBJECT
    QML_ELEMENT

public:
    using ThemedPaintedItem::ThemedPaintedItem;

protected:
    void paintContent(QPainter& painter) override;
    QByteArray sharedPictureKey() const override { return QByteArrayLiteral("midnight"); }
    bool opaquePicture() const override { return true; }
};

// The glass card: fill, top highlight, gradient border inside the edge and its shadow. The
// item is larger than the card by `shadowMargin` on every side, so the shadow is not clipped.
class VavuzadiRudodCardSurface : public ThemedPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool glowing READ glowing WRITE setGlowing NOTIFY styleChanged)
    Q_PROPERTY(double radius READ radius WRITE setRadius NOTIFY styleChanged)
    Q_PROPERTY(double shadowMargin READ shadowMargin CONSTANT)

public:
    using ThemedPaintedItem::ThemedPaintedItem;

    bool glowing() const { return glowing_; }
    void setGlowing(bool glowing) {
        if (assign(glowing_, glowing)) emit styleChanged();
    }
    double radius() const { return radius_; }
    void setRadius(double radius) {
        if (assign(radius_, radius)) emit styleChanged();
    }
    static double shadowMargin() { return 22; }

signals:
    void styleChanged();

protected:
    void paintContent(QPainter& painter) override;
    QByteArray sharedPictureKey() const override;

private:
    bool glowing_ = false;
    double radius_ = 16;
};

// A circle filling its item with the accent's diagonal gradient, gold at the top-leading corner
// to copper at the bottom-trailing one (a linked account's avatar).
class AccentDisc : public ThemedPaintedItem {
    Q_OBJECT
    QML_ELEMENT

public:
    using ThemedPaintedItem::ThemedPaintedItem;

protected:
    void paintContent(QPainter& painter) override;
    QByteArray sharedPictureKey() const override { return QByteArrayLiteral("accentDisc"); }
};

// A soft shadow or glow of a rounded rectangle (a circle when the radius is half the side),
// drawn around its item's inner `shapeMargin` inset; what casts it is laid over it.
class SoftShadow : public ThemedPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY shadowChanged)
    Q_PROPERTY(double blurRadius READ blurRadius WRITE setBlurRadius NOTIFY shadowChanged)
    Q_PROPERTY(double radius READ radius WRITE setRadius NOTIFY shadowChanged)
    Q_PROPERTY(QPointF offset READ offset WRITE setOffset NOTIFY shadowChanged)
    Q_PROPERTY(double shapeMargin READ shapeMargin WRITE setShapeMargin NOTIFY shadowChanged)

public:
    using ThemedPaintedItem::ThemedPaintedItem;

    QColor color() const { return color_; }
    void setColor(QColor c) {
        if (assign(color_, c)) emit shadowChanged();
    }
    double blurRadius() const { return blurRadius_; }
    void setBlurRadius(double r) {
        if (assign(blurRadius_, r)) emit shadowChanged();
    }
    double radius() const { return radius_; }
    void setRadius(double r) {
        if (assign(radius_, r)) emit shadowChanged();
    }
    QPointF offset() const { return offset_; }
    void setOffset(QPointF o) {
        if (assign(offset_, o)) emit shadowChanged();
    }
    double shapeMargin() const { return shapeMargin_; }
    void setShapeMargin(double m) {
        if (assign(shapeMargin_, m)) emit shadowChanged();
    }

signals:
    void shadowChanged();

protected:
    void paintContent(QPainter& painter) override;
    QByteArray sharedPictureKey() const override;

private:
    QColor color_ = Qt::black;
    double blurRadius_ = 4;
    double radius_ = 0;
    QPointF offset_;
    double shapeMargin_ = 8;
};

}  // namespace orvel
