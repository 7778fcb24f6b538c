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

// What a map card calls a room, from its short name: the name cut as every view cuts it, or
// "Room" for a name that is empty or only white space (the speakers allow any name), so no card
// and no sever button is left without one. The sever buttons, whose tethers carry the short
// name, use it as it is: shortening it again would name "Bar Speaker Speaker" differently.
std::string mapRoomTitle(const std::string& shortName);
// The same from the room's full name.
std::string mapRoomLabel(const std::string& roomName);

MapRoomRow mapRoomRow(const FloorplanNode& node, const MapRoomFlags& flags, Point at = {});
MapHubRow mapHubRow(const SonosGroup& group, Point at = {});

// The first of `groups` whose identifier is the node's group; none for a room in no group.
const SonosGroup* groupOf(const FloorplanNode& node, const std::vector<SonosGroup>& groups);

}  // namespace orvel
