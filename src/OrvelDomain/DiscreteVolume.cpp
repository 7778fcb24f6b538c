#include "DiscreteVolume.h"

#include <cmath>

namespace orvel {

DiscreteVolume DiscreteVolume::snappingFraction(double fraction) {
    if (!std::isfinite(fraction) || !(fraction > 0.0)) return DiscreteVolume(0);
    double x = std::min(fraction, 1.0) * 100.0;
    return snappingPercent(static_cast<std::int64_t>(std::round(x)));
}

const std::array<DiscreteVolume, 101>& DiscreteVolume::allCases() {
    static const auto cases = [] {
        std::array<DiscreteVolume, 101> out{};
        for (std::uint8_t i = 0; i <= 100; ++i) out[i] = DiscreteVolume(i);
        return out;
    }();
    return cases;
}

Decoded<DiscreteVolume> DiscreteVolume::fromJson(const Json& value) {
    ORVEL_TRY(std::int64_t n, json::decodeInteger(value));
    if (auto volume = make(n)) return *volume;
    return std::unexpected(DecodingError::dataCorrupted(
        "Cannot initialize DiscreteVolume from invalid Int value " + std::to_string(n)));
}

}  // namespace orvel
