#include "OrvelUI/playback/UpNextQueueCard.h"

#include "OrvelUI/playback/UpNextTexts.h"

namespace orvel {

UpNextQueueCard::UpNextQueueCard(SelectQueueItem onSelectQueueItem, QObject* parent)
    : QObject(parent), onSelectQueueItem_(std::move(onSelectQueueItem)) {}

void UpNextQueueCard::setTrack(const NowPlayingTrack* track, const QString& roomName) {
    std::vector<QueueItem> upNext = track ? track->upNext() : std::vector<QueueItem>();
    std::optional<PlaybackSource> source = track ? track->source() : std::nullopt;
    if (upNext == upNext_ && source == source_ && roomName == roomName_) return;
    upNext_ = std::move(upNext);
    source_ = std::move(source);
    roomName_ = roomName;
    items_.setItems(upNext_);
    emit contentChanged();
}

void UpNextQueueCard::setEmbedded(bool embedded) {
    if (embedded == embedded_) return;
    embedded_ = embedded;
    emit contentChanged();
}

QString UpNextQueueCard::sourceBadge() const {
    const auto badge = UpNextTexts::sourceBadge(source_, embedded_);
    return badge ? QString::fromStdString(*badge) : QString();
}

QString UpNextQueueCard::countText() const { return QString::fromStdString(UpNextTexts::countLabel(upNext_.size())); }

QString UpNextQueueCard::emptyText() const {
    return QString::fromStdString(UpNextTexts::emptyState(roomName_.toStdString()));
}

bool UpNextQueueCard::selectQueueItem(const QString& itemId, int position) {
    if (position < 0 || std::size_t(position) >= upNext_.size()) return false;
    const QueueItem& item = upNext_[std::size_t(position)];
    if (QString::fromStdString(item.id()) != itemId) return false;
    // A copy: the host may hand the card a new list from inside the call.
    const QueueItem chosen = item;
    if (onSelectQueueItem_) onSelectQueueItem_(chosen);
    return true;
}

}  // namespace orvel
