#pragma once

// What the shell reads of a playback group: its id, its name, its speakers (coordinator
// first, then the members in their order) and its playback. Built from each group of the
// store's state, in the state's order.

#include <string>
#include <vector>

#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/PlaybackState.h"
#include "OrvelDomain/Speaker.h"

namespace orvel {

struct GroupOutline {
    GroupID id;
    std::string displayName;
    std::vector<Speaker> speakers;
    PlaybackState playback = PlaybackState::stopped();

    friend bool operator==(const GroupOutline&, const GroupOutline&) = default;
};

}  // namespace orvel
