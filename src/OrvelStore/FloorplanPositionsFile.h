#pragma once

// What "floorplan-positions.json" holds: the map positions the user pinned.
//
// JSON: {"pins": {"RINCON_…": {"x": x, "y": y}, ...}}. One invalid identifier fails the whole
// file; coordinates out of range are clamped, never refused.

#include <map>

#include "OrvelDomain/Json.h"
#include "OrvelDomain/RoomCoordinate.h"
#include "OrvelDomain/SpeakerUUID.h"

namespace orvel {

struct FloorplanPositionsFile {
    std::map<SpeakerUUID, RoomCoordinate> pins;

    Json toJson() const;
    static Decoded<FloorplanPositionsFile> fromJson(const Json& value);

    friend bool operator==(const FloorplanPositionsFile&, const FloorplanPositionsFile&) = default;
};

}  // namespace orvel
