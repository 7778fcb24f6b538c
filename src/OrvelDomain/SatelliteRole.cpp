#include "SatelliteRole.h"

namespace orvel {

namespace {

struct RoleLabels {
    std::string_view rawValue;
    std::string_view label;
    std::string_view shortBadge;
};

// Indexed by SatelliteRole::Value.
constexpr RoleLabels roles[] = {
    {"rearLeft", "Left Surround", "L"},
    {"rearRight", "Right Surround", "R"},
    {"subwoofer", "Subwoofer", "Sub"},
    {"stereoRight", "Right Channel", "R"},
};

const RoleLabels& labels(SatelliteRole role) { return roles[static_cast<std::size_t>(role.value())]; }

}  // namespace

std::optional<SatelliteRole> SatelliteRole::make(std::string_view rawValue) {
    for (SatelliteRole role : allCases()) {
        if (role.rawValue() == rawValue) return role;
    }
    return std::nullopt;
}

const std::array<SatelliteRole, 4>& SatelliteRole::allCases() {
    static constexpr std::array<SatelliteRole, 4> all{rearLeft(), rearRight(), subwoofer(), stereoRight()};
    return all;
}

std::string_view SatelliteRole::rawValue() const { return labels(*this).rawValue; }
std::string_view SatelliteRole::label() const { return labels(*this).label; }
std::string_view SatelliteRole::shortBadge() const { return labels(*this).shortBadge; }

Decoded<SatelliteRole> SatelliteRole::fromJson(const Json& value) {
    ORVEL_TRY(std::string text, json::decodeString(value));
    if (auto role = make(text)) return *role;
    return std::unexpected(DecodingError::dataCorrupted(
        "Cannot initialize SatelliteRole from invalid String value " + text));
}

}  // namespace orvel
