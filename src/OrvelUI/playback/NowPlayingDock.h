#pragma once

// The presenter behind the now-playing dock and the phone's pill: what one group plays, its
// transport, volume, group switcher and up-next card. One instance lives for the window; the
// root view hands it each new dock group, so the open/closed state of the floating cards
// survives a switch of group. Every action goes to the store through the intents it is given.

#include <functional>
#include <optional>
#include <vector>

#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/QueueItem.h"
#include "OrvelDomain/SonosCommand.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelUI/playback/UpNextQueueCard.h"

namespace orvel {

// The store's intents the dock uses; an intent left empty does nothing.
struct DockIntents {
    std::function<void(const SonosGroup&)> togglePlayOrHandOffSpotify;
    std::function<void(SonosCommand)> send;
    std::function<void(const QueueItem&, const GroupID&)> playQueueItem;
    std::function<void(const GroupID&)> dissolveGroup;
    std::function<void()> refreshSpotifyQueueIfNeeded;
};

// Where the dock sends its group's volume: the one speaker of a lone room, else the group.
VolumeTarget dockVolumeTarget(const SonosGroup& group);
// A volume target as a volume control's owner: the kind and the id, so a lone room's speaker
// and the group it leads later are told apart.
QString volumeOwnerKey(const VolumeTarget& target);

class NowPlayingDock : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the root view")

    Q_PROPERTY(bool phoneLayout READ phoneLayout CONSTANT)
    Q_PROPERTY(bool hasGroup READ hasGroup NOTIFY groupChanged)
    Q_PROPERTY(QString groupId READ groupId NOTIFY groupChanged)
    Q_PROPERTY(QString displayName READ displayName NOTIFY groupChanged)
    Q_PROPERTY(QString primaryTitle READ primaryTitle NOTIFY groupChanged)
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY groupChanged)
    Q_PROPERTY(QString floatingPillSubtitle READ floatingPillSubtitle NOTIFY groupChanged)
    // Empty when no source line shows.
    Q_PROPERTY(QString sourceLine READ sourceLine NOTIFY groupChanged)
    Q_PROPERTY(QUrl artworkURL READ artworkURL NOTIFY groupChanged)
    Q_PROPERTY(bool playing READ playing NOTIFY groupChanged)
    Q_PROPERTY(QString playSymbol READ playSymbol NOTIFY groupChanged)
    Q_PROPERTY(bool skipAllowed READ skipAllowed NOTIFY groupChanged)
    Q_PROPERTY(bool showsQueueButton READ showsQueueButton NOTIFY groupChanged)
    Q_PROPERTY(bool showsUngroupButton READ showsUngroupButton NOTIFY groupChanged)
    Q_PROPERTY(QString ungroupHelp READ ungroupHelp NOTIFY groupChanged)
    Q_PROPERTY(int volume READ volume NOTIFY groupChanged)
    // Whose volume the dock shows: the lone room's speaker or the group (see dockVolumeTarget).
    Q_PROPERTY(QString volumeOwner READ volumeOwner NOTIFY groupChanged)
    Q_PROPERTY(QString volumeSymbol READ volumeSymbol NOTIFY groupChanged)
    Q_PROPERTY(bool showsGroupSwitcher READ showsGroupSwitcher NOTIFY groupChanged)
    Q_PROPERTY(QString groupSwitcherLabel READ groupSwitcherLabel NOTIFY groupChanged)
    // The queue card's header (empty strings: the line is left out).
    Q_PROPERTY(QString queueHeaderSource READ queueHeaderSource NOTIFY groupChanged)
    Q_PROPERTY(QString queueHeaderTitle READ queueHeaderTitle NOTIFY groupChanged)
    Q_PROPERTY(QString queueHeaderArtist READ queueHeaderArtist NOTIFY groupChanged)
    Q_PROPERTY(bool showingQueuePopover READ showingQueuePopover NOTIFY popoversChanged)
    Q_PROPERTY(bool showingVolumePopover READ showingVolumePopover NOTIFY popoversChanged)
    Q_PROPERTY(bool queueCardVisible READ queueCardVisible NOTIFY popoversChanged)
    Q_PROPERTY(bool volumeCardVisible READ volumeCardVisible NOTIFY popoversChanged)
    Q_PROPERTY(orvel::UpNextQueueCard* queue READ queue CONSTANT)

