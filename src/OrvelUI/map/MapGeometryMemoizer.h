#pragma once

// The full map's one-entry geometry memo. The map asks for its geometry on every evaluation
// (hover, selection, each pointer move of a drag); the layout runs again only when the
// quantised key changes, and an unchanged key hands back the very same geometry object. The
// layout without the drag is kept beside it, so a pointer move of a drag only moves the dragged
// room and re-routes its tether.
// One per map view, used on the GUI thread only.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "OrvelDomain/FloorplanNode.h"
#include "OrvelDomain/Geometry.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelUI/map/MapDragState.h"
#include "OrvelUI/map/MapGeometryKey.h"
#include "OrvelUI/map/PrecomputedMapGeometry.h"

namespace orvel {

class MapGeometryMemoizer {
public:
    MapGeometryMemoizer() = default;
    MapGeometryMemoizer(const MapGeometryMemoizer&) = delete;
    MapGeometryMemoizer& operator=(const MapGeometryMemoizer&) = delete;

    // `hubGroups` are the groups that get a hub, in hub order. The viewport and the drag point
    // are sanitised first (see MapCanvasValues); the layout then runs on those exact values.
    std::shared_ptr<const PrecomputedMapGeometry> memoizedGeometry(const std::vector<FloorplanNode>& nodes,
                                                                   const std::vector<SonosGroup>& hubGroups,
                                                                   Size viewportSize, const MapDragState& drag);

    const std::optional<MapGeometryKey>& lastKey() const { return lastKey_; }
    const std::shared_ptr<const PrecomputedMapGeometry>& lastGeometry() const { return lastGeometry_; }
    // How many times a new geometry was made (the whole layout, or a drag's move of one room):
    // what a benchmark or a test of the memo counts.
    std::int64_t computeCount() const { return computeCount_; }

private:
    std::optional<MapGeometryKey> lastKey_;
    std::shared_ptr<const PrecomputedMapGeometry> lastGeometry_;
    std::optional<MapGeometryKey> restingKey_;
    std::shared_ptr<const PrecomputedMapGeometry> resting_;
    std::int64_t computeCount_ = 0;
};

}  // namespace orvel
