#pragma once

// What one group plays and how loud, as the household reports it.

#include <cstddef>
#include <functional>

#include "DiscreteVolume.h"
#include "PlaybackState.h"

namespace orvel {

struct GroupStatus {
    PlaybackState playback;
    DiscreteVolume volume;

    friend bool operator==(const GroupStatus&, const GroupStatus&) = default;
};

// A hash of a playback state that agrees with its equality. The playback values carry no
// std::hash of their own; every record that holds one hashes it through here.
std::size_t hashPlayback(const PlaybackState& playback);

}  // namespace orvel

template <>
struct std::hash<orvel::GroupStatus> {
    std::size_t operator()(const orvel::GroupStatus& status) const noexcept;
};
