#include "OrvelUI/theme/ThemedPaintedItem.h"

#include <QPainter>

#include "OrvelUI/theme/VavuzadiRudodTheme.h"

namespace orvel {

ThemedPaintedItem::ThemedPaintedItem(QQuickItem* parent) : QQuickPaintedItem(parent) {
    setAntialiasing(true);
    connect(VavuzadiRudodTheme::shared(), &VavuzadiRudodTheme::appearanceChanged, this, [this] { update(); });
}

void ThemedPaintedItem::paint(QPainter* painter) {
    painter->setRenderHint(QPainter::Antialiasing, true);
    paintContent(*painter);
}

bool ThemedPaintedItem::isDark() const { return theme().isDark(); }

const VavuzadiRudodTheme& ThemedPaintedItem::theme() const { return *VavuzadiRudodTheme::shared(); }

}  // namespace orvel
