#include "BondedSatellite.h"

#include <climits>

#include "HashCombine.h"
#include "Text.h"

namespace orvel {

SpeakerModel BondedSatellite::speakerModel() const {
    SpeakerModel model = SpeakerModel::classify(displayName.value_or(""), modelNumber.value_or(""), {},
                                                std::nullopt);
    if (model.isUnrecognized() && role == SatelliteRole::subwoofer()) return SpeakerModel::sub();
    return model;
}

namespace {
bool hasNoUsableName(const SpeakerModel& model) {
    const auto* other = model.asUnrecognized();
    return other != nullptr && text::trimmed(other->displayName).empty();
}
}  // namespace

std::string BondedSatellite::modelLabel() const {
    SpeakerModel model = speakerModel();
    return hasNoUsableName(model) ? "Sonos Surround" : model.displayName();
}

std::string BondedSatellite::shortModelLabel() const {
    SpeakerModel model = speakerModel();
    return hasNoUsableName(model) ? "Surround" : model.shortName();
}

Json BondedSatellite::toJson() const {
    Json out = Json::object();
    out["id"] = id.toJson();
    if (parentID) out["parentID"] = parentID->toJson();
    out["role"] = role.toJson();
    if (modelNumber) out["modelNumber"] = *modelNumber;
    if (displayName) out["displayName"] = *displayName;
    out["isOnline"] = isOnline;
    if (linkQuality) out["linkQuality"] = *linkQuality;
    return out;
}

Decoded<BondedSatellite> BondedSatellite::fromJson(const Json& value) {
    ORVEL_TRY(SpeakerUUID id, json::required(value, "id", SpeakerUUID::fromJson));
    ORVEL_TRY(auto parentID, json::optional(value, "parentID", SpeakerUUID::fromJson));
    ORVEL_TRY(SatelliteRole role, json::required(value, "role", SatelliteRole::fromJson));
    ORVEL_TRY(auto modelNumber, json::optionalString(value, "modelNumber"));
    ORVEL_TRY(auto displayName, json::optionalString(value, "displayName"));
    ORVEL_TRY(bool isOnline, json::requiredBool(value, "isOnline"));
    ORVEL_TRY(auto linkQuality, json::optionalInteger(value, "linkQuality", INT_MIN, INT_MAX));
    std::optional<int> quality;
    if (linkQuality) quality = static_cast<int>(*linkQuality);
    return BondedSatellite{std::move(id),          std::move(parentID), role, std::move(modelNumber),
                           std::move(displayName), isOnline,            quality};
}

}  // namespace orvel

std::size_t std::hash<orvel::BondedSatellite>::operator()(const orvel::BondedSatellite& s) const noexcept {
    std::size_t seed = 0;
    orvel::hashCombine(seed, s.id);
    orvel::hashCombine(seed, s.parentID);
    orvel::hashCombine(seed, s.role);
    orvel::hashCombine(seed, s.modelNumber);
    orvel::hashCombine(seed, s.displayName);
    orvel::hashCombine(seed, s.isOnline);
    orvel::hashCombine(seed, s.linkQuality);
    return seed;
}
