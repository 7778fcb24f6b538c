#include "AcousticCurveSegment.h"

namespace orvel {

Point AcousticCurveSegment::point(double t) const {
    double a = (1 - t) * (1 - t);
    double b = 2 * t * (1 - t);
    double c = t * t;
    return {a * start.x + b * control.x + c * end.x, a * start.y + b * control.y + c * end.y};
}

Point AcousticCurveSegment::midpoint() const {
    return {0.25 * start.x + 0.5 * control.x + 0.25 * end.x, 0.25 * start.y + 0.5 * control.y + 0.25 * end.y};
}

}  // namespace orvel
