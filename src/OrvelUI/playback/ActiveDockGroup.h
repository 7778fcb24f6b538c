#pragma once

// The one group whose now-playing dock the window shows, or none (then no dock shows).
// Recomputed from the current groups and navigation state whenever either changes; nothing is
// remembered between calls.

#include <optional>
#include <span>

#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelUI/common/SidebarDestination.h"

namespace orvel {

// First rule that yields a group wins: an active group selected in the sidebar; else among the
// active hub groups the one picked in the dock, the first playing, the first not stopped, the
// first; else, in the phone layout only, a fallback over all groups (the picked one, one with
// something loaded, a multi-room group, one with satellites, the first).
std::optional<SonosGroup> activeDockGroup(std::span<const SonosGroup> groups,
                                          const std::optional<SidebarDestination>& selection,
                                          const std::optional<GroupID>& dockSelectedGroupID, bool phoneLayout);

}  // namespace orvel
