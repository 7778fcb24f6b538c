#include "FloorplanRoomCluster.h"

#include "HashCombine.h"

namespace orvel {

std::vector<BondedSatellite> FloorplanRoomCluster::bondedSatellites() const {
    std::vector<BondedSatellite> out;
    for (const auto& node : nodes) {
        out.insert(out.end(), node.speaker.bondedSatellites.begin(), node.speaker.bondedSatellites.end());
    }
    return out;
}

}  // namespace orvel

std::size_t std::hash<orvel::FloorplanRoomCluster>::operator()(const orvel::FloorplanRoomCluster& cluster) const noexcept {
    std::size_t seed = 0;
    orvel::hashCombine(seed, cluster.id);
    orvel::hashCombine(seed, cluster.title);
    orvel::hashCombine(seed, cluster.level);
    orvel::hashCombine(seed, cluster.nodes.size());
    for (const auto& node : cluster.nodes) orvel::hashCombine(seed, node);
    return seed;
}
