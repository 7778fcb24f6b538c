#include "CompactFloorplan.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace orvel {

namespace {

bool floorComesFirst(const FloorLevel& a, const FloorLevel& b) {
    if (a.rank() != b.rank()) return a.rank() > b.rank();
    return a.title() > b.title();
}

bool roomComesFirst(const FloorplanNode& a, const FloorplanNode& b) {
    const double ay = a.coordinate.y();
    const double by = b.coordinate.y();
    if (std::abs(ay - by) > 0.1) return ay < by;
    return a.coordinate.x() < b.coordinate.x();
}

}  // namespace

std::vector<FloorLevel> CompactFloorplan::distinctLevels(const std::vector<FloorplanNode>& nodes) {
    std::vector<FloorLevel> levels;
    for (const FloorplanNode& node : nodes) {
        if (std::find(levels.begin(), levels.end(), node.level) == levels.end()) levels.push_back(node.level);
    }
    // Rank and title together are a strict order: any sort gives the same list.
    std::sort(levels.begin(), levels.end(), floorComesFirst);
    if (levels.empty()) levels.push_back(FloorLevel::main());
    return levels;
}

std::vector<FloorplanNode> CompactFloorplan::rooms(const std::vector<FloorplanNode>& nodes, const FloorLevel& level) {
    std::vector<FloorplanNode> sorted;
    for (const FloorplanNode& node : nodes) {
        if (node.level != level) continue;
        // Insertion: the new room goes after every room it does not come before, so rooms that
        // compare neither way keep the order of the nodes.
        auto at = sorted.end();
        while (at != sorted.begin() && roomComesFirst(node, *std::prev(at))) --at;
        sorted.insert(at, node);
    }
    return sorted;
}

std::vector<SonosGroup> CompactFloorplan::hubs(const std::vector<SonosGroup>& hubGroups,
                                               const std::vector<FloorplanNode>& nodes, const FloorLevel& level) {
    std::vector<SonosGroup> onFloor;
    for (const SonosGroup& group : hubGroups) {
        const FloorLevel* home = nullptr;
        for (const Speaker& speaker : group.speakers()) {
            const auto node = std::find_if(nodes.begin(), nodes.end(),
                                           [&](const FloorplanNode& n) { return n.id() == speaker.id; });
            if (node != nodes.end()) {
                home = &node->level;
                break;
            }
        }
        if (home && *home == level) onFloor.push_back(group);
    }
    return onFloor;
}

std::string CompactFloorplan::roomCountText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " Room" : " Rooms");
}

std::optional<SpeakerUUID> CompactFloorplan::droppedMember(const std::vector<std::string>& texts,
                                                           const SpeakerUUID& target) {
    if (texts.empty()) return std::nullopt;
    auto member = SpeakerUUID::make(texts.front());
    if (!member || *member == target) return std::nullopt;
    return member;
}

}  // namespace orvel
