#pragma once

// The memo key of the full map's geometry: every input that can move something on the canvas,
// quantised so that pointer jitter below a whole point and coordinate changes below a
// thousandth of a band do not recompute the layout.

#include <cstdint>
#include <optional>
#include <vector>

#include "OrvelDomain/FloorLevel.h"
#include "OrvelDomain/FloorplanNode.h"
#include "OrvelDomain/Geometry.h"
#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelUI/map/MapDragState.h"

namespace orvel {

struct MapGeometryKey {
    struct NodeKey {
        SpeakerUUID id;
        // The coordinate in thousandths.
        std::int64_t x;
        std::int64_t y;
        FloorLevel level;
        std::optional<GroupID> group;
        bool hasSatellites;

        friend bool operator==(const NodeKey&, const NodeKey&) = default;
    };
    struct HubKey {
        GroupID id;
        // Coordinator first, then the members in their order.
        std::vector<SpeakerUUID> memberIDs;

        friend bool operator==(const HubKey&, const HubKey&) = default;
    };

    std::int64_t width;
    std::int64_t height;
    std::vector<NodeKey> nodes;
    std::vector<HubKey> hubs;
    std::optional<SpeakerUUID> dragging;
    std::optional<std::int64_t> dragX;
    std::optional<std::int64_t> dragY;

    // Sizes and the drag point rounded to whole points, coordinates to thousandths.
    static MapGeometryKey make(const std::vector<FloorplanNode>& nodes, const std::vector<SonosGroup>& hubGroups,
                               Size viewportSize, const MapDragState& drag);
    // To the nearest integer, halves away from zero. A value that is not finite counts as 0 and
    // one beyond the canvas range is clamped first, so the conversion is always defined.
    static std::int64_t rounded(double value);

    friend bool operator==(const MapGeometryKey&, const MapGeometryKey&) = default;
};

}  // namespace orvel
