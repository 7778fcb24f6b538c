#pragma once

// The link layer of the full map: one acoustic link per hub group along its tethers, and the
// phase of the highlight that travels along the links of playing groups.

#include <optional>
#include <utility>
#include <vector>

#include "OrvelDomain/AcousticCurveSegment.h"
#include "OrvelDomain/Geometry.h"
#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelUI/map/PrecomputedMapGeometry.h"

namespace orvel::MapLinks {

// Seconds the highlight takes to travel a link once.
inline constexpr double highlightPeriod = 2.6;

struct AcousticLink {
    GroupID group;
    // Both ends of every tether, each glowing.
    std::vector<Point> points;
    std::vector<AcousticCurveSegment> segments;
    // Only for a group that plays, while the layer animates.
    std::optional<double> phase;

    friend bool operator==(const AcousticLink&, const AcousticLink&) = default;
};

// The layer animates while some hub group plays, unless motion is reduced.
bool animates(const std::vector<SonosGroup>& hubGroups, bool reduceMotion);

// Where the highlight is at a time in seconds since the reference date: 0 at every whole
// period, rising to just below 1. Times before the reference date wrap the same way; a time
// that is not finite gives 0.
double phase(double secondsSinceReference);

// One link per hub group in hub order; a group without tethers has none. `layerPhase` is the
// animated layer's phase, or none when the layer is still.
std::vector<AcousticLink> linkLayer(const std::vector<SonosGroup>& hubGroups,
                                    const std::map<GroupID, std::vector<SpeakerTether>>& tethersByGroup,
                                    std::optional<double> layerPhase);

}  // namespace orvel::MapLinks
