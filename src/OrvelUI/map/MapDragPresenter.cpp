#include "MapDragPresenter.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "MapGeometry.h"
#include "NearestTarget.h"
#include "OrvelUI/theme/Haptics.h"

namespace orvel {

namespace {

bool isFinite(Point p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

bool hasSatellites(const FloorplanNode& node) {
    return !node.speaker.bondedSatellites.empty();
}

bool isOnMap(const SpeakerUUID& speaker, const std::vector<FloorplanNode>& nodes) {
    return std::any_of(nodes.begin(), nodes.end(), [&](const FloorplanNode& node) { return node.id() == speaker; });
}

// The drop's room coordinate: relative to the room's own floor band, or to the plot when its
// floor has no band.
RoomCoordinate droppedCoordinate(const FloorplanNode& node, const PrecomputedMapGeometry& geometry, Rect plot,
                                 Point location) {
    if (const FloorBandLayout* band = MapGeometry::bandOf(geometry.bands, node.level)) {
        return band->coordinate(location, hasSatellites(node));
    }
    const double x = plot.width() > 0 ? (location.x - plot.minX()) / plot.width() : 0.5;
    const double y = plot.height() > 0 ? (location.y - plot.minY()) / plot.height() : 0.5;
    return RoomCoordinate::clamping(x, y);
}

}  // namespace

// NaN compares below nothing, so a translation that is not finite never counts as movement.
bool MapDragPresenter::reachesMinimumDistance(Size translation) {
    return std::hypot(translation.width, translation.height) >= minimumDistance;
}

MapDragPresenter::MapDragPresenter(MapDragHost& host, Haptics& haptics, QObject* parent)
    : QObject(parent), host_(host), haptics_(haptics) {}

void MapDragPresenter::setSelected(std::optional<SpeakerUUID> speaker) {
    if (selected_ == speaker) return;
    selected_ = std::move(speaker);
    emit selectedChanged();
}

void MapDragPresenter::setState(MapDragState next) {
    if (state_ == next) return;
    state_ = std::move(next);
    emit dragStateChanged();
}

void MapDragPresenter::dragChanged(const FloorplanNode& node, const PrecomputedMapGeometry& geometry, Point location,
                                   Size translation) {
    const bool inProgress = state_.dragging == node.id();
    if (!isFinite(location) || (!inProgress && !reachesMinimumDistance(translation))) return;
    // A room a sweep has removed does not start dragging again on the pointer's next move.
    if (!isOnMap(node.id(), host_.floorplan())) return dragCancelled();

    setSelected(std::nullopt);
    auto target = nearestTarget(location, node.id(), geometry, host_.floorplan());
    Point preview = location;
    if (!target) {
        if (const FloorBandLayout* band = MapGeometry::bandOf(geometry.bands, node.level)) {
            preview = band->clampPoint(location, hasSatellites(node));
        }
    }
    if (target && target != state_.dropTarget) haptics_.perform();
    setState(MapDragState{node.id(), preview, std::move(target)});
}

void MapDragPresenter::dragEnded(const FloorplanNode& node, const PrecomputedMapGeometry& geometry, Rect plot,
                                 Point location, Size translation) {
    const bool acts = state_.dragging == node.id() && isFinite(location) && reachesMinimumDistance(translation) &&
                      isOnMap(node.id(), host_.floorplan());
    // Idle first: a store call may change the state the map redraws from.
    setState(MapDragState{});
    if (acts) drop(node, geometry, plot, location);
}

void MapDragPresenter::drop(const FloorplanNode& node, const PrecomputedMapGeometry& geometry, Rect plot,
                            Point location) {
    const auto target = nearestTarget(location, node.id(), geometry, host_.floorplan());
    if (!target) {
        host_.moveRoom(node.id(), droppedCoordinate(node, geometry, plot, location));
        return;
    }
    haptics_.perform();
    if (const auto* room = target->asSpeaker()) {
        host_.group(node.id(), room->id);
        return;
    }
    const GroupID hub = target->asMusicHub()->id;
    std::optional<SpeakerUUID> coordinator;
    for (const auto& group : host_.groups()) {
        if (group.id == hub) {
            coordinator = group.coordinator.id;
            break;
        }
    }
    // The hub's group has gone since the drag began, or the dragged room leads it.
    if (!coordinator || *coordinator == node.id()) return;
    host_.group(node.id(), *coordinator);
}

void MapDragPresenter::dragCancelled() {
    setState(MapDragState{});
}

void MapDragPresenter::floorplanChanged(const std::vector<FloorplanNode>& nodes) {
    if (state_.dragging && !isOnMap(*state_.dragging, nodes)) dragCancelled();
}

QString MapDragPresenter::draggingId() const {
    return state_.dragging ? QString::fromStdString(state_.dragging->rawValue()) : QString();
}

QPointF MapDragPresenter::dragPointF() const {
    return state_.dragPoint ? QPointF(state_.dragPoint->x, state_.dragPoint->y) : QPointF();
}

QString MapDragPresenter::dropTargetRoom() const {
    const auto* room = state_.dropTarget ? state_.dropTarget->asSpeaker() : nullptr;
    return room ? QString::fromStdString(room->id.rawValue()) : QString();
}

QString MapDragPresenter::dropTargetHub() const {
    const auto* hub = state_.dropTarget ? state_.dropTarget->asMusicHub() : nullptr;
    return hub ? QString::fromStdString(hub->id.description()) : QString();
}

QString MapDragPresenter::selectedId() const {
    return selected_ ? QString::fromStdString(selected_->rawValue()) : QString();
}

}  // namespace orvel
