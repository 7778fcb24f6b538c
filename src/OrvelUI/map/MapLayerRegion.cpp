#include "OrvelUI/map/MapLayerRegion.h"

#include <algorithm>
#include <cmath>

namespace orvel {

QRectF paintedCanvasRegion(QRectF visible, QSizeF canvas, double step) {
    const QRectF whole(QPointF(0, 0), canvas.isValid() ? canvas : QSizeF());
    if (visible.isNull() || !(step > 0) || !std::isfinite(step)) return whole;
    const QRectF area = visible.normalized();
    const QRectF snapped(QPointF(std::floor(area.left() / step) * step, std::floor(area.top() / step) * step),
                         QPointF(std::ceil(area.right() / step) * step, std::ceil(area.bottom() / step) * step));
    const QRectF region = snapped.intersected(whole);
    return region.isValid() ? region : QRectF();
}

}  // namespace orvel
