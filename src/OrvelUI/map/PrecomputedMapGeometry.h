#pragma once

// Everything the full map places, in canvas points (origin top left, y downwards): the floor
// bands, each hub's centre, each room's centre, the tethers of every hub group and the size of
// the scrollable canvas. Ordered maps: the order of group identifiers (smallest first) is the
// order in which hubs are met wherever that order decides something.

#include <map>
#include <vector>

#include "OrvelDomain/FloorBandLayout.h"
#include "OrvelDomain/Geometry.h"
#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelUI/map/SpeakerTether.h"

namespace orvel {

struct PrecomputedMapGeometry {
    std::vector<FloorBandLayout> bands;
    std::map<GroupID, Point> hubLocations;
    std::map<SpeakerUUID, Point> displayPoints;
    // Every group with a hub has an entry, possibly empty, in the order of the group's speakers.
    std::map<GroupID, std::vector<SpeakerTether>> tethersByGroup;
    Size canvasSize;

    friend bool operator==(const PrecomputedMapGeometry&, const PrecomputedMapGeometry&) = default;
};

}  // namespace orvel
