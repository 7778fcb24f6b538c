#pragma once

// A group as the household shows it: the coordinating speaker, the other members, what the
// group plays, its volume and its display name. Groups are derived inside the household
// snapshot, which fixes the member order and the name; this record stores what it is given.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "DiscreteVolume.h"
#include "GroupID.h"
#include "PlaybackState.h"
#include "Speaker.h"

namespace orvel {

struct SonosGroup {
    GroupID id;  // the coordinator's identifier
    Speaker coordinator;
    std::vector<Speaker> members;  // without the coordinator
    PlaybackState playback;
    DiscreteVolume volume;
    std::string displayName;

    // The coordinator followed by the members in their order.
    std::vector<Speaker> speakers() const;

    friend bool operator==(const SonosGroup&, const SonosGroup&) = default;
};

}  // namespace orvel

template <>
struct std::hash<orvel::SonosGroup> {
    std::size_t operator()(const orvel::SonosGroup& group) const noexcept;
};
