#include "OrvelUI/presets/PresetCreatorPicks.h"

#include <algorithm>

#include "OrvelDomain/Text.h"

namespace orvel {

PresetCreatorPicks PresetCreatorPicks::toggled(const SpeakerUUID& speaker) const {
    PresetCreatorPicks next = *this;
    const auto found = std::ranges::find(next.picked, speaker);
    if (found != next.picked.end()) {
        next.picked.erase(found);
    } else {
        next.picked.push_back(speaker);
    }
    return next;
}

bool PresetCreatorPicks::isPicked(const SpeakerUUID& speaker) const {
    return std::ranges::find(picked, speaker) != picked.end();
}

bool PresetCreatorPicks::isCoordinator(const SpeakerUUID& speaker) const {
    return !picked.empty() && picked.front() == speaker;
}

std::optional<SpeakerUUID> PresetCreatorPicks::coordinator() const {
    if (picked.empty()) return std::nullopt;
    return picked.front();
}

std::set<SpeakerUUID> PresetCreatorPicks::members() const {
    if (picked.empty()) return {};
    return std::set<SpeakerUUID>(picked.begin() + 1, picked.end());
}

bool PresetCreatorPicks::canCreate(std::string_view draftName) const {
    return picked.size() >= 2 && !text::trimmed(draftName).empty();
}

}  // namespace orvel
