#pragma once

// The speakers of one room on one floor, as the map draws them together.

#include <functional>
#include <string>
#include <vector>

#include "BondedSatellite.h"
#include "FloorLevel.h"
#include "FloorplanNode.h"

namespace orvel {

struct FloorplanRoomCluster {
    // "<rank>-<id>+<id>...", the speakers in cluster order.
    std::string id;
    // The room title shown for the cluster.
    std::string title;
    FloorLevel level;
    // The first node anchors the cluster; the others joined it.
    std::vector<FloorplanNode> nodes;

    // Every node's satellites, node by node, each list in its own order.
    std::vector<BondedSatellite> bondedSatellites() const;

    friend bool operator==(const FloorplanRoomCluster&, const FloorplanRoomCluster&) = default;
};

}  // namespace orvel

template <>
struct std::hash<orvel::FloorplanRoomCluster> {
    std::size_t operator()(const orvel::FloorplanRoomCluster& cluster) const noexcept;
};
