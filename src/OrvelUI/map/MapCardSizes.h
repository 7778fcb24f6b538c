#pragma once

// The largest size at which the full map draws each card (RoomContainerNode, MusicSourceNodeView
// and BondedSatellitesMapStrip keep to these). The layout keeps the footprints of the layout
// engine 23 points or more apart, so cards this size stay apart: a room card is at most 10
// points taller than its 98-point footprint, one with satellites (two rows of chips at most) at
// most 22 taller than its 128-point one.

#include "OrvelDomain/Geometry.h"

namespace orvel::MapCardSizes {

inline constexpr Size room{138, 108};
inline constexpr Size roomWithSatellites{196, 150};
inline constexpr Size hub{340, 108};

constexpr Size roomCard(bool hasSatellites) { return hasSatellites ? roomWithSatellites : room; }

}  // namespace orvel::MapCardSizes
