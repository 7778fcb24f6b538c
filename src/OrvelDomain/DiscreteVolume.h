#pragma once

// A volume as one of the 101 whole steps 0...100. JSON: the step number; reading never clamps.

#include <array>
#include <compare>
#include <cstdint>
#include <functional>
#include <optional>

#include "Json.h"

namespace orvel {

class DiscreteVolume {
public:
    constexpr DiscreteVolume() = default;  // step 0
    // The step of p clamped to 0...100.
    static constexpr DiscreteVolume snappingPercent(std::int64_t p) {
        return DiscreteVolume(static_cast<std::uint8_t>(p < 0 ? 0 : (p > 100 ? 100 : p)));
    }
    // The fraction scaled to 0...100, rounded half away from zero; non-finite or not above
    // zero gives step 0 (positive infinity too).
    static DiscreteVolume snappingFraction(double fraction);
    // The step numbered n, or nullopt unless n is in 0...100.
    static constexpr std::optional<DiscreteVolume> make(std::int64_t n) {
        if (n < 0 || n > 100) return std::nullopt;
        return DiscreteVolume(static_cast<std::uint8_t>(n));
    }
    static const std::array<DiscreteVolume, 101>& allCases();

    // Moved by delta and clamped; any delta, even the smallest integer, is safe.
    constexpr DiscreteVolume stepped(std::int64_t by) const {
        std::int64_t d = by < -100 ? -100 : (by > 100 ? 100 : by);
        return snappingPercent(static_cast<std::int64_t>(step_) + d);
    }

    constexpr int rawValue() const { return step_; }
    constexpr int percent() const { return step_; }
    constexpr double fraction() const { return step_ / 100.0; }

    Json toJson() const { return step_; }
    static Decoded<DiscreteVolume> fromJson(const Json& value);

    friend constexpr bool operator==(DiscreteVolume, DiscreteVolume) = default;
    friend constexpr auto operator<=>(DiscreteVolume, DiscreteVolume) = default;

private:
    constexpr explicit DiscreteVolume(std::uint8_t step) : step_(step) {}
    std::uint8_t step_ = 0;
};

}  // namespace orvel

template <>
struct std::hash<orvel::DiscreteVolume> {
    std::size_t operator()(orvel::DiscreteVolume v) const noexcept { return std::hash<int>{}(v.rawValue()); }
};
