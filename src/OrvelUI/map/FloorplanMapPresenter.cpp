#include "FloorplanMapPresenter.h"

#include <cmath>

#include <QMetaObject>
#include <QStringList>

#include "OrvelUI/common/ContextMenuVariant.h"
#include "OrvelUI/common/SpeakerGroupContextMenu.h"
#include "OrvelUI/map/CompactFloorplan.h"
#include "OrvelUI/map/MapGeometry.h"
#include "OrvelUI/map/MapGroupSignature.h"
#include "OrvelUI/map/MapRows.h"
#include "OrvelUI/map/SelectedNodeOverlay.h"
#include "OrvelUI/map/TetherSeverButtons.h"
#include "OrvelUI/playback/ActiveHubGroups.h"
#include "OrvelUI/theme/Haptics.h"

namespace orvel {

namespace {

QString text(const std::string& value) { return QString::fromStdString(value); }

std::optional<SpeakerUUID> speakerId(const QString& value) { return SpeakerUUID::make(value.toStdString()); }

}  // namespace

FloorplanMapPresenter::FloorplanMapPresenter(MapDragHost& host, Haptics& haptics, Clock& clock, Sever sever,
                                             QObject* parent)
    : QObject(parent), host_(host), haptics_(haptics), clock_(clock), sever_(std::move(sever)), drag_(host, haptics) {
    frames_.setInterval(frameInterval);
    connect(&frames_, &QTimer::timeout, this, &FloorplanMapPresenter::advanceFrame);
    connect(&drag_, &MapDragPresenter::dragStateChanged, this, [this] { recompute(); });
    connect(&drag_, &MapDragPresenter::selectedChanged, this, [this] {
        updateRows();
        updateOverlay();
    });
    geometry_ = memo_.memoizedGeometry(nodes_, hubGroups_, viewport_, drag_.state());
    refresh();
}

void FloorplanMapPresenter::refresh() {
    const auto& nodes = host_.floorplan();
    const auto& groups = host_.groups();
    if (nodes == nodes_ && groups == groups_) return;
    std::vector<MapLinks::AcousticLink> drawn = links();
    nodes_ = nodes;
    groups_ = groups;
    hubGroups_ = deduplicatedActiveHubGroups(groups_);
    if (std::string signature = mapGroupSignature(groups_); signature != groupSignature_) {
        const bool first = groupSignature_.empty();
        groupSignature_ = std::move(signature);
        // The links glide from where they are drawn now (the first household has nothing to
        // glide from).
        if (!first) {
            glideFrom_ = std::move(drawn);
            glideStart_ = clock_.now().secondsSinceReferenceDate();
            glideProgress_ = 0;
        }
        emit groupingChanged();
    }
    drag_.floorplanChanged(nodes_);
    // A selected room that left the map is no longer selected.
    if (const auto& selected = drag_.selected(); selected && !node(text(selected->rawValue()))) {
        drag_.setSelected(std::nullopt);
    }
    updateAnimation();
    recompute();
    // Playing flags, volumes and chips live in the rows even when no position moved.
    updateRows();
    updateOverlay();
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
        emit geometryChanged();
    }
    // The drop target shows on the cards even when nothing moved.
    updateRows();
    updatePreview();
    updateOverlay();
}

void FloorplanMapPresenter::updateRows() {
    const PrecomputedMapGeometry& g = *geometry_;
    const Rect plot = MapGeometry::plot(g.canvasSize);

    const MapDragState& drag = drag_.state();
    const auto& selected = drag_.selected();
    const SpeakerUUID* targetRoom = nullptr;
    if (drag.dropTarget) {
        if (const auto* room = drag.dropTarget->asSpeaker()) targetRoom = &room->id;
    }
    std::vector<MapRoomRow> rooms;
    rooms.reserve(nodes_.size());
    for (const FloorplanNode& node : nodes_) {
        const SonosGroup* group = groupOf(node, groups_);
        const auto shown = g.displayPoints.find(node.id());
        const Point at = shown != g.displayPoints.end() ? shown->second
                                                         : MapGeometry::baseDisplayPoint(node, g.bands, plot, drag);
        const MapRoomFlags flags{group && group->playback.isPlaying(), group && g.hubLocations.contains(group->id),
                                 selected && *selected == node.id(), targetRoom && *targetRoom == node.id()};
        rooms.push_back(mapRoomRow(node, flags, at));
    }
    rooms_.setRows(std::move(rooms));

    std::vector<MapHubRow> hubs;
    for (const SonosGroup& group : hubGroups_) {
        const auto at = g.hubLocations.find(group.id);
        if (at == g.hubLocations.end()) continue;
        hubs.push_back(mapHubRow(group, at->second));
    }
    hubs_.setRows(std::move(hubs));

    std::vector<MapTetherRow> tethers;
    for (const auto& button : TetherSeverButtons::buttons(hubGroups_, g.tethersByGroup)) {
        tethers.push_back(MapTetherRow{text(button.group.description()), text(button.speakerID.rawValue()),
                                       button.center.x, button.center.y, text(button.helpText),
                                       text(button.accessibilityLabel)});
    }
    tethers_.setRows(std::move(tethers));

    compact_.update(nodes_, groups_, hubGroups_, selected);
}

