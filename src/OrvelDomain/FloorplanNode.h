#pragma once

// One speaker (room) on the floor-plan map: its floor, where it is drawn, whether that place
// was inferred or pinned, and its group. Identified by its speaker.

#include <functional>
#include <optional>

#include "FloorLevel.h"
#include "GroupID.h"
#include "Placement.h"
#include "RoomCoordinate.h"
#include "Speaker.h"

namespace orvel {

struct FloorplanNode {
    Speaker speaker;
    FloorLevel level;
    RoomCoordinate coordinate;
    Placement placement;
    // Absent when no grouping is known or it holds no group for the speaker.
    std::optional<GroupID> group;

    const SpeakerUUID& id() const { return speaker.id; }

    friend bool operator==(const FloorplanNode&, const FloorplanNode&) = default;
};

}  // namespace orvel

template <>
struct std::hash<orvel::FloorplanNode> {
    std::size_t operator()(const orvel::FloorplanNode& node) const noexcept;
};
