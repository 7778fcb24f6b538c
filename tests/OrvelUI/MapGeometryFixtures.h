#pragma once

// Map nodes and hub groups for the full map's tests, on the numbered speakers of the shell's
// fixtures.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "OrvelDomain/FloorplanNode.h"
#include "OrvelDomain/RoomCoordinate.h"
#include "ShellFixtures.h"

namespace orvel::testing {

inline FloorplanNode mapNode(const Speaker& speaker, double x, double y, std::optional<GroupID> group = std::nullopt,
                             FloorLevel level = FloorLevel::main()) {
    return FloorplanNode{speaker, std::move(level), RoomCoordinate::clamping(x, y), Placement::inferred,
                         std::move(group)};
}

// Speakers 1…4 on the main floor: a group of three led by 1, and 4 alone.
struct SmallHousehold {
    std::vector<Speaker> speakers{speaker(1, "Kitchen Speaker"), speaker(2, "Living Room", 1), speaker(3, "Office"),
                                  speaker(4, "Bedroom")};
    std::vector<FloorplanNode> nodes{mapNode(speakers[0], 0.2, 0.3, gid(1)), mapNode(speakers[1], 0.5, 0.5, gid(1)),
                                     mapNode(speakers[2], 0.8, 0.4, gid(1)), mapNode(speakers[3], 0.6, 0.8, gid(4))};
    std::vector<SonosGroup> hubGroups{group({speakers[0], speakers[1], speakers[2]}, playingStream())};
};

}  // namespace orvel::testing