void FloorplanMapPresenter::updateOverlay() {
    std::optional<Overlay> next;
    const auto& selected = drag_.selected();
    const FloorplanNode* shown = selected && !drag_.state().dragging ? node(text(selected->rawValue())) : nullptr;
    if (shown) {
        const PrecomputedMapGeometry& g = *geometry_;
        const Rect plot = MapGeometry::plot(g.canvasSize);
        const auto at = g.displayPoints.find(shown->id());
        const Point anchor = at != g.displayPoints.end()
                                 ? at->second
                                 : MapGeometry::baseDisplayPoint(*shown, g.bands, plot, drag_.state());
        const SonosGroup* group = groupOf(*shown, groups_);
        next = Overlay{SelectedNodeOverlay::center(anchor, !shown->speaker.bondedSatellites.empty(), plot),
                       text(shown->id().rawValue()), group ? text(group->id.description()) : QString(),
                       group && group->playback.isPlaying(), shown->speaker.volume.percent()};
    }
    if (next == overlay_) return;
    // Only a move says how it is shown: a new volume halfway through a glide must not cut the
    // glide short.
    if (next && (!lastOverlay_ || lastOverlay_->center != next->center)) {
        const bool glides = lastOverlay_ && lastOverlay_->speakerId != next->speakerId;
        if (glides != overlayGlides_) {
            overlayGlides_ = glides;
            emit overlayGlidesChanged();
        }
    }
    if (next) lastOverlay_ = next;
    overlay_ = std::move(next);
    emit overlayChanged();
}

const SonosGroup* FloorplanMapPresenter::group(const QString& groupId) const {
    const std::string id = groupId.toStdString();
    for (const auto& g : groups_) {
        if (g.id.description() == id) return &g;
    }
    return nullptr;
}

std::vector<MapLinks::AcousticLink> FloorplanMapPresenter::links() const {
    auto now = MapLinks::linkLayer(hubGroups_, geometry_->tethersByGroup,
                                   highlighting_ ? std::optional<double>(phase_) : std::nullopt);
    if (!glideFrom_) return now;
    return MapLinks::glide(*glideFrom_, now, glideProgress_);
}

void FloorplanMapPresenter::updateAnimation() {
    // Reduce motion has no desktop source here: it stays off.
    const bool highlight = MapLinks::animates(hubGroups_, false);
    const bool run = highlight || gliding();
    if (run != frames_.isActive()) {
        if (run) frames_.start();
        else frames_.stop();
    }
    if (highlight == highlighting_) return;
    highlighting_ = highlight;
    if (highlighting_) advanceFrame();
    emit animatingChanged();
}