public:
    using Open = std::function<void(const GroupID&)>;
    using SelectDockGroup = std::function<void(const GroupID&)>;

    NowPlayingDock(bool phoneLayout, bool showQueueAtStart, Open onOpen, SelectDockGroup onSelectDockGroup,
                   QObject* parent = nullptr);

    void setIntents(DockIntents intents) { intents_ = std::move(intents); }
    // The group shown (none: no dock) and the groups the switcher offers. Emits only when either
    // changed.
    void setGroups(std::optional<SonosGroup> group, std::vector<SonosGroup> eligibleGroups);

    bool phoneLayout() const { return phoneLayout_; }
    bool hasGroup() const { return group_.has_value(); }
    QString groupId() const;
    QString displayName() const;
    QString primaryTitle() const;
    QString subtitle() const;
    QString floatingPillSubtitle() const;
    QString sourceLine() const;
    QUrl artworkURL() const;
    bool playing() const;
    QString playSymbol() const;
    bool skipAllowed() const;
    bool showsQueueButton() const { return currentTrack() != nullptr; }
    bool showsUngroupButton() const { return group_ && group_->speakers().size() >= 2; }
    QString ungroupHelp() const;
    int volume() const { return group_ ? group_->volume.percent() : 0; }
    QString volumeOwner() const;
    QString volumeSymbol() const;
    bool showsGroupSwitcher() const { return eligible_.size() >= 2; }
    QString groupSwitcherLabel() const;
    QString queueHeaderSource() const;
    QString queueHeaderTitle() const;
    QString queueHeaderArtist() const;
    bool showingQueuePopover() const { return showingQueue_; }
    bool showingVolumePopover() const { return showingVolume_; }
    // The queue card shows only under a track; the flag keeps its value meanwhile.
    bool queueCardVisible() const { return showingQueue_ && currentTrack() != nullptr; }
    bool volumeCardVisible() const { return showingVolume_ && phoneLayout_; }
    UpNextQueueCard* queue() { return &queue_; }

    // The switcher's entries, built when its menu opens: {groupId, name, checked}.
    Q_INVOKABLE QVariantList groupSwitcherEntries() const;

    Q_INVOKABLE void open();
    Q_INVOKABLE void selectGroup(const QString& groupId);
    Q_INVOKABLE void togglePlay();
    // Disabled while skipping is not allowed: nothing is sent.
    Q_INVOKABLE void previous();
    Q_INVOKABLE void next();
    Q_INVOKABLE void ungroup();
    Q_INVOKABLE void changeVolume(int percent);
    // The queue button: closes the volume card; opening asks for a fresh Spotify queue.
    Q_INVOKABLE void toggleQueuePopover();
    Q_INVOKABLE void closeQueuePopover();
    // The pill's volume chip: closes the queue card.
    Q_INVOKABLE void toggleVolumePopover();
    Q_INVOKABLE void closeVolumePopover();

signals:
    void groupChanged();
    void popoversChanged();

private:
    const NowPlayingTrack* currentTrack() const;
    void setFlags(bool queue, bool volume);
    void chooseQueueItem(const QueueItem& item);

    bool phoneLayout_;
    Open onOpen_;
    SelectDockGroup onSelectDockGroup_;
    DockIntents intents_;
    std::optional<SonosGroup> group_;
    std::vector<SonosGroup> eligible_;
    bool showingQueue_;
    bool showingVolume_ = false;
    UpNextQueueCard queue_;
};

}  // namespace orvel
