#pragma once

// The one painted-item base of the views: an item drawn with a QPainter that repaints when the
// appearance changes and hands its subclasses a painter with antialiasing on. Everything
// Qt Quick 6.4 cannot draw on the software renderer (clip paths, gradient strokes, per-corner
// radii, soft shadows) is drawn by a subclass from pure geometry functions.
//
// Unlike QQuickPaintedItem it keeps one picture per item: it paints into an image that becomes
// the node's texture and is then let go. A painted item on the software renderer otherwise
// holds its picture twice (its pixmap and the texture made from it), which for the map's
// canvas-wide layers was most of the window's memory. Items that name what they draw with a
// key share one picture among all items with that key, size and appearance.

#include <QByteArray>
#include <QImage>
#include <QQuickItem>

#include "OrvelUI/theme/ColorScheme.h"

namespace orvel {

class VavuzadiRudodTheme;

class ThemedPaintedItem : public QQuickItem {
    Q_OBJECT

public:
    explicit ThemedPaintedItem(QQuickItem* parent = nullptr);

    // Draws the item into `painter` at its own size; the scene graph calls it through
    // updatePaintNode, tests call it directly.
    void paint(QPainter* painter);

protected:
    virtual void paintContent(QPainter& painter) = 0;
    // What the picture shows besides the item's size, scale and the appearance: items with the
    // same key draw the same pixels, so they share one picture. Empty (the default): the item
    // draws a picture of its own.
    virtual QByteArray sharedPictureKey() const { return {}; }
    // A picture without transparent pixels: it covers what lies beneath, which the renderer then
    // leaves undrawn.
    virtual bool opaquePicture() const { return false; }
    bool isDark() const;
    const VavuzadiRudodTheme& theme() const;
    // For property setters: stores the value and repaints when it changed.
    template <typename T>
    bool assign(T& field, const T& value) {
        if (field == value) return false;
        field = value;
        update();
        return true;
    }

    QSGNode* updatePaintNode(QSGNode* old, UpdatePaintNodeData* data) override;
    QImage paintPicture(QSize pixels, qreal ratio);
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;
    void itemChange(ItemChange change, const ItemChangeData& value) override;
};

}  // namespace orvel
