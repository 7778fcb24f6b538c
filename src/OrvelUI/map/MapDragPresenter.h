#pragma once

// The drag of a room card on the full map. While the pointer moves it keeps the drag state
// (the dragged room, where the preview line ends, the current drop target) and ticks once each
// time a new target comes under the pointer. A release that has moved at least 4 points either
// groups the room with the target (a room's group, or a hub's coordinator) or pins it where it
// was dropped; a cancelled drag (Escape, a stolen grab, the window losing focus, the room
// vanishing in a sweep, the view going away) only forgets the drag and asks nothing of the
// store. Lives on the GUI thread with the map view that owns it.

#include <optional>

#include <QObject>
#include <QPointF>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include "OrvelDomain/FloorplanNode.h"
#include "OrvelDomain/Geometry.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelUI/map/MapDragHost.h"
#include "OrvelUI/map/MapDragState.h"
#include "OrvelUI/map/PrecomputedMapGeometry.h"

namespace orvel {

class Haptics;

class MapDragPresenter : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the map view")
    // Empty when no room is being dragged.
    Q_PROPERTY(QString dragging READ draggingId NOTIFY dragStateChanged)
    Q_PROPERTY(bool hasDragPoint READ hasDragPoint NOTIFY dragStateChanged)
    Q_PROPERTY(QPointF dragPoint READ dragPointF NOTIFY dragStateChanged)
    // The speaker whose card would take the drop, or empty.
    Q_PROPERTY(QString dropTargetRoom READ dropTargetRoom NOTIFY dragStateChanged)
    // The group whose hub would take the drop, or empty.
    Q_PROPERTY(QString dropTargetHub READ dropTargetHub NOTIFY dragStateChanged)
    // The selected room; a drag clears it.
    Q_PROPERTY(QString selected READ selectedId NOTIFY selectedChanged)

public:
    static constexpr double minimumDistance = 4.0;
    // Whether a pointer that has moved `translation` since the press drags: at least 4 points
    // away, measured as a distance, whatever the direction. Short of that a release is a click.
    static bool reachesMinimumDistance(Size translation);

    // Both must outlive the presenter.
    MapDragPresenter(MapDragHost& host, Haptics& haptics, QObject* parent = nullptr);

    const MapDragState& state() const { return state_; }
    const std::optional<SpeakerUUID>& selected() const { return selected_; }
    void setSelected(std::optional<SpeakerUUID> speaker);

    // One pointer move of the drag of `node`'s card, in canvas points; `translation` is the
    // movement since the press. Until the pointer has moved 4 points the drag has not begun and
    // the move is ignored; a location that is not finite is ignored too, and a move of a room
    // no longer on the map cancels. `geometry` is the map's as the drag began.
    void dragChanged(const FloorplanNode& node, const PrecomputedMapGeometry& geometry, Point location,
                     Size translation);
    // The pointer was released. Acts only on a drag of this card that is still in progress and
    // has moved at least 4 points; always ends idle. `plot` is the rectangle in which the map
    // lays out coordinates, for a room whose floor has no band.
    void dragEnded(const FloorplanNode& node, const PrecomputedMapGeometry& geometry, Rect plot, Point location,
                   Size translation);
    // The drag ended without a drop.
    Q_INVOKABLE void dragCancelled();
    // The store's map nodes changed: a drag whose room is no longer among them is cancelled.
    void floorplanChanged(const std::vector<FloorplanNode>& nodes);

    QString draggingId() const;
    bool hasDragPoint() const { return state_.dragPoint.has_value(); }
    QPointF dragPointF() const;
    QString dropTargetRoom() const;
    QString dropTargetHub() const;
    QString selectedId() const;

signals:
    void dragStateChanged();
    void selectedChanged();

private:
    void setState(MapDragState next);
    void drop(const FloorplanNode& node, const PrecomputedMapGeometry& geometry, Rect plot, Point location);

    MapDragHost& host_;
    Haptics& haptics_;
    MapDragState state_;
    std::optional<SpeakerUUID> selected_;
};

}  // namespace orvel
