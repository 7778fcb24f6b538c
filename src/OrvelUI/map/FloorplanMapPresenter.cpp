#include "FloorplanMapPresenter.h"

#include "OrvelDomain/RoomNaming.h"
#include "OrvelUI/map/MapGeometry.h"
#include "OrvelUI/map/TetherSeverButtons.h"
#include "OrvelUI/playback/ActiveHubGroups.h"
#include "OrvelUI/theme/Haptics.h"

namespace orvel {

namespace {

QString text(const std::string& value) { return QString::fromStdString(value); }

}  // namespace

FloorplanMapPresenter::FloorplanMapPresenter(MapDragHost& host, Haptics& haptics, Clock& clock, Sever sever,
                                             QObject* parent)
    : QObject(parent), host_(host), haptics_(haptics), clock_(clock), sever_(std::move(sever)), drag_(host, haptics) {
    frames_.setInterval(frameInterval);
    connect(&frames_, &QTimer::timeout, this, &FloorplanMapPresenter::advanceFrame);
    connect(&drag_, &MapDragPresenter::dragStateChanged, this, [this] {
        if (drag_.state().isIdle()) dragGeometry_.reset();
        recompute();
    });
    geometry_ = memo_.memoizedGeometry(nodes_, hubGroups_, viewport_, drag_.state());
    refresh();
}

void FloorplanMapPresenter::refresh() {
    const auto& nodes = host_.floorplan();
    const auto& groups = host_.groups();
    if (nodes == nodes_ && groups == groups_) return;
    nodes_ = nodes;
    groups_ = groups;
    hubGroups_ = deduplicatedActiveHubGroups(groups_);
    drag_.floorplanChanged(nodes_);
    updateAnimation();
    recompute();
    // Playing flags live in the rows even when no position moved.
    updateRows();
}

void FloorplanMapPresenter::setViewportWidth(double width) {
    if (viewport_.width == width) return;
    viewport_.width = width;
    emit viewportChanged();
    recompute();
}

void FloorplanMapPresenter::setViewportHeight(double height) {
    if (viewport_.height == height) return;
    viewport_.height = height;
    emit viewportChanged();
    recompute();
}

void FloorplanMapPresenter::recompute() {
    auto next = memo_.memoizedGeometry(nodes_, hubGroups_, viewport_, drag_.state());
    // The memo hands back the very same object for an unchanged key: nothing to redraw.
    if (next != geometry_) {
        geometry_ = std::move(next);
        updateRows();
        emit geometryChanged();
    }
    updatePreview();
}

void FloorplanMapPresenter::updateRows() {
    const PrecomputedMapGeometry& g = *geometry_;
    const Rect plot = MapGeometry::plot(g.canvasSize);

    std::vector<MapRoomRow> rooms;
    rooms.reserve(nodes_.size());
    for (const FloorplanNode& node : nodes_) {
        const SonosGroup* group = nullptr;
        if (node.group) {
            for (const auto& candidate : groups_) {
                if (candidate.id == *node.group) {
                    group = &candidate;
                    break;
                }
            }
        }
        const auto shown = g.displayPoints.find(node.id());
        const Point at = shown != g.displayPoints.end() ? shown->second
                                                         : MapGeometry::baseDisplayPoint(node, g.bands, plot, drag_.state());
        rooms.push_back(MapRoomRow{text(node.id().rawValue()), text(RoomNaming::shortName(node.speaker.roomName, false)),
                                   text(std::string(node.speaker.model.caseName())), at.x, at.y,
                                   node.speaker.reachability.isOnline(), group && group->playback.isPlaying(),
                                   group && g.hubLocations.contains(group->id),
                                   !node.speaker.bondedSatellites.empty()});
    }
    rooms_.setRows(std::move(rooms));

    std::vector<MapHubRow> hubs;
    for (const SonosGroup& group : hubGroups_) {
        const auto at = g.hubLocations.find(group.id);
        if (at == g.hubLocations.end()) continue;
        hubs.push_back(MapHubRow{text(group.id.description()), text(group.displayName), at->second.x, at->second.y,
                                 group.playback.isPlaying()});
    }
    hubs_.setRows(std::move(hubs));

    std::vector<MapTetherRow> tethers;
    for (const auto& button : TetherSeverButtons::buttons(hubGroups_, g.tethersByGroup)) {
        tethers.push_back(MapTetherRow{text(button.group.description()), text(button.speakerID.rawValue()),
                                       button.center.x, button.center.y, text(button.helpText)});
    }
    tethers_.setRows(std::move(tethers));
}

std::vector<MapLinks::AcousticLink> FloorplanMapPresenter::links() const {
    return MapLinks::linkLayer(hubGroups_, geometry_->tethersByGroup,
                               animating() ? std::optional<double>(phase_) : std::nullopt);
}

void FloorplanMapPresenter::updateAnimation() {
    // Reduce motion has no desktop source here: it stays off.
    const bool animate = MapLinks::animates(hubGroups_, false);
    if (animate == frames_.isActive()) return;
    if (animate) {
        frames_.start();
        advanceFrame();
    } else {
        frames_.stop();
    }
    emit animatingChanged();
}

void FloorplanMapPresenter::advanceFrame() {
    const double next = MapLinks::phase(clock_.now().secondsSinceReferenceDate());
    if (next == phase_) return;
    phase_ = next;
    emit phaseChanged();
}

void FloorplanMapPresenter::updatePreview() {
    std::optional<std::pair<Point, Point>> next;
    const MapDragState& state = drag_.state();
    if (state.dragPoint && state.dropTarget) {
        const PrecomputedMapGeometry& g = *geometry_;
        if (const auto* hub = state.dropTarget->asMusicHub()) {
            if (const auto at = g.hubLocations.find(hub->id); at != g.hubLocations.end()) {
                next = std::pair(*state.dragPoint, at->second);
            }
        } else if (const auto* room = state.dropTarget->asSpeaker()) {
            if (const auto at = g.displayPoints.find(room->id); at != g.displayPoints.end()) {
                next = std::pair(*state.dragPoint, at->second);
            }
        }
    }
    if (next == preview_) return;
    preview_ = next;
    emit previewChanged();
}

QPointF FloorplanMapPresenter::previewFrom() const {
    return preview_ ? QPointF(preview_->first.x, preview_->first.y) : QPointF();
}

QPointF FloorplanMapPresenter::previewTo() const {
    return preview_ ? QPointF(preview_->second.x, preview_->second.y) : QPointF();
}

const FloorplanNode* FloorplanMapPresenter::node(const QString& speakerId) const {
    const std::string id = speakerId.toStdString();
    for (const auto& n : nodes_) {
        if (n.id().rawValue() == id) return &n;
    }
    return nullptr;
}

void FloorplanMapPresenter::dragBegan(const QString& speakerId) {
    Q_UNUSED(speakerId);
    cancelledGesture_.reset();
}

void FloorplanMapPresenter::dragMoved(const QString& speakerId, double x, double y, double dx, double dy) {
    if (cancelledGesture_ == speakerId) return;
    const FloorplanNode* found = node(speakerId);
    if (!found) {
        drag_.dragCancelled();
        return;
    }
    if (!dragGeometry_) dragGeometry_ = geometry_;
    // The node is copied: the drag may recompute the rows it was read from.
    const FloorplanNode moved = *found;
    const auto geometry = dragGeometry_;
    drag_.dragChanged(moved, *geometry, Point{x, y}, Size{dx, dy});
}

void FloorplanMapPresenter::dragReleased(const QString& speakerId, double x, double y, double dx, double dy) {
    if (cancelledGesture_ == speakerId) {
        cancelledGesture_.reset();
        return;
    }
    const FloorplanNode* found = node(speakerId);
    if (!found) {
        drag_.dragCancelled();
        return;
    }
    const FloorplanNode dropped = *found;
    const auto geometry = dragGeometry_ ? dragGeometry_ : geometry_;
    drag_.dragEnded(dropped, *geometry, MapGeometry::plot(geometry->canvasSize), Point{x, y}, Size{dx, dy});
}

void FloorplanMapPresenter::dragCancelled() {
    if (const auto& dragging = drag_.state().dragging) cancelledGesture_ = QString::fromStdString(dragging->rawValue());
    drag_.dragCancelled();
}

void FloorplanMapPresenter::sever(const QString& speakerId) {
    const auto id = SpeakerUUID::make(speakerId.toStdString());
    if (!id || !sever_) return;
    haptics_.perform();
    sever_(*id);
}

}  // namespace orvel
