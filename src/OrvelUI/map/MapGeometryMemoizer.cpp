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

    MapGeometryKey restingKey = key;
    restingKey.dragging.reset();
    restingKey.dragX.reset();
    restingKey.dragY.reset();
    if (!resting_ || restingKey_ != restingKey) {
        resting_ = std::make_shared<const PrecomputedMapGeometry>(MapGeometry::computeResting(nodes, hubGroups, viewport));
        restingKey_ = std::move(restingKey);
    }
    const bool dragged = safeDrag.dragging && safeDrag.dragPoint;
    lastGeometry_ = dragged ? std::make_shared<const PrecomputedMapGeometry>(
                                  MapGeometry::withDrag(*resting_, nodes, hubGroups, safeDrag))
                            : resting_;
    lastKey_ = std::move(key);
    ++computeCount_;
    return lastGeometry_;
}

}  // namespace orvel
