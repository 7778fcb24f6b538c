#include "MapGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "OrvelDomain/AcousticCurveRouter.h"
#include "OrvelDomain/LayoutRoom.h"
#include "OrvelDomain/RoomNaming.h"

namespace orvel::MapGeometry {

namespace router = AcousticCurveRouter;

namespace {

bool hasSatellites(const FloorplanNode& node) {
    return !node.speaker.bondedSatellites.empty();
}

bool isDragged(const FloorplanNode& node, const MapDragState& drag) {
    return drag.dragging && *drag.dragging == node.id();
}

// The first node of each speaker: the store lists each speaker once, and should it not, the
// first one is the one every step uses.
using NodeIndex = std::map<SpeakerUUID, const FloorplanNode*>;

NodeIndex indexNodes(const std::vector<FloorplanNode>& nodes) {
    NodeIndex index;
    for (const auto& node : nodes) index.emplace(node.id(), &node);
    return index;
}

// The group's rooms on the map, coordinator first; speakers without a node are skipped.
std::vector<const FloorplanNode*> memberNodes(const SonosGroup& group, const NodeIndex& index) {
    std::vector<const FloorplanNode*> members;
    auto add = [&](const SpeakerUUID& id) {
        if (auto it = index.find(id); it != index.end()) members.push_back(it->second);
    };
    add(group.coordinator.id);
    for (const auto& member : group.members) add(member.id);
    return members;
}

Rect hubBounds(const Rect& frame) {
    return Rect(frame.minX() + 16, frame.minY() + 38, std::max(frame.width() - 32, 80.0),
                std::max(frame.height() - 46, 60.0));
}

}  // namespace

Rect plot(Size canvasSize) {
    const double insetX = std::min(plotInsetX, canvasSize.width / 2);
    const double insetY = std::min(plotInsetY, canvasSize.height / 2);
    return Rect(insetX, insetY, canvasSize.width - 2 * insetX, canvasSize.height - 2 * insetY);
}

const FloorBandLayout* bandOf(const std::vector<FloorBandLayout>& bands, const FloorLevel& level) {
    for (const auto& band : bands) {
        if (band.level == level) return &band;
    }
    return nullptr;
}

Point baseDisplayPoint(const FloorplanNode& node, const std::vector<FloorBandLayout>& bands, Rect plot,
                       const MapDragState& drag) {
    if (isDragged(node, drag) && drag.dragPoint) return *drag.dragPoint;
    if (const FloorBandLayout* band = bandOf(bands, node.level)) {
        return band->point(node.coordinate, hasSatellites(node));
    }
    return {plot.minX() + node.coordinate.x() * plot.width(), plot.minY() + node.coordinate.y() * plot.height()};
}

Point computeDisplayPoint(const FloorplanNode& node, const std::vector<FloorBandLayout>& bands,
                          const std::map<GroupID, Point>& hubLocations, Rect plot, const MapDragState& drag) {
    const Point base = baseDisplayPoint(node, bands, plot, drag);
    const FloorBandLayout* band = bandOf(bands, node.level);
    if (isDragged(node, drag) || band == nullptr || hubLocations.empty()) return base;
    std::optional<Point> nearest;
    double best = 0;
    for (const auto& [group, hub] : hubLocations) {
        const double d = distance(hub, base);
        if (!nearest || d < best) {
            nearest = hub;
            best = d;
        }
    }
    return router::nudgedRoomPoint(base, nearest, band->safeInnerRect, nudgeMinimumSeparation);
}

std::map<GroupID, Point> computeHubLocations(const std::vector<SonosGroup>& hubGroups,
                                             const std::vector<FloorplanNode>& nodes,
                                             const std::vector<FloorBandLayout>& bands, Rect plot,
                                             const MapDragState& drag) {
    const NodeIndex index = indexNodes(nodes);
    std::map<SpeakerUUID, Point> basePoints;
    std::vector<Rect> roomObstacles;
    roomObstacles.reserve(nodes.size());
    for (const auto& node : nodes) {
        const Point base = baseDisplayPoint(node, bands, plot, drag);
        basePoints.emplace(node.id(), base);
        roomObstacles.push_back(router::nodeObstacleRect(base, hasSatellites(node)));
    }

    std::map<GroupID, Point> hubs;
    std::vector<Rect> placed;
    for (const auto& group : hubGroups) {
        const auto members = memberNodes(group, index);
        if (members.empty()) continue;
        std::vector<Point> connected;
        connected.reserve(members.size());
        for (const FloorplanNode* member : members) connected.push_back(basePoints.at(member->id()));
        const FloorBandLayout* band = bandOf(bands, members.front()->level);
        const Rect bounds = band ? hubBounds(band->frame) : plot;
        const Point hub = router::placeMusicHub(connected, roomObstacles, placed, bounds);
        hubs.insert_or_assign(group.id, hub);
        placed.push_back(router::musicHubRect(hub));
    }
    return hubs;
}

namespace {

bool crossesAnyAt(const AcousticCurveSegment& segment, const std::vector<Rect>& cards, int samples) {
    for (int k = 0; k <= samples; ++k) {
        const Point p = segment.point(static_cast<double>(k) / samples);
        for (const Rect& card : cards) {
            if (card.contains(p)) return true;
        }
    }
    return false;
}

}  // namespace

bool crossesAny(const AcousticCurveSegment& segment, const std::vector<Rect>& cards) {
    // Fine enough that a 2.2-point line cannot slip through a card's corner unseen.
    return crossesAnyAt(segment, cards, 64);
}

namespace {

// A card as four plain edges: the search below asks millions of times whether a point lies in
// one, and wants no more than four comparisons for it (half-open, as Rect::contains).
struct Edges {
    double minX, minY, maxX, maxY;
    explicit Edges(const Rect& r) : minX(r.minX()), minY(r.minY()), maxX(r.maxX()), maxY(r.maxY()) {}
    bool contains(Point p) const { return p.x >= minX && p.x < maxX && p.y >= minY && p.y < maxY; }
    bool meets(const Edges& o) const { return minX < o.maxX && o.minX < maxX && minY < o.maxY && o.minY < maxY; }
};

Edges boxOf(const AcousticCurveSegment& s) {
    Edges box(Rect(s.start, Size{0, 0}));
    for (Point p : {s.control, s.end}) {
        box.minX = std::min(box.minX, p.x);
        box.minY = std::min(box.minY, p.y);
        box.maxX = std::max(box.maxX, p.x);
        box.maxY = std::max(box.maxY, p.y);
    }
    // Closed on every side, so a card touching a straight curve still counts.
    box.maxX = std::nextafter(box.maxX, std::numeric_limits<double>::infinity());
    box.maxY = std::nextafter(box.maxY, std::numeric_limits<double>::infinity());
    return box;
}

// How many of `samples` + 1 points along the curve fall inside the cards, counting no further
// than `enough`.
int samplesInside(const AcousticCurveSegment& segment, const std::vector<Edges>& cards, int samples, int enough) {
    int inside = 0;
    for (int k = 0; k <= samples && inside < enough; ++k) {
        const Point p = segment.point(static_cast<double>(k) / samples);
        for (const Edges& card : cards) {
            if (card.contains(p)) {
                ++inside;
                break;
            }
        }
    }
    return inside;
}

bool insideAll(const AcousticCurveSegment& segment, const Rect& area) {
    return area.contains(router::curveExtent(segment));
}

// Where the ray from the rectangle's centre towards `towards` leaves it.
Point exitPoint(const Rect& rect, Point towards) {
    const Point c = rect.center();
    const double dx = towards.x - c.x;
    const double dy = towards.y - c.y;
    double t = std::numeric_limits<double>::infinity();
    if (std::abs(dx) > 1e-4) t = std::min(t, (dx > 0 ? rect.maxX() - c.x : rect.minX() - c.x) / dx);
    if (std::abs(dy) > 1e-4) t = std::min(t, (dy > 0 ? rect.maxY() - c.y : rect.minY() - c.y) / dy);
    if (!std::isfinite(t)) return {c.x, rect.minY()};
    return {c.x + dx * t, c.y + dy * t};
}

// The routed curve runs under another group's hub: bow it elsewhere. Control points on a grid
// around the chord's middle are tried nearest first, each curve leaving both cards on the side
// it bows to; the one that clears every other hub, runs least under room cards and bows least
// wins. None clears: nothing.
std::optional<AcousticCurveSegment> aroundHubs(const AcousticCurveSegment& routed, Rect hubCard, Rect roomCard,
                                               const std::vector<Rect>& rooms, const std::vector<Rect>& otherHubs,
                                               Rect plot) {
    constexpr double step = 36;
    constexpr int reach = 16;
    // Whatever runs under a room scores worse than any bow that does not.
    constexpr double perSampleUnderRoom = 1000;
    const Rect from = hubCard.grownBy(tetherInset);
    const Rect to = roomCard.grownBy(tetherInset);
    const Point mid{(routed.start.x + routed.end.x) / 2, (routed.start.y + routed.end.y) / 2};
    // The grid's offsets from the middle, nearest first: the same for every tether.
    static const std::vector<std::pair<double, Point>> offsets = [] {
        std::vector<std::pair<double, Point>> out;
        for (int i = -reach; i <= reach; ++i) {
            for (int j = -reach; j <= reach; ++j) out.emplace_back(std::hypot(i * step, j * step), Point{i * step, j * step});
        }
        std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        return out;
    }();

    // Every curve tried lies inside the plot: only the cards there can be in its way.
    const Edges area(plot);
    std::vector<Edges> hubsThere;
    for (const Rect& hub : otherHubs) {
        if (Edges(hub).meets(area)) hubsThere.emplace_back(hub);
    }
    std::vector<Edges> roomsThere;
    for (const Rect& room : rooms) {
        if (Edges(room).meets(area)) roomsThere.emplace_back(room);
    }

    std::optional<AcousticCurveSegment> best;
    double bestScore = std::numeric_limits<double>::infinity();
    std::vector<Edges> near;
    for (const auto& [bow, offset] : offsets) {
        // Nearer controls come first: from here on nothing can score better.
        if (bow >= bestScore) break;
        const Point control{mid.x + offset.x, mid.y + offset.y};
        if (from.contains(control) || to.contains(control)) continue;
        const AcousticCurveSegment candidate{exitPoint(from, control), control, exitPoint(to, control)};
        if (!insideAll(candidate, plot)) continue;
        // A quadratic curve lies inside the triangle of its three points: only the cards that
        // meet that box can be in its way.
        const Edges box = boxOf(candidate);
        near.clear();
        for (const Edges& hub : hubsThere) {
            if (hub.meets(box)) near.push_back(hub);
        }
        if (samplesInside(candidate, near, 64, 1) > 0) continue;
        near.clear();
        for (const Edges& room : roomsThere) {
            if (room.meets(box)) near.push_back(room);
        }
        // Past the samples that already lose to the best, counting on changes nothing.
        const int enough = std::isfinite(bestScore) ? static_cast<int>((bestScore - bow) / perSampleUnderRoom) + 1 : 1 << 20;
        const double score = perSampleUnderRoom * samplesInside(candidate, near, 32, enough) + bow;
        if (score < bestScore) {
            best = candidate;
            bestScore = score;
        }
    }
    return best;
}

// A tether eased into its bands keeps this far off their edges, unless an end lies nearer.
constexpr double bandEdgeClearance = 6;

}  // namespace

SpeakerTether routeTether(const Speaker& speaker, Point hub, Point room, bool hasSatellites,
                          const std::vector<Rect>& obstacles, const std::vector<Rect>& otherHubs, Rect plot,
                          Rect bands) {
    const Rect roomRect = router::nodeObstacleRect(room, hasSatellites);
    const Rect hubRect = router::musicHubRect(hub);
    AcousticCurveSegment segment = router::routeTether(hubRect, roomRect, obstacles, plot, tetherInset);
    bool behind = crossesAny(segment, otherHubs);
    // The router only prefers bows inside the plot; one that leaves it would be cut by the
    // canvas's edge.
    const bool outside = !insideAll(segment, plot);
    // A plot without area (a view not yet sized) has no room for a detour.
    if ((behind || outside) && plot.width() >= 1 && plot.height() >= 1) {
        // The rooms the curve may run under: all but its own.
        std::vector<Rect> rooms;
        for (const Rect& o : obstacles) {
            if (!o.insetBy(4, 4).intersects(roomRect) && !o.insetBy(4, 4).intersects(hubRect)) rooms.push_back(o);
        }
        // Eased no further than needed, the bow keeps the router's way round the cards, if that
        // way still clears them all; else a way round inside the plot; else the eased bow,
        // whatever it then runs under.
        std::optional<AcousticCurveSegment> eased;
        if (outside) {
            const Rect ends = Rect(segment.start, Size{0, 0}).unionWith(Rect(segment.end, Size{0, 0}));
            eased = router::keptInside(segment, bands.insetBy(bandEdgeClearance, bandEdgeClearance).unionWith(ends));
        }
        if (eased && !crossesAny(*eased, rooms) && !crossesAny(*eased, otherHubs)) {
            segment = *eased;
            behind = false;
        } else if (const auto around = aroundHubs(segment, hubRect, roomRect, rooms, otherHubs, plot)) {
            segment = *around;
            behind = false;
        } else if (eased) {
            segment = *eased;
            behind = crossesAny(segment, otherHubs);
        }
    }
    return SpeakerTether{speaker.id, RoomNaming::shortName(speaker.roomName, false), segment, segment.midpoint(), behind};
}

namespace {

// The other groups' hub cards, as tether obstacles for `group`.
std::vector<Rect> otherHubCards(const GroupID& group, const std::map<GroupID, Point>& hubLocations) {
    std::vector<Rect> cards;
    for (const auto& [id, centre] : hubLocations) {
        if (id != group) cards.push_back(router::musicHubRect(centre));
    }
    return cards;
}

std::vector<Rect> roomCards(const std::vector<FloorplanNode>& nodes, const std::map<SpeakerUUID, Point>& points) {
    std::vector<Rect> cards;
    cards.reserve(nodes.size());
    for (const auto& node : nodes) cards.push_back(router::nodeObstacleRect(points.at(node.id()), hasSatellites(node)));
    return cards;
}

// The frames of the bands that hold the hub and the room; the plot for a card outside every band.
Rect tetherBands(const PrecomputedMapGeometry& geometry, Point hub, const FloorplanNode& room, Rect plot) {
    const FloorBandLayout* roomBand = bandOf(geometry.bands, room.level);
    const auto hubBand = std::find_if(geometry.bands.begin(), geometry.bands.end(),
                                      [&](const FloorBandLayout& band) { return band.frame.contains(hub); });
    if (roomBand == nullptr || hubBand == geometry.bands.end()) return plot;
    return roomBand->frame.unionWith(hubBand->frame);
}

std::vector<SpeakerTether> groupTethers(const SonosGroup& group, Point hub, const NodeIndex& index,
                                        const PrecomputedMapGeometry& geometry, const std::vector<Rect>& rooms,
                                        Rect plot, const std::optional<SpeakerUUID>& only = std::nullopt,
                                        std::vector<SpeakerTether> tethers = {}) {
    const std::vector<Rect> otherHubs = otherHubCards(group.id, geometry.hubLocations);
    std::vector<Rect> obstacles = rooms;
    obstacles.insert(obstacles.end(), otherHubs.begin(), otherHubs.end());
    auto add = [&](const Speaker& speaker) {
        if (only && speaker.id != *only) return;
        const auto node = index.find(speaker.id);
        if (node == index.end()) return;
        const auto point = geometry.displayPoints.find(speaker.id);
        if (point == geometry.displayPoints.end()) return;
        SpeakerTether tether = routeTether(speaker, hub, point->second, hasSatellites(*node->second), obstacles, otherHubs,
                                           plot, tetherBands(geometry, hub, *node->second, plot));
        const auto same = std::find_if(tethers.begin(), tethers.end(),
                                       [&](const SpeakerTether& t) { return t.speakerID == speaker.id; });
        if (same != tethers.end()) *same = std::move(tether);
        else tethers.push_back(std::move(tether));
    };
    add(group.coordinator);
    for (const auto& member : group.members) add(member);
    return tethers;
}

}  // namespace

namespace {

// The rooms of the band at their display points, as the collision pass takes them.
std::vector<router::LayoutRoomSpec> bandRooms(const FloorBandLayout& band, const std::vector<FloorplanNode>& nodes,
                                              const std::map<SpeakerUUID, Point>& points) {
    std::vector<router::LayoutRoomSpec> rooms;
    for (const auto& node : nodes) {
        if (node.level == band.level) rooms.push_back({node.id(), points.at(node.id()), hasSatellites(node), false});
    }
    return rooms;
}

std::map<GroupID, Point> bandHubs(const FloorBandLayout& band, const std::map<GroupID, Point>& hubs) {
    std::map<GroupID, Point> inside;
    for (const auto& [group, hub] : hubs) {
        if (band.frame.contains(hub)) inside.emplace(group, hub);
    }
    return inside;
}

PrecomputedMapGeometry layOut(const std::vector<FloorplanNode>& nodes, const std::vector<SonosGroup>& hubGroups,
                              Size viewportSize, const std::map<FloorLevel, double>& minimumHeights);

}  // namespace

PrecomputedMapGeometry computeResting(const std::vector<FloorplanNode>& nodes, const std::vector<SonosGroup>& hubGroups,
                                      Size viewportSize) {
    return layOut(nodes, hubGroups, viewportSize, {});
}

namespace {

PrecomputedMapGeometry layOut(const std::vector<FloorplanNode>& nodes, const std::vector<SonosGroup>& hubGroups,
                              Size viewportSize, const std::map<FloorLevel, double>& minimumHeights) {
    const MapDragState resting;
    const NodeIndex index = indexNodes(nodes);
    PrecomputedMapGeometry geometry;

    std::map<FloorLevel, std::int64_t> activeHubCountByLevel;
    for (const auto& group : hubGroups) {
        const auto members = memberNodes(group, index);
        if (!members.empty()) ++activeHubCountByLevel[members.front()->level];
    }

    const Rect viewportPlot = plot(viewportSize);
    geometry.bands = FloorBandLayout::compute(nodes, viewportPlot, activeHubCountByLevel, minimumHeights);

    double lowest = viewportPlot.maxY();
    if (!geometry.bands.empty()) {
        lowest = geometry.bands.front().frame.maxY();
        for (const auto& band : geometry.bands) lowest = std::max(lowest, band.frame.maxY());
    }
    const double canvasHeight = std::max(lowest + canvasBottomMargin, viewportSize.height);
    geometry.canvasSize = Size{viewportSize.width, canvasHeight};
    const Rect canvasPlot = plot(geometry.canvasSize);

    geometry.hubLocations = computeHubLocations(hubGroups, nodes, geometry.bands, canvasPlot, resting);
    for (const auto& node : nodes) {
        geometry.displayPoints.insert_or_assign(
            node.id(), computeDisplayPoint(node, geometry.bands, geometry.hubLocations, canvasPlot, resting));
    }

    // A band whose cards, shelved as they lie, need more height than the rule gave it is laid
    // out once more at that height: pressed into too little height the shelves would put its
    // hubs below all of its rooms, far from their own.
    if (minimumHeights.empty()) {
        std::map<FloorLevel, double> needed;
        for (const auto& band : geometry.bands) {
            const double need = router::shelfPackHeight(bandRooms(band, nodes, geometry.displayPoints),
                                                        bandHubs(band, geometry.hubLocations), band.frame);
            if (need > band.frame.height() + 0.5) needed.emplace(band.level, need);
        }
        if (!needed.empty()) return layOut(nodes, hubGroups, viewportSize, needed);
    }

    // Hubs are written back as each band resolves, so a hub pushed into a later band's frame
    // takes part in that band's pass too.
    for (const auto& band : geometry.bands) {
        auto resolved = router::resolveBandCollisions(bandRooms(band, nodes, geometry.displayPoints),
                                                      bandHubs(band, geometry.hubLocations), band.frame);
        for (auto& [id, point] : resolved.roomCenters) geometry.displayPoints.insert_or_assign(id, point);
        for (auto& [group, point] : resolved.hubCenters) geometry.hubLocations.insert_or_assign(group, point);
    }

    const std::vector<Rect> rooms = roomCards(nodes, geometry.displayPoints);
    for (const auto& group : hubGroups) {
        const auto hub = geometry.hubLocations.find(group.id);
        if (hub == geometry.hubLocations.end()) continue;
        geometry.tethersByGroup.insert_or_assign(group.id, groupTethers(group, hub->second, index, geometry, rooms, canvasPlot));
    }
    return geometry;
}

}  // namespace

PrecomputedMapGeometry withDrag(PrecomputedMapGeometry geometry, const std::vector<FloorplanNode>& nodes,
                                const std::vector<SonosGroup>& hubGroups, const MapDragState& drag) {
    if (!drag.dragging || !drag.dragPoint || !geometry.displayPoints.contains(*drag.dragging)) return geometry;
    const SpeakerUUID& dragged = *drag.dragging;
    geometry.displayPoints.insert_or_assign(dragged, *drag.dragPoint);
    const NodeIndex index = indexNodes(nodes);
    const Rect canvasPlot = plot(geometry.canvasSize);
    for (const auto& group : hubGroups) {
        const auto hub = geometry.hubLocations.find(group.id);
        const auto tethers = geometry.tethersByGroup.find(group.id);
        if (hub == geometry.hubLocations.end() || tethers == geometry.tethersByGroup.end()) continue;
        const auto& speakers = tethers->second;
        if (std::none_of(speakers.begin(), speakers.end(), [&](const SpeakerTether& t) { return t.speakerID == dragged; })) {
            continue;
        }
        tethers->second = groupTethers(group, hub->second, index, geometry, roomCards(nodes, geometry.displayPoints),
                                       canvasPlot, dragged, std::move(tethers->second));
    }
    return geometry;
}

PrecomputedMapGeometry compute(const std::vector<FloorplanNode>& nodes, const std::vector<SonosGroup>& hubGroups,
                               Size viewportSize, const MapDragState& drag) {
    return withDrag(computeResting(nodes, hubGroups, viewportSize), nodes, hubGroups, drag);
}

}  // namespace orvel::MapGeometry
