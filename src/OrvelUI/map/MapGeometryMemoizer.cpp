#include "MapGeometryMemoizer.h"

#include "MapCanvasValues.h"
#include "MapGeometry.h"

namespace orvel {

std::shared_ptr<const PrecomputedMapGeometry> MapGeometryMemoizer::memoizedGeometry(
    const std::vector<FloorplanNode>& nodes, const std::vector<SonosGroup>& hubGroups, Size viewportSize,
    const MapDragState& drag) {
    const Size viewport = MapCanvasValues::sanitisedSize(viewportSize);
    MapDragState safeDrag = drag;
    if (safeDrag.dragPoint) safeDrag.dragPoint = MapCanvasValues::sanitisedPoint(*safeDrag.dragPoint);

    MapGeometryKey key = MapGeometryKey::make(nodes, hubGroups, viewport, safeDrag);
    if (lastGeometry_ && lastKey_ == key) return lastGeometry_;

    lastGeometry_ = std::make_shared<const PrecomputedMapGeometry>(MapGeometry::compute(nodes, hubGroups, viewport, safeDrag));
    lastKey_ = std::move(key);
    ++computeCount_;
    return lastGeometry_;
}

}  // namespace orvel
