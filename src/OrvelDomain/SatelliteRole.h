#pragma once

// The channel role of a satellite bonded to a room. JSON: the raw value string.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "Json.h"

namespace orvel {

class SatelliteRole {
public:
    enum class Value : std::uint8_t { rearLeft, rearRight, subwoofer, stereoRight };

    static constexpr SatelliteRole rearLeft() { return SatelliteRole(Value::rearLeft); }
    static constexpr SatelliteRole rearRight() { return SatelliteRole(Value::rearRight); }
    static constexpr SatelliteRole subwoofer() { return SatelliteRole(Value::subwoofer); }
    static constexpr SatelliteRole stereoRight() { return SatelliteRole(Value::stereoRight); }
    // Only the four raw values, compared exactly; any other text gives nullopt.
    static std::optional<SatelliteRole> make(std::string_view rawValue);
    static const std::array<SatelliteRole, 4>& allCases();

    constexpr Value value() const { return value_; }
    std::string_view rawValue() const;
    std::string_view label() const;
    std::string_view shortBadge() const;

    Json toJson() const { return rawValue(); }
    static Decoded<SatelliteRole> fromJson(const Json& value);

    friend constexpr bool operator==(SatelliteRole, SatelliteRole) = default;

private:
    constexpr explicit SatelliteRole(Value value) : value_(value) {}
    Value value_;
};

}  // namespace orvel

template <>
struct std::hash<orvel::SatelliteRole> {
    std::size_t operator()(orvel::SatelliteRole role) const noexcept {
        return std::hash<std::string_view>{}(role.rawValue());
    }
};
