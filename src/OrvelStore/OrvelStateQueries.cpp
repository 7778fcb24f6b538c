#include <algorithm>
#include <utility>

#include "OrvelDomain/Text.h"
#include "OrvelDomain/TopologyTarget.h"
#include "OrvelState.h"

namespace orvel {

const std::vector<SonosGroup>& OrvelState::groups() const {
    static const std::vector<SonosGroup> none;
    return cachedProjected_ ? cachedProjected_->groups() : none;
}

std::optional<GroupID> OrvelState::groupID(const SpeakerUUID& containing) const {
    if (!cachedProjected_) return std::nullopt;
    return cachedProjected_->topology().group(containing);
}

std::int64_t OrvelState::totalSpeakerCount() const {
    std::int64_t count = 0;
    for (const Speaker& speaker : speakers_) count += 1 + static_cast<std::int64_t>(speaker.bondedSatellites.size());
    return count;
}

std::string OrvelState::speakerCountSummary() const {
    const std::int64_t count = totalSpeakerCount();
    return std::to_string(count) + (count == 1 ? " speaker" : " speakers");
}

std::string OrvelState::networkAndSpeakerSummary() const {
    if (networkName_ && !networkName_->empty()) return *networkName_ + " \u00B7 " + speakerCountSummary();
    return speakerCountSummary();
}

HouseholdConnection OrvelState::connection() const {
    if (!live_) return HouseholdConnection::searching();
    if (!live_->speakers().empty()) return HouseholdConnection::live();
    std::optional<Date> lastSeen;
    for (const auto& [id, speaker] : known_) {
        if (const auto* offline = speaker.reachability.asOffline()) {
            if (!lastSeen || *lastSeen < offline->lastSeenAt) lastSeen = offline->lastSeenAt;
        }
    }
    return HouseholdConnection::away(lastSeen);
}

bool OrvelState::isActive(const PresetPill& preset) const {
    if (!cachedProjected_) return false;
    const Topology& topology = cachedProjected_->topology();
    const SpeakerUUID& coordinator = preset.coordinatorUUID();
    std::set<SpeakerUUID> wanted = preset.memberUUIDs();
    wanted.insert(coordinator);

    if (wanted.size() == 1) {
        // Alone counts only while it actually has something on.
        if (!topology.isCoordinator(coordinator) || !topology.followers(coordinator).empty()) return false;
        return !cachedProjected_->status(GroupID(coordinator)).playback.isStopped();
    }
    if (TopologyTarget::exactGroup(coordinator, preset.memberUUIDs()).isSatisfied(topology, {})) return true;
    // The same speakers together under another coordinator still show the preset.
    const auto groups = topology.groups();
    return std::any_of(groups.begin(), groups.end(), [&](const auto& entry) {
        std::set<SpeakerUUID> together = entry.second;
        together.insert(entry.first.coordinator);
        return together == wanted;
    });
}

PersistedSlices OrvelState::persisted() const {
    // A speaker that never gave its model is no speaker to remember as if it were known.
    std::vector<Speaker> cached;
    cached.reserve(known_.size());
    for (const auto& [id, speaker] : known_) {
        if (!speaker.model.isUnread()) cached.push_back(speaker);
    }
    return PersistedSlices{CachedSpeakersFile{std::move(cached), rf_, networkName_}, FloorplanPositionsFile{pins_}};
}

void OrvelState::pin(const SpeakerUUID& speaker, RoomCoordinate at) {
    if (auto existing = pins_.find(speaker); existing != pins_.end() && existing->second == at) return;
    pins_.insert_or_assign(speaker, at);
    recomputeDerivedState();
}

void OrvelState::unpin(const SpeakerUUID& speaker) {
    if (pins_.erase(speaker) == 0) return;
    recomputeDerivedState();
}

void OrvelState::savePreset(const GroupID& from, std::optional<std::string_view> name) {
    const auto& all = groups();
    auto group = std::find_if(all.begin(), all.end(), [&](const SonosGroup& g) { return g.id == from; });
    if (group == all.end()) return;
    presets_.push_back(PresetPill::capturing(*group, name));
}

void OrvelState::createPreset(std::string_view name, const SpeakerUUID& coordinator,
                              const std::set<SpeakerUUID>& members) {
    std::string trimmed = text::trimmed(name);
    if (trimmed.empty()) return;
    presets_.emplace_back(PresetID::random(), std::move(trimmed), coordinator, members);
}

void OrvelState::renamePreset(const PresetID& preset, std::string_view to) {
    std::string trimmed = text::trimmed(to);
    if (trimmed.empty()) return;
    auto found = std::find_if(presets_.begin(), presets_.end(), [&](const PresetPill& p) { return p.id() == preset; });
    if (found == presets_.end()) return;
    *found = found->renamed(std::move(trimmed));
}

void OrvelState::updatePreset(const PresetID& preset, const SonosGroup& from) {
    auto found = std::find_if(presets_.begin(), presets_.end(), [&](const PresetPill& p) { return p.id() == preset; });
    if (found == presets_.end()) return;
    std::set<SpeakerUUID> members;
    for (const Speaker& member : from.members) members.insert(member.id);
    *found = found->updated(from.coordinator.id, members);
}

void OrvelState::deletePreset(const PresetID& preset) {
    std::erase_if(presets_, [&](const PresetPill& p) { return p.id() == preset; });
}

void OrvelState::renameSystem(std::string_view to) {
    std::string trimmed = text::trimmed(to);
    if (trimmed.empty()) return;
    networkName_ = std::move(trimmed);
}

void OrvelState::report(OrvelAlert alert) { alert_ = std::move(alert); }

void OrvelState::dismissAlert() { alert_.reset(); }

}  // namespace orvel
