#pragma once

// The full map's presenter: it reads the household's map nodes and groups, feeds the geometry
// memo with the viewport, and hands QML the room cards, the hubs and the sever buttons as keyed
// lists, the bands and links to the painted layers, and the drag of a room card to
// MapDragPresenter. While some hub group plays it advances the links' highlight phase at most
// 30 times a second, and for the 0.38 s after a new grouping it glides the links with the cards;
// otherwise its timer stands still, so an idle map costs no CPU.
// Lives on the GUI thread.

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QPointF>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

#include "OrvelDomain/FloorplanNode.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelUI/map/CompactFloorplanMapPresenter.h"
#include "OrvelUI/map/MapDragPresenter.h"
#include "OrvelUI/map/MapGeometryMemoizer.h"
#include "OrvelUI/map/MapIntents.h"
#include "OrvelUI/map/MapLinks.h"
#include "OrvelUI/map/MapNodeModels.h"
#include "Support/Clock.h"

namespace orvel {

class FloorplanMapPresenter : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(double viewportWidth READ viewportWidth WRITE setViewportWidth NOTIFY viewportChanged)
    Q_PROPERTY(double viewportHeight READ viewportHeight WRITE setViewportHeight NOTIFY viewportChanged)
    Q_PROPERTY(double canvasWidth READ canvasWidth NOTIFY geometryChanged)
    Q_PROPERTY(double canvasHeight READ canvasHeight NOTIFY geometryChanged)
    Q_PROPERTY(orvel::MapRoomListModel* rooms READ rooms CONSTANT)
    Q_PROPERTY(orvel::MapHubListModel* hubs READ hubs CONSTANT)
    Q_PROPERTY(orvel::MapTetherListModel* tethers READ tethers CONSTANT)
    Q_PROPERTY(orvel::MapDragPresenter* drag READ drag CONSTANT)
    Q_PROPERTY(bool animating READ animating NOTIFY animatingChanged)
    Q_PROPERTY(double phase READ phase NOTIFY phaseChanged)
    // The dashed line from the drag point to the current drop target, while there is one.
    Q_PROPERTY(bool hasPreview READ hasPreview NOTIFY previewChanged)
    Q_PROPERTY(QPointF previewFrom READ previewFrom NOTIFY previewChanged)
    Q_PROPERTY(QPointF previewTo READ previewTo NOTIFY previewChanged)
    Q_PROPERTY(orvel::CompactFloorplanMapPresenter* compact READ compact CONSTANT)
    // The selected room's overlay: shown while a room on the map is selected and none is
    // dragged, centred at (overlayX, overlayY) on the canvas. Once hidden it keeps the place and
    // the controls it last had, so it fades out where it stood, showing what it showed.
    Q_PROPERTY(bool overlayVisible READ overlayVisible NOTIFY overlayChanged)
    Q_PROPERTY(double overlayX READ overlayX NOTIFY overlayChanged)
    Q_PROPERTY(double overlayY READ overlayY NOTIFY overlayChanged)
    Q_PROPERTY(QString overlaySpeakerId READ overlaySpeakerId NOTIFY overlayChanged)
    // Empty for a room in no group: the overlay then has no play button.
    Q_PROPERTY(QString overlayGroupId READ overlayGroupId NOTIFY overlayChanged)
    Q_PROPERTY(bool overlayPlaying READ overlayPlaying NOTIFY overlayChanged)
    Q_PROPERTY(int overlayVolume READ overlayVolume NOTIFY overlayChanged)
    // The overlay's last move took it from one room to another: the view glides it there. Any
    // other move (a resize, a new layout of the same room) puts it in place at once; a change
    // that does not move it leaves the flag as it was. Announced before the move itself.
    Q_PROPERTY(bool overlayGlides READ overlayGlides NOTIFY overlayGlidesChanged)

public:
    static constexpr int frameInterval = 34;  // ms: a little under 30 frames a second
    using Sever = std::function<void(const SpeakerUUID&)>;

    // All three must outlive the presenter. `sever` takes a room out of its group.
    FloorplanMapPresenter(MapDragHost& host, Haptics& haptics, Clock& clock, Sever sever, QObject* parent = nullptr);

    // Reads the host's map nodes and groups again; nothing changes when they did not.
    void refresh();
    // The store's intents for plays, volumes, menus and opening a group.
    void setIntents(MapIntents intents) { intents_ = std::move(intents); }

    double viewportWidth() const { return viewport_.width; }
    double viewportHeight() const { return viewport_.height; }
    void setViewportWidth(double width);
    void setViewportHeight(double height);
    double canvasWidth() const { return geometry_->canvasSize.width; }
    double canvasHeight() const { return geometry_->canvasSize.height; }

    MapRoomListModel* rooms() { return &rooms_; }
    MapHubListModel* hubs() { return &hubs_; }
    MapTetherListModel* tethers() { return &tethers_; }
    MapDragPresenter* drag() { return &drag_; }
    CompactFloorplanMapPresenter* compact() { return &compact_; }

    struct Overlay {
        Point center;
        QString speakerId;
        QString groupId;
        bool playing = false;
        int volume = 0;
        friend bool operator==(const Overlay&, const Overlay&) = default;
    };
    const std::optional<Overlay>& overlay() const { return overlay_; }
    bool overlayVisible() const { return overlay_.has_value(); }
    double overlayX() const { return lastOverlay_ ? lastOverlay_->center.x : 0; }
    double overlayY() const { return lastOverlay_ ? lastOverlay_->center.y : 0; }
    QString overlaySpeakerId() const { return lastOverlay_ ? lastOverlay_->speakerId : QString(); }
    QString overlayGroupId() const { return lastOverlay_ ? lastOverlay_->groupId : QString(); }
    bool overlayPlaying() const { return lastOverlay_ && lastOverlay_->playing; }
    int overlayVolume() const { return lastOverlay_ ? lastOverlay_->volume : 0; }
    bool overlayGlides() const { return overlayGlides_; }

