#pragma once

// A satellite bonded to a room: a surround speaker, a subwoofer or a stereo partner.

#include <functional>
#include <optional>
#include <string>

#include "Json.h"
#include "SatelliteRole.h"
#include "SpeakerModel.h"
#include "SpeakerUUID.h"

namespace orvel {

struct BondedSatellite {
    SpeakerUUID id;
    std::optional<SpeakerUUID> parentID;
    SatelliteRole role;
    std::optional<std::string> modelNumber;
    std::optional<std::string> displayName;
    bool isOnline = false;
    std::optional<int> linkQuality;

    // The model classified from what the satellite reports; a subwoofer that reports nothing
    // recognisable is still drawn and named as a Sub.
    SpeakerModel speakerModel() const;
    // The model's name, or "Sonos Surround" ("Surround" when short) for an unrecognised model
    // that reported no usable name.
    std::string modelLabel() const;
    std::string shortModelLabel() const;

    // Absent optionals are left out; "id", "role" and "isOnline" are always present.
    Json toJson() const;
    static Decoded<BondedSatellite> fromJson(const Json& value);

    friend bool operator==(const BondedSatellite&, const BondedSatellite&) = default;
};

}  // namespace orvel

template <>
struct std::hash<orvel::BondedSatellite> {
    std::size_t operator()(const orvel::BondedSatellite& satellite) const noexcept;
};
