#include "OrvellaApp/SceneInput.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QQuickItem>
#include <QQuickWindow>

namespace orvel::review {

namespace {

void send(QQuickWindow* window, QEvent::Type type, QPointF at, Qt::MouseButtons held,
          Qt::MouseButton pressed = Qt::LeftButton) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : pressed;
    QMouseEvent event(type, at, at, window->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &event);
}

}  // namespace

QQuickItem* itemNamed(QQuickItem* from, const QString& name) {
    if (from->objectName() == name) return from;
    for (QQuickItem* child : from->childItems()) {
        if (QQuickItem* found = itemNamed(child, name)) return found;
    }
    return nullptr;
}

QList<QQuickItem*> itemsNamedStartingWith(QQuickItem* from, const QString& prefix) {
    QList<QQuickItem*> found;
    if (!from->isVisible()) return found;
    if (from->objectName().startsWith(prefix)) found << from;
    for (QQuickItem* child : from->childItems()) found += itemsNamedStartingWith(child, prefix);
    return found;
}

void clickItem(QQuickWindow* window, QQuickItem* item, Qt::MouseButton button) {
    const QPointF at = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    send(window, QEvent::MouseButtonPress, at, button, button);
    send(window, QEvent::MouseButtonRelease, at, Qt::NoButton, button);
}

void holdDragOver(QQuickWindow* window, QPointF from, QPointF to) {
    send(window, QEvent::MouseButtonPress, from, Qt::LeftButton);
    constexpr int steps = 16;
    for (int i = 1; i <= steps; ++i) send(window, QEvent::MouseMove, from + (to - from) * (double(i) / steps), Qt::LeftButton);
}

}  // namespace orvel::review
