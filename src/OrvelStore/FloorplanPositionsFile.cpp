#include "FloorplanPositionsFile.h"

namespace orvel {

Json FloorplanPositionsFile::toJson() const {
    Json out = Json::object();
    out["pins"] = speakerMapToJson(pins, &RoomCoordinate::toJson);
    return out;
}

Decoded<FloorplanPositionsFile> FloorplanPositionsFile::fromJson(const Json& value) {
    ORVEL_TRY(const Json* object, json::expectObject(value));
    auto decodePins = [](const Json& map) { return speakerMapFromJson(map, RoomCoordinate::fromJson); };
    ORVEL_TRY(auto pins, json::required(*object, "pins", decodePins));
    return FloorplanPositionsFile{std::move(pins)};
}

}  // namespace orvel
