#include "MapGeometry.h"

#include <algorithm>
#include <cstdint>

#include "OrvelDomain/AcousticCurveRouter.h"
#include "OrvelDomain/LayoutRoomSpec.h"
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

PrecomputedMapGeometry compute(const std::vector<FloorplanNode>& nodes, const std::vector<SonosGroup>& hubGroups,
                               Size viewportSize, const MapDragState& drag) {
    const NodeIndex index = indexNodes(nodes);
    PrecomputedMapGeometry geometry;

    std::map<FloorLevel, std::int64_t> activeHubCountByLevel;
    for (const auto& group : hubGroups) {
        const auto members = memberNodes(group, index);
        if (!members.empty()) ++activeHubCountByLevel[members.front()->level];
    }

    const Rect viewportPlot = plot(viewportSize);
    geometry.bands = FloorBandLayout::compute(nodes, viewportPlot, activeHubCountByLevel);

    double lowest = viewportPlot.maxY();
    if (!geometry.bands.empty()) {
        lowest = geometry.bands.front().frame.maxY();
        for (const auto& band : geometry.bands) lowest = std::max(lowest, band.frame.maxY());
    }
    const double canvasHeight = std::max(lowest + canvasBottomMargin, viewportSize.height);
    geometry.canvasSize = Size{viewportSize.width, canvasHeight};
    const Rect canvasPlot = plot(geometry.canvasSize);

    geometry.hubLocations = computeHubLocations(hubGroups, nodes, geometry.bands, canvasPlot, drag);
    for (const auto& node : nodes) {
        geometry.displayPoints.insert_or_assign(
            node.id(), computeDisplayPoint(node, geometry.bands, geometry.hubLocations, canvasPlot, drag));
    }

    // Hubs are written back as each band resolves, so a hub pushed into a later band's frame
    // takes part in that band's pass too.
    for (const auto& band : geometry.bands) {
        std::vector<router::LayoutRoomSpec> rooms;
        for (const auto& node : nodes) {
            if (node.level != band.level) continue;
            rooms.push_back({node.id(), geometry.displayPoints.at(node.id()), hasSatellites(node), isDragged(node, drag)});
        }
        std::map<GroupID, Point> bandHubs;
        for (const auto& [group, hub] : geometry.hubLocations) {
            if (band.frame.contains(hub)) bandHubs.emplace(group, hub);
        }
        auto resolved = router::resolveBandCollisions(rooms, bandHubs, band.frame);
        for (auto& [id, point] : resolved.roomCenters) geometry.displayPoints.insert_or_assign(id, point);
        for (auto& [group, point] : resolved.hubCenters) geometry.hubLocations.insert_or_assign(group, point);
    }

    std::vector<Rect> obstacles;
    obstacles.reserve(nodes.size());
    for (const auto& node : nodes) {
        obstacles.push_back(router::nodeObstacleRect(geometry.displayPoints.at(node.id()), hasSatellites(node)));
    }
    for (const auto& group : hubGroups) {
        const auto hub = geometry.hubLocations.find(group.id);
        if (hub == geometry.hubLocations.end()) continue;
        const Rect hubRect = router::musicHubRect(hub->second);
        std::vector<SpeakerTether> tethers;
        auto addTether = [&](const Speaker& speaker) {
            const auto node = index.find(speaker.id);
            if (node == index.end()) return;
            const auto point = geometry.displayPoints.find(speaker.id);
            if (point == geometry.displayPoints.end()) return;
            const Rect roomRect = router::nodeObstacleRect(point->second, hasSatellites(*node->second));
            const AcousticCurveSegment segment = router::routeTether(hubRect, roomRect, obstacles, canvasPlot, tetherInset);
            tethers.push_back(SpeakerTether{speaker.id, RoomNaming::shortName(speaker.roomName, false), segment,
                                            segment.midpoint()});
        };
        addTether(group.coordinator);
        for (const auto& member : group.members) addTether(member);
        geometry.tethersByGroup.insert_or_assign(group.id, std::move(tethers));
    }
    return geometry;
}

}  // namespace orvel::MapGeometry
