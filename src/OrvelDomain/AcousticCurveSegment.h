#pragma once

// A tether on the floor-plan map: the quadratic curve from `start` through the pull of
// `control` to `end`, in canvas points.

#include <functional>

#include "Geometry.h"

namespace orvel {

struct AcousticCurveSegment {
    Point start;
    Point control;
    Point end;

    // (1 - t)² start + 2t(1 - t) control + t² end.
    Point point(double t) const;
    // The point at t = 0.5.
    Point midpoint() const;

    friend bool operator==(const AcousticCurveSegment&, const AcousticCurveSegment&) = default;
};

}  // namespace orvel

template <>
struct std::hash<orvel::AcousticCurveSegment> {
    std::size_t operator()(const orvel::AcousticCurveSegment& s) const noexcept {
        std::hash<orvel::Point> h;
        return orvel::geometry::combineHash(orvel::geometry::combineHash(h(s.start), h(s.control)), h(s.end));
    }
};
