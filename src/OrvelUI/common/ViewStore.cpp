#include "OrvelUI/common/ViewStore.h"

#include <algorithm>

#include <QMetaObject>

#include "OrvelUI/common/ContextMenuVariant.h"
#include "OrvelUI/common/SpeakerGroupContextMenu.h"

namespace orvel {

ViewStore::ViewStore(OrvelStore& store, QObject* parent) : QObject(parent), store_(&store) {
    connect(&store, &OrvelStore::stateChanged, this, &ViewStore::stateChanged);
}

QString ViewStore::largestGroupId() const {
    if (!store_) return {};
    const auto& groups = store_->state().groups();
    const auto largest = std::ranges::max_element(
        groups, {}, [](const SonosGroup& group) { return group.speakers().size(); });
    return largest == groups.end() ? QString() : QString::fromStdString(largest->id.description());
}

QString ViewStore::satelliteGroupId() const {
    if (!store_) return {};
    QString best;
    std::size_t most = 0;
    for (const SonosGroup& group : store_->state().groups()) {
        std::size_t satellites = 0;
        for (const Speaker& speaker : group.speakers()) satellites += speaker.bondedSatellites.size();
        if (satellites > most) {
            most = satellites;
            best = QString::fromStdString(group.id.description());
        }
    }
    return best;
}

QString ViewStore::offlineSpeakerId() const {
    if (!store_) return {};
    for (const Speaker& speaker : store_->state().speakers()) {
        if (speaker.reachability.isOffline()) return QString::fromStdString(speaker.id.rawValue());
    }
    return {};
}

QVariantList ViewStore::memberMenu(const QString& groupId, const QString& speakerId) {
    memberMenu_.clear();
    if (!store_) return {};
    const OrvelState& state = store_->state();
    const std::optional<SpeakerUUID> speakerUUID = SpeakerUUID::make(speakerId.toStdString());
    const std::optional<SpeakerUUID> coordinator = SpeakerUUID::make(groupId.toStdString());
    if (!speakerUUID || !coordinator) return {};
    SpeakerGroupContextMenu menu;
    for (const SonosGroup& group : state.groups()) {
        if (group.id == GroupID(*coordinator)) menu.group = group;
    }
    for (const Speaker& speaker : state.speakers()) {
        if (speaker.id == *speakerUUID) menu.speaker = speaker;
    }
    if (!menu.group || !menu.speaker) return {};
    // The page is no map: a pinned room offers no "Reset Map Position" here.
    menu.isPinnedOnMap = false;
    memberMenu_ = menu.entries(state.speakers());
    return contextMenuVariant(memberMenu_);
}

void ViewStore::chooseMemberMenuEntry(const QString& key) {
    const ContextMenuEntry* entry = findContextMenuEntry(memberMenu_, key.toStdString());
    if (!entry) return;
    // The new grouping may rebuild the very row whose menu is still closing.
    QMetaObject::invokeMethod(
        this, [store = store_, intent = entry->intent] {
            if (store) performContextMenuIntent(*store, intent);
        },
        Qt::QueuedConnection);
}

}  // namespace orvel
