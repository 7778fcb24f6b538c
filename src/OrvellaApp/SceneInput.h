#pragma once

// What the review scenes do to the window as a user would: find an item by name, click it,
// drag with the button held down.

#include <QList>
#include <QPointF>
#include <QString>
#include <Qt>

class QQuickItem;
class QQuickWindow;

namespace orvel::review {

// Delegates of views are not QObject children of the view, so items are found along the item tree.
QQuickItem* itemNamed(QQuickItem* from, const QString& name);
// The visible items whose name starts with `prefix`, in the item tree's order.
QList<QQuickItem*> itemsNamedStartingWith(QQuickItem* from, const QString& prefix);

// A click at the item's centre, as the pointer would give it.
void clickItem(QQuickWindow* window, QQuickItem* item, Qt::MouseButton button = Qt::LeftButton);

// Presses the left button at `from` and moves the pointer to `to` in small steps, leaving the
// button down: the picture shows the drag under way.
void holdDragOver(QQuickWindow* window, QPointF from, QPointF to);

}  // namespace orvel::review
