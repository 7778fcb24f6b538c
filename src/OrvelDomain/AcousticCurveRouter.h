#pragma once

// Geometry of the map's cards inside a floor band: the footprints of room cards and
// music-source hubs, where each playing group's hub goes, how rooms and hubs are pushed apart,
// and the bowed tethers that join a room to its hub around the other cards. Pure functions of
// their arguments; the same inputs give the same result bit for bit.

#include <map>
#include <optional>
#include <vector>

#include "AcousticCurveSegment.h"
#include "Geometry.h"
#include "GroupID.h"
#include "LayoutRoom.h"
#include "SpeakerUUID.h"

namespace orvel::AcousticCurveRouter {

// ---- Footprints -----------------------------------------------------------------------------

// A room card's footprint centred on `center`: 142 x 98, or 198 x 128 with satellites.
Rect nodeObstacleRect(Point center, bool hasSatellites);
// 340 x 108.
Size musicHubSize();
Rect musicHubRect(Point center);

// ---- Hubs -----------------------------------------------------------------------------------

// The smallest signed separation between the hub footprint at `center` and the obstacles:
// the gap between them when apart, minus the smaller overlap when they overlap or touch; the
// greatest finite double without obstacles.
double hubClearance(Point center, const std::vector<Rect>& obstacles);

// Where the hub of a group goes inside `bounds`: just below (or above) its rooms, then moved
// as little as needed to clear the room footprints and the hubs already placed. With no room
// the hub sits at the centre of bounds; when nothing clears, the best-scoring place is used.
Point placeMusicHub(const std::vector<Point>& connectedPoints, const std::vector<Rect>& roomObstacles,
                    const std::vector<Rect>& existingHubs, Rect bounds);

// `base` pushed away from its hub when closer than `minSeparation` (straight up when on top of
// it), then kept inside `safeRect`.
Point nudgedRoomPoint(Point base, std::optional<Point> hubCenter, Rect safeRect, double minSeparation);

// ---- Tethers --------------------------------------------------------------------------------

// Distance from a point to a rectangle: positive outside, minus the distance to the nearest
// edge inside or on the edge.
double signedDistance(Point from, Rect to);
// The smallest signed distance from the curve's 17 inner samples (t from 0.08 to 0.92) to the
// obstacles, the middle samples seeing every obstacle grown by `midpointExtraPadding`; the
// greatest finite double without obstacles.
double minObstacleClearance(const AcousticCurveSegment& segment, const std::vector<Rect>& paddedObstacles,
                            double midpointExtraPadding);
// How far inside `bounds` (less 18 at the sides and 24 at top and bottom) the curve stays at
// t = 0.25, 0.5 and 0.75: negative when outside; 200 without usable bounds.
double boundsMargin(const AcousticCurveSegment& segment, std::optional<Rect> bounds);

// The tether from one card to another (each grown by `inset`), leaving each card on the line
// between their centres and bowing around the obstacles that overlap neither card.
AcousticCurveSegment routeTether(Rect startRect, Rect endRect, const std::vector<Rect>& obstacles,
                                 std::optional<Rect> bounds, double inset);
// The best gently bowed curve from start to end: upwards (or leftwards) by preference, bowing
// further or to the other side as the obstacles and bounds ask.
AcousticCurveSegment routeSegment(Point start, Point end, const std::vector<Rect>& obstacles,
                                  std::optional<Rect> bounds, double padding);
// One routed curve between each pair of neighbours of `orderedChain(points)`.
std::vector<AcousticCurveSegment> routeChain(const std::vector<Point>& points, const std::vector<Rect>& obstacles,
                                             std::optional<Rect> bounds, double padding);
// The points in drawing order: roughly left to right, then each next point the nearest
// remaining one.
std::vector<Point> orderedChain(const std::vector<Point>& points);
// The curve cut back to where it leaves the two rectangles (each grown by `inset`), keeping a
// bow in proportion to the original.
AcousticCurveSegment clippedSegment(const AcousticCurveSegment& segment, Rect startRect, Rect endRect,
                                    double inset);
// The smallest rectangle holding the whole curve: its ends and the farthest reach of its bow.
Rect curveExtent(const AcousticCurveSegment& segment);
// The curve with its bow (the control point's pull away from the middle of its chord) eased
// just enough that all of it lies inside `area`, edges included; the curve itself when it
// already does. The straight chord, when even that does not fit (an end outside `area`).
AcousticCurveSegment keptInside(const AcousticCurveSegment& segment, Rect area);
// Walking along the curve from its start (or its end), the first point outside `rect`.
Point firstPointOutside(const AcousticCurveSegment& segment, Rect rect, bool fromStart);
// The midpoint of the curve that lies farthest from the node points and obstacles; nothing
// without curves.
std::optional<Point> handlePoint(const std::vector<AcousticCurveSegment>& curves,
                                 const std::vector<Point>& allNodePoints, const std::vector<Rect>& obstacles);

// ---- Collisions -----------------------------------------------------------------------------

struct ResolvedBand {
    std::map<SpeakerUUID, Point> roomCenters;
    std::map<GroupID, Point> hubCenters;

    friend bool operator==(const ResolvedBand&, const ResolvedBand&) = default;
};

// Moves the rooms and hubs of one band apart and inside `bandFrame`: a bounded relaxation
// that never moves a fixed room, falling back to a deterministic shelf packing when the
// relaxation leaves anything outside the band or overlapping. The order of `rooms` does not
// matter. Room identifiers must be unique; with duplicates the later room's centre is the one
// reported.
ResolvedBand resolveBandCollisions(const std::vector<LayoutRoomSpec>& rooms,
                                   const std::map<GroupID, Point>& hubCenters, Rect bandFrame);
// The band height the shelf packing needs to lay these rooms and hubs out in reading order
// without pressing its rows together: its header, its rows 24 points apart and its foot. 0 when
// there is nothing to pack.
double shelfPackHeight(const std::vector<LayoutRoomSpec>& rooms, const std::map<GroupID, Point>& hubCenters,
                       Rect bandFrame);
// Rows of rooms and hubs in reading order, centred in the band; fixed rooms keep their
// centre but still take their slot. Cards that are not fixed never overlap: when the rows are
// taller than the band, the rooms' rows come first, the gaps between rows shrink and the rows
// that still do not fit run on below the band.
ResolvedBand deterministicShelfPack(const std::vector<LayoutRoomSpec>& rooms,
                                    const std::map<GroupID, Point>& hubCenters, Rect bandFrame,
                                    double edgeInset, double minTopOffset, double minGapX, double minGapY);

}  // namespace orvel::AcousticCurveRouter
