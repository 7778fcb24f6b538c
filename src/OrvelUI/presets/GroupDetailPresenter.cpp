#include "OrvelUI/presets/GroupDetailPresenter.h"

#include <algorithm>

#include <QVariantMap>

#include "OrvelDomain/RoomNaming.h"
#include "OrvelUI/common/ShownText.h"
#include "OrvelUI/presets/GroupDetailRules.h"

namespace orvel {

GroupDetailPresenter::GroupDetailPresenter(QObject* parent) : QObject(parent), members_(this) {}

void GroupDetailPresenter::setStore(ViewStore* store) {
    if (store_ == store) return;
    disconnect(watch_);
    store_ = store;
    if (store) watch_ = connect(store, &ViewStore::stateChanged, this, &GroupDetailPresenter::refresh);
    refresh();
    emit storeChanged();
}

void GroupDetailPresenter::setGroupId(const QString& groupId) {
    if (groupId == groupId_) return;
    groupId_ = groupId;
    refresh();
    emit groupIdChanged();
}

QString GroupDetailPresenter::displayName() const {
    return group_ ? shownText(group_->displayName) : QString();
}

void GroupDetailPresenter::refresh() {
    std::optional<SonosGroup> group;
    QVariantList entries;
    if (OrvelStore* store = liveStore()) {
        const auto& groups = store->state().groups();
        const auto found = std::ranges::find_if(
            groups, [&](const SonosGroup& g) { return QString::fromStdString(g.id.description()) == groupId_; });
        if (found != groups.end()) {
            group = *found;
            for (const Speaker& speaker : ungroupedSpeakers(*group, store->state().speakers())) {
                const QString id = QString::fromStdString(speaker.id.rawValue());
                entries << QVariantMap{
                    {QStringLiteral("action"), QStringLiteral("addRoom")},
                    {QStringLiteral("name"), id},
                    {QStringLiteral("speakerId"), id},
                    {QStringLiteral("symbol"), QString()},
                    {QStringLiteral("destructive"), false},
                    {QStringLiteral("title"),
                     QStringLiteral("Add %1").arg(shownRoomText(speaker.roomName))}};
            }
        }
    }
    members_.setRows(group ? groupDetailRows(*group) : std::vector<SpeakerRowContent>{});
    // Only the header's own slice: a member's volume or playback mark is the rows' business.
    const auto header = [](const std::optional<SonosGroup>& g) {
        return g ? std::tuple(true, g->displayName, g->speakers().size() >= 2, g->playback.isStopped(), g->volume.percent())
                 : std::tuple(false, std::string(), false, false, 0);
    };
    const bool changed = header(group) != header(group_) || entries != addRoomEntries_;
    group_ = std::move(group);
    addRoomEntries_ = std::move(entries);
    if (changed) emit headerChanged();
}

void GroupDetailPresenter::addRoom(const QString& speakerId) {
    const std::optional<SpeakerUUID> member = SpeakerUUID::make(speakerId.toStdString());
    if (OrvelStore* store = liveStore(); store && member && group_) store->group(*member, group_->coordinator.id);
}

void GroupDetailPresenter::ungroupAll() {
    if (OrvelStore* store = liveStore(); store && group_) store->dissolveGroup(group_->id);
}

void GroupDetailPresenter::play() {
    if (OrvelStore* store = liveStore(); store && group_) store->togglePlayOrHandOffSpotify(*group_);
}

void GroupDetailPresenter::setGroupVolume(int percent) {
    if (OrvelStore* store = liveStore(); store && group_) {
        store->send(SonosCommand::setVolume(DiscreteVolume::snappingPercent(percent), VolumeTarget::group(group_->id)));
    }
}

void GroupDetailPresenter::setSpeakerVolume(const QString& speakerId, int percent) {
    const std::optional<SpeakerUUID> speaker = SpeakerUUID::make(speakerId.toStdString());
    if (OrvelStore* store = liveStore(); store && speaker) {
        store->send(SonosCommand::setVolume(DiscreteVolume::snappingPercent(percent), VolumeTarget::speaker(*speaker)));
    }
}

void GroupDetailPresenter::removeSpeaker(const QString& speakerId) {
    const std::optional<SpeakerUUID> speaker = SpeakerUUID::make(speakerId.toStdString());
    if (OrvelStore* store = liveStore(); store && speaker) store->ungroupSpeaker(*speaker);
}

}  // namespace orvel
