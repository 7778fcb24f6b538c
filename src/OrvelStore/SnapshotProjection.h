#pragma once

// A household as it will look once a command has taken effect, so the views can show a
// grouping, a volume or a play/pause before the speakers confirm it. Pure: the snapshot given
// is never changed, and a command that cannot or need not be shown gives it back unchanged.

#include "OrvelDomain/HouseholdSnapshot.h"
#include "OrvelDomain/SonosCommand.h"

namespace orvel {

// Grouping commands follow the planner's steps on the snapshot's topology (an impossible plan
// changes nothing); a volume sets the group's status volume or the one speaker's volume; play
// resumes a paused group from the snapshot's own observation time and pause freezes a playing
// one at its last sampled position. Every other command changes nothing.
HouseholdSnapshot projecting(const HouseholdSnapshot& snapshot, const SonosCommand& command);

}  // namespace orvel