void FloorplanMapPresenter::advanceFrame() {
    const double seconds = clock_.now().secondsSinceReferenceDate();
    if (glideFrom_) {
        glideProgress_ = MapLinks::glideProgress(seconds - glideStart_);
        if (glideProgress_ >= 1) glideFrom_.reset();
        emit linksChanged();
        if (!glideFrom_) updateAnimation();
    }
    const double next = MapLinks::phase(seconds);
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
    // The node and the geometry are held: the drag may recompute the rows and the geometry
    // they were read from.
    const FloorplanNode moved = *found;
    const auto geometry = geometry_;
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
    // The pointer never went 4 points from the press, so no drag began: the press was a click.
    const bool finite = std::isfinite(dx) && std::isfinite(dy);
    if (finite && drag_.state().dragging != found->id() && !MapDragPresenter::reachesMinimumDistance(Size{dx, dy})) {
        tapRoom(speakerId);
        return;
    }
    const FloorplanNode dropped = *found;
    const auto geometry = geometry_;
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

void FloorplanMapPresenter::tapRoom(const QString& speakerId) {
    const FloorplanNode* tapped = node(speakerId);
    if (!tapped) return;
    if (drag_.selected() != tapped->id()) {
        drag_.setSelected(tapped->id());
        return;
    }
    if (tapped->group && intents_.openGroup) intents_.openGroup(*tapped->group);
}

void FloorplanMapPresenter::tapTile(const QString& speakerId) {
    const FloorplanNode* tapped = node(speakerId);
    if (tapped && tapped->group && intents_.openGroup) intents_.openGroup(*tapped->group);
}

void FloorplanMapPresenter::clearSelection() { drag_.setSelected(std::nullopt); }

void FloorplanMapPresenter::togglePlay(const QString& groupId) {
    const SonosGroup* found = group(groupId);
    if (!found || !intents_.togglePlayOrHandOffSpotify) return;
    const SonosGroup toggled = *found;
    haptics_.perform();
    intents_.togglePlayOrHandOffSpotify(toggled);
}

void FloorplanMapPresenter::openGroup(const QString& groupId) {
    const auto id = speakerId(groupId);
    if (id && intents_.openGroup) intents_.openGroup(GroupID(*id));
}

void FloorplanMapPresenter::setRoomVolume(const QString& speakerIdText, int percent) {
    const auto id = speakerId(speakerIdText);
    if (!id || !intents_.send) return;
    intents_.send(SonosCommand::setVolume(DiscreteVolume::snappingPercent(percent), VolumeTarget::speaker(*id)));
}

bool FloorplanMapPresenter::acceptTileDrop(const QString& targetId, const QStringList& texts) {
    const FloorplanNode* target = node(targetId);
    if (!target) return false;
    std::vector<std::string> dropped;
    dropped.reserve(static_cast<std::size_t>(texts.size()));
    for (const QString& t : texts) dropped.push_back(t.toStdString());
    const auto member = CompactFloorplan::droppedMember(dropped, target->id());
    if (!member) return false;
    const SpeakerUUID onto = target->id();
    host_.group(*member, onto);
    return true;
}

QVariantList FloorplanMapPresenter::menu(const QString& speakerIdText, bool pinnable) {
    menu_.clear();
    const FloorplanNode* shown = node(speakerIdText);
    if (!shown || !intents_.speakers) return {};
    SpeakerGroupContextMenu menu;
    if (const SonosGroup* found = groupOf(*shown, groups_)) menu.group = *found;
    menu.speaker = shown->speaker;
    menu.isPinnedOnMap = pinnable && shown->placement == Placement::pinned;
    menu.canOpenGroup = static_cast<bool>(intents_.openGroup);
    const std::vector<Speaker> speakers = intents_.speakers();
    menu_ = menu.entries(speakers);
    return contextMenuVariant(menu_);
}

QVariantList FloorplanMapPresenter::roomMenu(const QString& speakerId) { return menu(speakerId, true); }

QVariantList FloorplanMapPresenter::tileMenu(const QString& speakerId) { return menu(speakerId, false); }

QVariantList FloorplanMapPresenter::hubMenu(const QString& groupId) {
    menu_.clear();
    const SonosGroup* found = group(groupId);
    if (!found || !intents_.speakers) return {};
    SpeakerGroupContextMenu menu;
    menu.group = *found;
    menu.canOpenGroup = static_cast<bool>(intents_.openGroup);
    const std::vector<Speaker> speakers = intents_.speakers();
    menu_ = menu.entries(speakers);
    return contextMenuVariant(menu_);
}

void FloorplanMapPresenter::chooseMenuEntry(const QString& key) {
    const ContextMenuEntry* entry = findContextMenuEntry(menu_, key.toStdString());
    if (!entry || !intents_.performMenuIntent) return;
    // The new grouping may rebuild the very card whose menu is still closing.
    QMetaObject::invokeMethod(
        this, [perform = intents_.performMenuIntent, intent = entry->intent] { perform(intent); },
        Qt::QueuedConnection);
}

}  // namespace orvel