    const PrecomputedMapGeometry& geometry() const { return *geometry_; }
    const std::vector<SonosGroup>& hubGroups() const { return hubGroups_; }
    // The link layer as it stands now: with the phase while animating, part of the way from the
    // last grouping's links while gliding.
    std::vector<MapLinks::AcousticLink> links() const;

    // The highlight travels along the links of playing groups.
    bool animating() const { return highlighting_; }
    bool gliding() const { return glideFrom_.has_value(); }
    double phase() const { return phase_; }
    // Takes the phase from the clock, as each frame does.
    void advanceFrame();

    bool hasPreview() const { return preview_.has_value(); }
    QPointF previewFrom() const;
    QPointF previewTo() const;

    // A card's drag handler took the pointer (it does on the first movement): a new gesture,
    // whatever happened to the last one.
    Q_INVOKABLE void dragBegan(const QString& speakerId);
    // A pointer move or release of a room card's drag, in canvas points, with the movement
    // since the press up to this very event. A room no longer on the map cancels. The drag
    // begins with the first move at least 4 points from the press; a release before that is a
    // click on the card (tapRoom).
    Q_INVOKABLE void dragMoved(const QString& speakerId, double x, double y, double dx, double dy);
    Q_INVOKABLE void dragReleased(const QString& speakerId, double x, double y, double dx, double dy);
    // Escape, a stolen grab: the drag ends without a drop, and the rest of that gesture (its
    // moves and its release) is ignored.
    Q_INVOKABLE void dragCancelled();
    // A tether's sever button: one tick, then the room leaves its group.
    Q_INVOKABLE void sever(const QString& speakerId);

    // A click on a room card: selects it, or, when it already is selected and in a group,
    // opens the group's page.
    Q_INVOKABLE void tapRoom(const QString& speakerId);
    // A click on a compact tile: opens its group's page; nothing for a room in no group.
    Q_INVOKABLE void tapTile(const QString& speakerId);
    // A click on the open floor.
    Q_INVOKABLE void clearSelection();
    // A hub's or the overlay's play button: one tick, then play, pause or hand off Spotify.
    Q_INVOKABLE void togglePlay(const QString& groupId);
    // A click on a hub's artwork and title.
    Q_INVOKABLE void openGroup(const QString& groupId);
    Q_INVOKABLE void setRoomVolume(const QString& speakerId, int percent);
    // Text dropped on the compact tile of `targetId`: groups the first text's room with it.
    // False when nothing was sent.
    Q_INVOKABLE bool acceptTileDrop(const QString& targetId, const QStringList& texts);
    // Context menus, built as they open: a room card's (pinned as its placement says), a
    // compact tile's (pinned never) and a hub's; a choice is reported by the entry's key.
    Q_INVOKABLE QVariantList roomMenu(const QString& speakerId);
    Q_INVOKABLE QVariantList tileMenu(const QString& speakerId);
    Q_INVOKABLE QVariantList hubMenu(const QString& groupId);
    Q_INVOKABLE void chooseMenuEntry(const QString& key);

signals:
    void viewportChanged();
    void geometryChanged();
    void animatingChanged();
    void phaseChanged();
    void previewChanged();
    void overlayChanged();
    void overlayGlidesChanged();
    // A frame of the links' glide.
    void linksChanged();
    // The grouping changed: emitted before the cards move, so the view can animate the move.
    void groupingChanged();

private:
    void recompute();
    void updateRows();
    void updateAnimation();
    void updatePreview();
    void updateOverlay();
    QVariantList menu(const QString& speakerId, bool pinnable);
    const SonosGroup* group(const QString& groupId) const;
    const FloorplanNode* node(const QString& speakerId) const;

    MapDragHost& host_;
    Haptics& haptics_;
    Clock& clock_;
    Sever sever_;
    MapDragPresenter drag_;
    MapGeometryMemoizer memo_;
    std::vector<FloorplanNode> nodes_;
    std::vector<SonosGroup> groups_;
    std::vector<SonosGroup> hubGroups_;
    Size viewport_;
    // What the canvas shows: drop targets are measured against it. While a room is dragged
    // nothing but that room moves, so the targets stay under the pointer.
    std::shared_ptr<const PrecomputedMapGeometry> geometry_;
    MapRoomListModel rooms_;
    MapHubListModel hubs_;
    MapTetherListModel tethers_;
    CompactFloorplanMapPresenter compact_;
    MapIntents intents_;
    std::string groupSignature_;
    std::optional<Overlay> overlay_;
    // What the overlay showed last, kept while it is hidden.
    std::optional<Overlay> lastOverlay_;
    bool overlayGlides_ = false;
    std::vector<ContextMenuEntry> menu_;
    QTimer frames_;
    bool highlighting_ = false;
    double phase_ = 0;
    // The links as they were drawn when the grouping changed, and when that was.
    std::optional<std::vector<MapLinks::AcousticLink>> glideFrom_;
    double glideStart_ = 0;
    double glideProgress_ = 1;
    std::optional<std::pair<Point, Point>> preview_;
    // The room whose gesture was cancelled and still holds the pointer.
    std::optional<QString> cancelledGesture_;
};

}  // namespace orvel
