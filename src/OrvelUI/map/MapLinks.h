#pragma once

// The link layer of the full map: one acoustic link per hub group along its tethers, the phase
// of the highlight that travels along the links of playing groups, and the glide of the links
// from one grouping to the next, in step with the cards. Pure functions of the map's geometry,
// so the way they are drawn can change without touching them.

#include <optional>
#include <utility>
#include <vector>

#include "OrvelDomain/AcousticCurveSegment.h"
#include "OrvelDomain/Geometry.h"
#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelUI/map/PrecomputedMapGeometry.h"

namespace orvel::MapLinks {

// Seconds the highlight takes to travel a link once.
inline constexpr double highlightPeriod = 2.6;
// Seconds a new grouping takes to settle: the cards' glide, which the links follow.
inline constexpr double glideDuration = 0.38;
// A tether that passes behind another group's hub card is drawn this faint.
inline constexpr double behindHubOpacity = 0.35;

struct AcousticLink {
    GroupID group;
    // Both ends of every tether, each glowing.
    std::vector<Point> points;
    std::vector<AcousticCurveSegment> segments;
    // For each segment: its room and how opaque it is drawn.
    std::vector<SpeakerUUID> speakers;
    std::vector<double> opacities;
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

// The links part of the way from `from` to `to`, at `progress` (0 to 1, already eased): a
// tether of the same room in the same group moves from its old curve to its new one; a new
// tether fades in and one that went away fades out where it was. Highlights are those of `to`.
std::vector<AcousticLink> glide(const std::vector<AcousticLink>& from, const std::vector<AcousticLink>& to,
                                double progress);
// The cards' easing (a cubic ease-out) of the time since a glide began; 1 from its end on.
double glideProgress(double secondsSinceStart);

}  // namespace orvel::MapLinks
