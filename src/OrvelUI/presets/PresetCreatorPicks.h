#pragma once

// The preset creator's ticked rooms, in the order they were ticked: the first still ticked is
// the composed preset's coordinator, the others its members.

#include <optional>
#include <set>
#include <string_view>
#include <vector>

#include "OrvelDomain/SpeakerUUID.h"

namespace orvel {

struct PresetCreatorPicks {
    std::vector<SpeakerUUID> picked;

    // Unticks a ticked room where it stands, or ticks it last.
    PresetCreatorPicks toggled(const SpeakerUUID& speaker) const;
    bool isPicked(const SpeakerUUID& speaker) const;
    bool isCoordinator(const SpeakerUUID& speaker) const;
    std::optional<SpeakerUUID> coordinator() const;
    std::set<SpeakerUUID> members() const;
    // Two rooms at least, and a name that is not blank once trimmed.
    bool canCreate(std::string_view draftName) const;

    friend bool operator==(const PresetCreatorPicks&, const PresetCreatorPicks&) = default;
};

}  // namespace orvel
