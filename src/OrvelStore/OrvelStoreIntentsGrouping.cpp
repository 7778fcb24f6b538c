// The intents that regroup rooms, apply and edit presets, pin rooms on the map, rename the
// household and dismiss the alert. Each runs at once: it reads the projected groups (so a
// grouping still in flight already counts), changes the state where it must, and hands at most
// one command to send().

#include <algorithm>
#include <utility>

#include "GroupingIntents.h"
#include "OrvelDomain/Text.h"
#include "OrvelStore.h"

namespace orvel {

void OrvelStore::group(const SpeakerUUID& member, const SpeakerUUID& onto) {
    const auto& projected = state_.projected();
    auto command = mergeGroupsCommand(state_.groups(), projected ? &*projected : nullptr, member, onto,
                                      PresetID::random());
    if (command) send(std::move(*command));
}

void OrvelStore::ungroupSpeaker(const SpeakerUUID& speaker) {
    auto plan = ungroupPlan(state_.groups(), speaker);
    if (!plan) return;
    if (plan->heir) {
        // The rest of the group plays on under a new coordinator; its track details go along.
        if (auto track = lastKnownTracks_.find(GroupID(speaker)); track != lastKnownTracks_.end()) {
            lastKnownTracks_.insert_or_assign(*plan->heir, track->second);
        }
    }
    send(std::move(plan->command));
}

void OrvelStore::dissolveGroup(const GroupID& group) {
    if (auto command = dissolveGroupCommand(state_.groups(), group, PresetID::random())) send(std::move(*command));
}

void OrvelStore::groupEverywhere() {
    if (auto command = groupEverywhereCommand(state_.speakers(), state_.groups(), PresetID::random())) {
        send(std::move(*command));
    }
}

void OrvelStore::applyPreset(const PresetPill& preset) { send(applyPresetCommand(state_.groups(), preset)); }

void OrvelStore::moveRoom(const SpeakerUUID& speaker, RoomCoordinate to) {
    reduceState([&](OrvelState& state) { state.pin(speaker, to); });
    persistChangedSlicesAsync(ref());
}

void OrvelStore::resetRoom(const SpeakerUUID& speaker) {
    reduceState([&](OrvelState& state) { state.unpin(speaker); });
    persistChangedSlicesAsync(ref());
}

// The speakers keep the preset list; each edit stores the whole list there, also when the edit
// changed nothing, so a list that once failed to save gets another chance.

void OrvelStore::savePreset(const GroupID& from, std::optional<std::string_view> name) {
    reduceState([&](OrvelState& state) { state.savePreset(from, name); });
    send(SonosCommand::savePresets(state_.presets()));
}

void OrvelStore::createPreset(std::string_view name, const SpeakerUUID& coordinator,
                              const std::set<SpeakerUUID>& members) {
    reduceState([&](OrvelState& state) { state.createPreset(name, coordinator, members); });
    send(SonosCommand::savePresets(state_.presets()));
}

void OrvelStore::updatePreset(const PresetID& preset, const GroupID& from) {
    const auto& groups = state_.groups();
    auto group = std::find_if(groups.begin(), groups.end(), [&](const SonosGroup& g) { return g.id == from; });
    if (group == groups.end()) return;
    const SonosGroup source = *group;
    reduceState([&](OrvelState& state) { state.updatePreset(preset, source); });
    send(SonosCommand::savePresets(state_.presets()));
}

void OrvelStore::renamePreset(const PresetID& preset, std::string_view to) {
    reduceState([&](OrvelState& state) { state.renamePreset(preset, to); });
    send(SonosCommand::savePresets(state_.presets()));
}

void OrvelStore::deletePreset(const PresetID& preset) {
    reduceState([&](OrvelState& state) { state.deletePreset(preset); });
    send(SonosCommand::savePresets(state_.presets()));
}

void OrvelStore::renameSystem(std::string_view to) {
    std::string name = text::trimmed(to);
    if (name.empty()) return;
    reduceState([&](OrvelState& state) { state.renameSystem(name); });
    send(SonosCommand::setSystemName(std::move(name)));
}

void OrvelStore::dismissAlert() {
    reduceState([](OrvelState& state) { state.dismissAlert(); });
}

}  // namespace orvel
