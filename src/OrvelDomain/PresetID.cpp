#include "PresetID.h"

#include "Uuid.h"

namespace orvel {

PresetID PresetID::random() { return PresetID(uuid::randomString()); }

std::optional<PresetID> PresetID::make(std::string_view uuidText) {
    auto canonical = uuid::canonical(uuidText);
    if (!canonical) return std::nullopt;
    return PresetID(std::move(*canonical));
}

Json PresetID::toJson() const {
    Json out = Json::object();
    out["rawValue"] = rawValue_;
    return out;
}

Decoded<PresetID> PresetID::fromJson(const Json& value) {
    ORVEL_TRY(const Json* object, json::expectObject(value));
    ORVEL_TRY(std::string text, json::requiredString(*object, "rawValue"));
    auto id = make(text);
    if (!id) {
        return std::unexpected(
            DecodingError::dataCorrupted("Attempted to decode UUID from invalid UUID string.").at("rawValue"));
    }
    return *id;
}

}  // namespace orvel
