#pragma once

// The one painted-item base of the views: a QQuickPaintedItem that repaints when the
// appearance changes and hands its subclasses a painter with antialiasing on. Everything
// Qt Quick 6.4 cannot draw on the software renderer (clip paths, gradient strokes, per-corner
// radii, soft shadows) is drawn by a subclass from pure geometry functions.

#include <QQuickPaintedItem>

#include "OrvelUI/theme/ColorScheme.h"

namespace orvel {

class VavuzadiRudodTheme;

class ThemedPaintedItem : public QQuickPaintedItem {
    Q_OBJECT

public:
    explicit ThemedPaintedItem(QQuickItem* parent = nullptr);

    void paint(QPainter* painter) final;

protected:
    virtual void paintContent(QPainter& painter) = 0;
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
};

}  // namespace orvel
