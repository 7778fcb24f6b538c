#pragma once

// The group the window-wide playback commands act on when nothing else names one.

#include <optional>
#include <vector>

#include "OrvelDomain/SonosGroup.h"

namespace orvel {

// From the groups in the store's order: the first playing group, else the first with more than
// one speaker, else the first group; none when there are no groups.
std::optional<SonosGroup> primaryTargetGroup(const std::vector<SonosGroup>& groups);

}  // namespace orvel
