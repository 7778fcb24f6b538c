#include "OrvelUI/presets/ViewStore.h"

#include <algorithm>

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

}  // namespace orvel
