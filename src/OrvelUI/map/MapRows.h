#pragma once

// A room card's and a hub card's row, as both maps show them: the full canvas places them at a
// point, the compact map lists them by floor.

#include <string>

#include "OrvelDomain/FloorplanNode.h"
#include "OrvelDomain/Geometry.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelUI/map/MapNodeModels.h"

namespace orvel {

struct MapRoomFlags {
    bool playing = false;
    bool connectedToHub = false;
    bool isSelected = false;
    bool dropTarget = false;
};

// Text from outside as a card shows it: past 64 characters it ends in an ellipsis, and a
// character carries at most 3 combining marks (whatever is cut would be elided or clipped).
std::string mapCardText(const std::string& text);
// What a map card calls a room: its short name as above, or "Room" for a name that is empty or
// only white space (the speakers allow any name), so no card and no sever button is left
// without one.
std::string mapRoomLabel(const std::string& roomName);

MapRoomRow mapRoomRow(const FloorplanNode& node, const MapRoomFlags& flags, Point at = {});
MapHubRow mapHubRow(const SonosGroup& group, Point at = {});

// The first of `groups` whose identifier is the node's group; none for a room in no group.
const SonosGroup* groupOf(const FloorplanNode& node, const std::vector<SonosGroup>& groups);

}  // namespace orvel
