#include "OrvelUI/playback/NowPlayingDock.h"

#include <QVariantMap>

#include "OrvelUI/common/ShownText.h"
#include "OrvelUI/playback/NowPlayingTexts.h"

namespace orvel {

namespace {

// Names and titles come from the speakers: any length, cut to what the dock can show.
QString text(const std::string& value) { return shownText(value); }
QString text(const std::optional<std::string>& value) { return value ? shownText(*value) : QString(); }
QString idText(const GroupID& id) { return QString::fromStdString(id.description()); }

}  // namespace

VolumeTarget dockVolumeTarget(const SonosGroup& group) {
    if (group.speakers().size() < 2) return VolumeTarget::speaker(group.coordinator.id);
    return VolumeTarget::group(group.id);
}

QString volumeOwnerKey(const VolumeTarget& target) {
    return target.visit(
        [](const VolumeTarget::Speaker& speaker) {
            return QStringLiteral("speaker:") + QString::fromStdString(speaker.id.rawValue());
        },
        [](const VolumeTarget::Group& group) { return QStringLiteral("group:") + idText(group.id); });
}

NowPlayingDock::NowPlayingDock(bool phoneLayout, bool showQueueAtStart, Open onOpen, SelectDockGroup onSelectDockGroup,
                               QObject* parent)
    : QObject(parent),
      phoneLayout_(phoneLayout),
      onOpen_(std::move(onOpen)),
      onSelectDockGroup_(std::move(onSelectDockGroup)),
      showingQueue_(showQueueAtStart),
      queue_([this](const QueueItem& item) { chooseQueueItem(item); }) {
    queue_.setEmbedded(true);
}

void NowPlayingDock::setGroups(std::optional<SonosGroup> group, std::vector<SonosGroup> eligibleGroups) {
    if (group == group_ && eligibleGroups == eligible_) return;
    const bool hadTrack = currentTrack() != nullptr;
    group_ = std::move(group);
    eligible_ = std::move(eligibleGroups);
    const NowPlayingTrack* track = currentTrack();
    queue_.setTrack(track, displayName());
    emit groupChanged();
    // Whether the queue card can show follows the track.
    if (hadTrack != (track != nullptr) && showingQueue_) emit popoversChanged();
}

const NowPlayingTrack* NowPlayingDock::currentTrack() const {
    const NowPlaying* nowPlaying = group_ ? group_->playback.nowPlaying() : nullptr;
    const NowPlaying::Track* track = nowPlaying ? nowPlaying->asTrack() : nullptr;
    return track ? &track->track : nullptr;
}

QString NowPlayingDock::groupId() const { return group_ ? idText(group_->id) : QString(); }
QString NowPlayingDock::displayName() const { return group_ ? text(group_->displayName) : QString(); }
QString NowPlayingDock::primaryTitle() const { return group_ ? text(NowPlayingTexts::primaryTitle(*group_)) : QString(); }
QString NowPlayingDock::subtitle() const { return group_ ? text(NowPlayingTexts::subtitle(*group_)) : QString(); }
QString NowPlayingDock::floatingPillSubtitle() const {
    return group_ ? text(NowPlayingTexts::floatingPillSubtitle(*group_)) : QString();
}
QString NowPlayingDock::sourceLine() const { return group_ ? text(NowPlayingTexts::sourceLine(*group_)) : QString(); }
QUrl NowPlayingDock::artworkURL() const {
    const auto url = group_ ? NowPlayingTexts::artworkURL(*group_) : std::nullopt;
    return url ? QUrl(QString::fromStdString(*url)) : QUrl();
}
bool NowPlayingDock::playing() const { return group_ && group_->playback.isPlaying(); }
QString NowPlayingDock::playSymbol() const {
    return playing() ? QStringLiteral("pause.fill") : QStringLiteral("play.fill");
}
bool NowPlayingDock::skipAllowed() const {
    const NowPlayingTrack* track = currentTrack();
    return track && track->canSkip();
}
QString NowPlayingDock::ungroupHelp() const { return QStringLiteral("Ungroup ") + displayName(); }
QString NowPlayingDock::volumeOwner() const { return group_ ? volumeOwnerKey(dockVolumeTarget(*group_)) : QString(); }
QString NowPlayingDock::volumeSymbol() const {
    return volume() == 0 ? QStringLiteral("speaker.slash.fill") : QStringLiteral("speaker.wave.2.fill");
}
QString NowPlayingDock::groupSwitcherLabel() const { return text(NowPlayingTexts::groupCountLabel(eligible_.size())); }

QString NowPlayingDock::queueHeaderSource() const {
    const NowPlayingTrack* track = currentTrack();
    return track && track->source() ? text(track->source()->label()) : QString();
}
QString NowPlayingDock::queueHeaderTitle() const {
    const NowPlayingTrack* track = currentTrack();
    return track ? text(track->title()) : QString();
}
QString NowPlayingDock::queueHeaderArtist() const {
    const NowPlayingTrack* track = currentTrack();
    return track ? text(NowPlayingTexts::queueHeaderArtistLine(*track, *group_)) : QString();
}

QVariantList NowPlayingDock::groupSwitcherEntries() const {
    QVariantList entries;
    for (const SonosGroup& group : eligible_) {
        entries.append(QVariantMap{{QStringLiteral("groupId"), idText(group.id)},
                                   {QStringLiteral("name"), text(group.displayName)},
                                   {QStringLiteral("checked"), group_ && group.id == group_->id}});
    }
    return entries;
}

void NowPlayingDock::open() {
    if (group_ && onOpen_) onOpen_(group_->id);
}

void NowPlayingDock::selectGroup(const QString& groupId) {
    for (const SonosGroup& group : eligible_) {
        if (idText(group.id) == groupId) {
            if (onSelectDockGroup_) onSelectDockGroup_(group.id);
            return;
        }
    }
}

void NowPlayingDock::togglePlay() {
    if (group_ && intents_.togglePlayOrHandOffSpotify) intents_.togglePlayOrHandOffSpotify(*group_);
}

void NowPlayingDock::previous() {
    if (skipAllowed() && intents_.send) intents_.send(SonosCommand::previousTrack(group_->id));
}

void NowPlayingDock::next() {
    if (skipAllowed() && intents_.send) intents_.send(SonosCommand::nextTrack(group_->id));
}

void NowPlayingDock::ungroup() {
    if (showsUngroupButton() && intents_.dissolveGroup) intents_.dissolveGroup(group_->id);
}

void NowPlayingDock::changeVolume(int percent) {
    if (!group_ || !intents_.send) return;
    const auto volume = DiscreteVolume::make(percent);
    if (!volume) return;
    intents_.send(SonosCommand::setVolume(*volume, dockVolumeTarget(*group_)));
}

void NowPlayingDock::toggleQueuePopover() {
    const bool opening = !showingQueue_;
    setFlags(opening, false);
    if (opening && intents_.refreshSpotifyQueueIfNeeded) intents_.refreshSpotifyQueueIfNeeded();
}

void NowPlayingDock::closeQueuePopover() { setFlags(false, showingVolume_); }
void NowPlayingDock::toggleVolumePopover() { setFlags(false, !showingVolume_); }
void NowPlayingDock::closeVolumePopover() { setFlags(showingQueue_, false); }

void NowPlayingDock::setFlags(bool queue, bool volume) {
    if (queue == showingQueue_ && volume == showingVolume_) return;
    showingQueue_ = queue;
    showingVolume_ = volume;
    emit popoversChanged();
}

void NowPlayingDock::chooseQueueItem(const QueueItem& item) {
    // The card closes before the entry is asked for.
    closeQueuePopover();
    if (group_ && intents_.playQueueItem) intents_.playQueueItem(item, group_->id);
}

}  // namespace orvel
