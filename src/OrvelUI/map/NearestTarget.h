#pragma once

// The map's hit test for a dragged room: the nearest hub or other room card within the drop
// radius. Hubs are tried first (in the order of their group identifiers) and rooms after (in
// node order), and a later candidate at an equal distance wins, so a room as near as a hub is
// taken. The dragged room's own card and its own group's hub are never targets.

#include <optional>
#include <vector>

#include "OrvelDomain/FloorplanNode.h"
#include "OrvelDomain/Geometry.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelUI/map/MapDropTarget.h"
#include "OrvelUI/map/PrecomputedMapGeometry.h"

namespace orvel {

inline constexpr double mapDropRadius = 96.0;

// `floorplan` is the store's current node list; distances are measured to the geometry's
// hub locations and display points. A candidate exactly `dropRadius` away is still a target.
std::optional<MapDropTarget> nearestTarget(Point to, const SpeakerUUID& excluding, const PrecomputedMapGeometry& geometry,
                                           const std::vector<FloorplanNode>& floorplan,
                                           double dropRadius = mapDropRadius);

}  // namespace orvel
