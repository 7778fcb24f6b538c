#include "NearestTarget.h"

#include <cmath>

namespace orvel {

std::optional<MapDropTarget> nearestTarget(Point to, const SpeakerUUID& excluding, const PrecomputedMapGeometry& geometry,
                                           const std::vector<FloorplanNode>& floorplan, double dropRadius) {
    std::optional<GroupID> excludedGroup;
    for (const auto& node : floorplan) {
        if (node.id() == excluding) {
            excludedGroup = node.group;
            break;
        }
    }

    double best = dropRadius;
    std::optional<MapDropTarget> result;
    for (const auto& [group, centre] : geometry.hubLocations) {
        if (excludedGroup && group == *excludedGroup) continue;
        const double d = std::hypot(centre.x - to.x, centre.y - to.y);
        if (d <= best) {
            best = d;
            result = MapDropTarget::musicHub(group);
        }
    }
    for (const auto& node : floorplan) {
        if (node.id() == excluding) continue;
        const auto point = geometry.displayPoints.find(node.id());
        if (point == geometry.displayPoints.end()) continue;
        const double d = std::hypot(point->second.x - to.x, point->second.y - to.y);
        if (d <= best) {
            best = d;
            result = MapDropTarget::speaker(node.id());
        }
    }
    return result;
}

}  // namespace orvel
