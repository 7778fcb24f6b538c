#pragma once

// The rules of the compact map, which lists the household floor by floor: which floors it
// shows and in what order, the order of a floor's rooms, which hubs belong to a floor, the
// floor's room count and what a dropped text does. Pure functions.

#include <optional>
#include <string>
#include <vector>

#include "OrvelDomain/FloorLevel.h"
#include "OrvelDomain/FloorplanNode.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/SpeakerUUID.h"

namespace orvel {

struct CompactFloorplan {
    CompactFloorplan() = delete;

    // Every distinct floor of the nodes, the highest rank first and, at equal rank, the greater
    // title first; the main floor alone when there are no nodes.
    static std::vector<FloorLevel> distinctLevels(const std::vector<FloorplanNode>& nodes);
    // The nodes on `level`, upper rows first (y differing by more than 0.1) and left to right
    // within a row. That order is not a strict weak order when rows chain, so an explicit
    // stable insertion sort applies it: the result never depends on a library's algorithm.
    static std::vector<FloorplanNode> rooms(const std::vector<FloorplanNode>& nodes, const FloorLevel& level);
    // The hub groups, in their order, whose home floor is `level`: the floor of the first of a
    // group's speakers (coordinator first) that has a node.
    static std::vector<SonosGroup> hubs(const std::vector<SonosGroup>& hubGroups,
                                        const std::vector<FloorplanNode>& nodes, const FloorLevel& level);
    // "1 Room", "0 Rooms", "5 Rooms".
    static std::string roomCountText(std::size_t count);
    // The room a drop of `texts` on the tile of `target` brings into target's group: the first
    // text as a speaker identifier; none when there is no text, it is no identifier, or it is
    // the target itself.
    static std::optional<SpeakerUUID> droppedMember(const std::vector<std::string>& texts, const SpeakerUUID& target);
};

}  // namespace orvel
