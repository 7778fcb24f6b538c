#include "OrvelUI/presets/PresetCreatorPresenter.h"

#include <QVariantMap>

#include "OrvelDomain/RoomNaming.h"
#include "OrvelUI/presets/PresetBarRules.h"
#include "OrvelUI/common/ShownText.h"

namespace orvel {

PresetCreatorPresenter::PresetCreatorPresenter(QObject* parent) : QObject(parent), rooms_(this) {}

void PresetCreatorPresenter::setStore(ViewStore* store) {
    if (store_ == store) return;
    disconnect(watch_);
    store_ = store;
    if (store) watch_ = connect(store, &ViewStore::stateChanged, this, &PresetCreatorPresenter::refresh);
    refresh();
    emit storeChanged();
}

void PresetCreatorPresenter::setDraftName(const QString& name) {
    if (name == draftName_) return;
    const bool could = canCreate();
    draftName_ = name;
    emit draftNameChanged();
    if (could != canCreate()) emit canCreateChanged();
}

void PresetCreatorPresenter::refresh() {
    OrvelStore* store = store_ ? store_->store() : nullptr;
    QVariantList multi;
    std::vector<CreatorRoomRow> rows;
    if (store) {
        for (const SonosGroup& group : activeMultiGroups(store->state().groups())) {
            multi << QVariantMap{{QStringLiteral("groupId"), QString::fromStdString(group.id.description())},
                                 {QStringLiteral("displayName"), shownText(group.displayName)}};
        }
        for (const Speaker& speaker : store->state().speakers()) {
            rows.push_back({QString::fromStdString(speaker.id.rawValue()),
                            shownRoomText(speaker.roomName),
                            speaker.reachability.isOnline(), picks_.isPicked(speaker.id), picks_.isCoordinator(speaker.id)});
        }
    }
    rooms_.setRows(std::move(rows));
    if (multi != multiRoom_) {
        multiRoom_ = std::move(multi);
        emit multiRoomChanged();
    }
}

void PresetCreatorPresenter::changePicks(PresetCreatorPicks next) {
    const bool could = canCreate();
    picks_ = std::move(next);
    refresh();
    if (could != canCreate()) emit canCreateChanged();
}

void PresetCreatorPresenter::toggle(const QString& speakerId) {
    // A ticked room that went offline stays ticked; only a malformed id is refused.
    const std::optional<SpeakerUUID> speaker = SpeakerUUID::make(speakerId.toStdString());
    if (speaker) changePicks(picks_.toggled(*speaker));
}

void PresetCreatorPresenter::saveGroup(const QString& groupId) {
    OrvelStore* store = store_ ? store_->store() : nullptr;
    const std::optional<SpeakerUUID> coordinator = SpeakerUUID::make(groupId.toStdString());
    if (store && coordinator) store->savePreset(GroupID(*coordinator), std::nullopt);
    emit dismissed();
}

void PresetCreatorPresenter::savePreset() {
    // Return in the name field comes here in every state; a draft that cannot be saved yet stays.
    OrvelStore* store = store_ ? store_->store() : nullptr;
    const std::optional<SpeakerUUID> coordinator = picks_.coordinator();
    if (!store || !coordinator || !canCreate()) return;
    store->createPreset(draftName_.toStdString(), *coordinator, picks_.members());
    emit dismissed();
}

}  // namespace orvel
