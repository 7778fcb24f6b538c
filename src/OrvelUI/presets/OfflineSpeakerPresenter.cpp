#include "OrvelUI/presets/OfflineSpeakerPresenter.h"

namespace orvel {

OfflineSpeakerPresenter::OfflineSpeakerPresenter(QObject* parent) : QObject(parent), row_(this) {}

void OfflineSpeakerPresenter::setStore(ViewStore* store) {
    if (store_ == store) return;
    disconnect(watch_);
    store_ = store;
    if (store) watch_ = connect(store, &ViewStore::stateChanged, this, &OfflineSpeakerPresenter::refresh);
    refresh();
    emit storeChanged();
}

void OfflineSpeakerPresenter::setSpeakerId(const QString& speakerId) {
    if (speakerId == speakerId_) return;
    speakerId_ = speakerId;
    refresh();
    emit speakerIdChanged();
}

void OfflineSpeakerPresenter::refresh() {
    std::vector<SpeakerRowContent> rows;
    if (OrvelStore* store = store_ ? store_->store() : nullptr) {
        for (const Speaker& speaker : store->state().speakers()) {
            if (QString::fromStdString(speaker.id.rawValue()) == speakerId_) {
                rows.push_back(SpeakerRowContent::of(speaker, false, false, false));
                break;
            }
        }
    }
    const bool existed = exists();
    const QString name = rows.empty() ? QString() : rows.front().shortName;
    row_.setRows(std::move(rows));
    if (existed != exists() || name != shortName_) {
        shortName_ = name;
        emit titleChanged();
    }
}

void OfflineSpeakerPresenter::setVolume(int percent) {
    OrvelStore* store = store_ ? store_->store() : nullptr;
    const std::optional<SpeakerUUID> speaker = SpeakerUUID::make(speakerId_.toStdString());
    if (store && speaker) {
        store->send(SonosCommand::setVolume(DiscreteVolume::snappingPercent(percent), VolumeTarget::speaker(*speaker)));
    }
}

}  // namespace orvel
