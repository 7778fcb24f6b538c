#include "MapCanvasValues.h"

#include <algorithm>
#include <cmath>

namespace orvel::MapCanvasValues {

double sanitised(double value) {
    if (!std::isfinite(value)) return 0;
    return std::clamp(value, -limit, limit);
}

Size sanitisedSize(Size size) {
    return {std::max(sanitised(size.width), 0.0), std::max(sanitised(size.height), 0.0)};
}

Point sanitisedPoint(Point point) {
    return {sanitised(point.x), sanitised(point.y)};
}

}  // namespace orvel::MapCanvasValues
