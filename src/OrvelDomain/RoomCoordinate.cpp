#include "RoomCoordinate.h"

#include <cmath>

namespace orvel {

double RoomCoordinate::clampAxis(double value) {
    if (!std::isfinite(value)) return 0.5;
    if (value <= 0) return 0.0;
    if (value > 1) return 1.0;
    return value;
}

RoomCoordinate RoomCoordinate::clamping(double x, double y) {
    return RoomCoordinate(clampAxis(x), clampAxis(y));
}

Json RoomCoordinate::toJson() const {
    Json out = Json::object();
    out["x"] = x_;
    out["y"] = y_;
    return out;
}

namespace {
// Any JSON number, even one that overflowed to infinity while parsing: the clamp settles it.
Decoded<double> decodeAxis(const Json& value) {
    if (!value.is_number()) {
        return std::unexpected(DecodingError::typeMismatch(
            "Expected to decode Double but found " + std::string(value.type_name()) + " instead."));
    }
    return RoomCoordinate::clampAxis(value.get<double>());
}
}  // namespace

Decoded<RoomCoordinate> RoomCoordinate::fromJson(const Json& value) {
    ORVEL_TRY(double x, json::required(value, "x", decodeAxis));
    ORVEL_TRY(double y, json::required(value, "y", decodeAxis));
    return RoomCoordinate(x, y);
}

}  // namespace orvel
