#pragma once

// Which group the window opens on when a first-view launch option asks for one. Groups exist
// only once the household is known, so the choice is tried again whenever the group list
// changes until it has found a group.

#include <optional>
#include <span>

#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelUI/shell/LaunchView.h"

namespace orvel {

enum class LaunchRule {
    // A room named for guests, else a group with something playing or paused.
    guestRoom,
    // A room named for the living room or a room with bonded satellites, whichever comes first.
    livingRoom,
    // A room with bonded satellites, else the largest multi-room group, else the first group.
    notableGroup,
};

// The first option that asks: guest, then living, then group.
std::optional<LaunchRule> launchRule(const LaunchInputs& launch);

// The first qualifying group in the list's order; room names are matched lower-cased, as a
// plain substring.
std::optional<GroupID> launchTarget(LaunchRule rule, std::span<const SonosGroup> groups);

}  // namespace orvel
