#pragma once

// What a group's page offers, from the group and the household's speakers.

#include <vector>

#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/Speaker.h"
#include "OrvelUI/presets/SpeakerRowListModel.h"

namespace orvel {

// Every online speaker outside the group, in the household's order, members of other groups
// included: "Add Room" moves one into this group. Offline speakers are never offered.
std::vector<Speaker> ungroupedSpeakers(const SonosGroup& group, const std::vector<Speaker>& speakers);

// One row per room, coordinator first; only a group of several rooms lets a room go, and every
// row but the first has a divider above it.
std::vector<SpeakerRowContent> groupDetailRows(const SonosGroup& group);

}  // namespace orvel
