#pragma once

// The speakers the sidebar and the phone's rooms list show as offline rows, and whose pages the
// window can select.

#include <span>
#include <vector>

#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/Speaker.h"

namespace orvel {

// The offline speakers that belong to no group, in the order of `speakers` (the state's speaker
// list, sorted by room name). An offline speaker still listed in a group has that group's row.
std::vector<Speaker> offlineSpeakers(std::span<const SonosGroup> groups, std::span<const Speaker> speakers);

}  // namespace orvel
