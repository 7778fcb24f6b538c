#include "MapGeometryKey.h"

#include <cmath>

#include "MapCanvasValues.h"

namespace orvel {

std::int64_t MapGeometryKey::rounded(double value) {
    return static_cast<std::int64_t>(std::llround(MapCanvasValues::sanitised(value)));
}

MapGeometryKey MapGeometryKey::make(const std::vector<FloorplanNode>& nodes, const std::vector<SonosGroup>& hubGroups,
                                    Size viewportSize, const MapDragState& drag) {
    MapGeometryKey key{rounded(viewportSize.width), rounded(viewportSize.height), {}, {}, drag.dragging,
                       std::nullopt, std::nullopt};
    key.nodes.reserve(nodes.size());
    for (const auto& node : nodes) {
        key.nodes.push_back(NodeKey{node.id(), rounded(node.coordinate.x() * 1000), rounded(node.coordinate.y() * 1000),
                                    node.level, node.group, !node.speaker.bondedSatellites.empty()});
    }
    key.hubs.reserve(hubGroups.size());
    for (const auto& group : hubGroups) {
        HubKey hub{group.id, {}};
        hub.memberIDs.reserve(group.members.size() + 1);
        hub.memberIDs.push_back(group.coordinator.id);
        for (const auto& member : group.members) hub.memberIDs.push_back(member.id);
        key.hubs.push_back(std::move(hub));
    }
    if (drag.dragPoint) {
        key.dragX = rounded(drag.dragPoint->x);
        key.dragY = rounded(drag.dragPoint->y);
    }
    return key;
}

}  // namespace orvel
