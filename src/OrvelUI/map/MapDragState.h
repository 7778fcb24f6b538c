#pragma once

// What the full map remembers of a room drag in progress: which room, where its preview line
// ends, and the target a drop would go to now. All empty when no room is being dragged.

#include <optional>

#include "OrvelDomain/Geometry.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelUI/map/MapDropTarget.h"

namespace orvel {

struct MapDragState {
    std::optional<SpeakerUUID> dragging;
    // In canvas points.
    std::optional<Point> dragPoint;
    std::optional<MapDropTarget> dropTarget;

    bool isIdle() const { return !dragging && !dragPoint && !dropTarget; }

    friend bool operator==(const MapDragState&, const MapDragState&) = default;
};

}  // namespace orvel
