#pragma once

// The full map's geometry from the store's map nodes, the groups that get a music-source hub,
// the viewport and the drag in progress: floor bands stacked down a canvas at least as tall as
// the viewport, one hub per group near its rooms, each room nudged off the nearest hub, the
// rooms and hubs of every band pushed apart, and one tether from each hub to each of its rooms,
// routed around the other rooms and the other groups' hubs. While a room is dragged only that
// room and its tether move: every other card stays where the user sees it, so a drop target
// never runs from the pointer. Pure: the same inputs give the same geometry, whatever the order
// of equal-distance hubs in memory (they are met in the order of their group identifiers).

#include <map>
#include <optional>
#include <vector>

#include "OrvelDomain/FloorBandLayout.h"
#include "OrvelDomain/FloorplanNode.h"
#include "OrvelDomain/Geometry.h"
#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelUI/map/MapDragState.h"
#include "OrvelUI/map/PrecomputedMapGeometry.h"

namespace orvel::MapGeometry {

inline constexpr double plotInsetX = 24;
inline constexpr double plotInsetY = 16;
inline constexpr double canvasBottomMargin = 16;
inline constexpr double nudgeMinimumSeparation = 148;
inline constexpr double tetherInset = 2;

// The whole pipeline on the given (already sanitised) inputs: `withDrag` of `computeResting`.
PrecomputedMapGeometry compute(const std::vector<FloorplanNode>& nodes, const std::vector<SonosGroup>& hubGroups,
                               Size viewportSize, const MapDragState& drag);
// The layout with no room dragged; the memoizer keeps it while a drag goes on.
PrecomputedMapGeometry computeResting(const std::vector<FloorplanNode>& nodes, const std::vector<SonosGroup>& hubGroups,
                                      Size viewportSize);
// `resting` with the dragged room at the drag point and its tether re-routed to it. Without a
// drag point, or for a room not on the map, `resting` unchanged.
PrecomputedMapGeometry withDrag(PrecomputedMapGeometry resting, const std::vector<FloorplanNode>& nodes,
                                const std::vector<SonosGroup>& hubGroups, const MapDragState& drag);

// The tether from the hub at `hub` to the room card centred at `room`, around `obstacles` (room
// cards and the other groups' hub cards: the tether's own two cards are left out by the
// router). It passes behind a hub card of `otherHubs` only when no bow clears them all. It
// never leaves the plot: a bow that would is eased into `bands` (the frames of the bands of its
// two cards) when that runs under no card, else replaced by a bow around the cards inside the
// plot, else eased into `bands` whatever it then runs under.
SpeakerTether routeTether(const Speaker& speaker, Point hub, Point room, bool hasSatellites,
                          const std::vector<Rect>& obstacles, const std::vector<Rect>& otherHubs, Rect plot,
                          Rect bands);
// Whether any point of the curve lies inside one of the cards.
bool crossesAny(const AcousticCurveSegment& segment, const std::vector<Rect>& cards);

// The rectangle in which bands and rooms are laid out: the canvas less 24 at the sides and 16
// at top and bottom. A canvas too small for the insets gives a plot of no width (or height) on
// its centre line, never the null rectangle, so nothing downstream meets an infinite edge.
Rect plot(Size canvasSize);

// The first band of the node's floor (rank and title both equal), if any.
const FloorBandLayout* bandOf(const std::vector<FloorBandLayout>& bands, const FloorLevel& level);

// The room's un-nudged centre: the drag point for the dragged room, else its band's point for
// its coordinate, else its coordinate mapped across the plot.
Point baseDisplayPoint(const FloorplanNode& node, const std::vector<FloorBandLayout>& bands, Rect plot,
                       const MapDragState& drag);
// The base point pushed away from the nearest hub of the whole map (the first met wins a tie);
// the dragged room and a room without a band stay at their base point.
Point computeDisplayPoint(const FloorplanNode& node, const std::vector<FloorBandLayout>& bands,
                          const std::map<GroupID, Point>& hubLocations, Rect plot, const MapDragState& drag);
// The first placement of each hub, in the order of the hub groups: each later hub keeps clear
// of the rooms and of the hubs placed before it. A group with no room on the map gets none.
std::map<GroupID, Point> computeHubLocations(const std::vector<SonosGroup>& hubGroups,
                                             const std::vector<FloorplanNode>& nodes,
                                             const std::vector<FloorBandLayout>& bands, Rect plot,
                                             const MapDragState& drag);

}  // namespace orvel::MapGeometry
