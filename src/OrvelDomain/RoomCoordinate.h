#pragma once

// Where a speaker sits on the floor-plan map, as two fractions 0...1: x across the width in
// which a floor band places its cards, y on the map's whole vertical axis, of which each floor
// band covers a slice. Every way in clamps, so a stored coordinate is always finite and in
// range, whatever a file, a drag or a layout computation handed in.

#include <functional>

#include "Geometry.h"
#include "Json.h"

namespace orvel {

class RoomCoordinate {
public:
    // Clamps each axis with `clampAxis`; never fails.
    static RoomCoordinate clamping(double x, double y);
    // NaN and ±infinity become 0.5; values at or below 0 (-0.0 too) become 0.0; values above 1
    // become 1.0; anything else stays.
    static double clampAxis(double value);

    double x() const { return x_; }
    double y() const { return y_; }

    // {"x": x, "y": y}.
    Json toJson() const;
    // Both members required and numbers; out-of-range values are clamped, never refused.
    static Decoded<RoomCoordinate> fromJson(const Json& value);

    friend bool operator==(const RoomCoordinate&, const RoomCoordinate&) = default;

private:
    RoomCoordinate(double x, double y) : x_(x), y_(y) {}
    double x_;
    double y_;
};

}  // namespace orvel

template <>
struct std::hash<orvel::RoomCoordinate> {
    std::size_t operator()(const orvel::RoomCoordinate& c) const noexcept {
        return orvel::geometry::combineHash(orvel::geometry::hashDouble(c.x()),
                                            orvel::geometry::hashDouble(c.y()));
    }
};
