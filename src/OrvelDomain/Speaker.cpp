#include "Speaker.h"

#include "HashCombine.h"

namespace orvel {

Speaker Speaker::with(DiscreteVolume newVolume) const {
    Speaker copy = *this;
    copy.volume = newVolume;
    return copy;
}

Speaker Speaker::with(ReachabilityState newReachability) const {
    Speaker copy = *this;
    copy.reachability = std::move(newReachability);
    return copy;
}

bool Speaker::isSemanticallyEquivalent(const Speaker& to) const {
    return id == to.id && roomName == to.roomName && model.isSemanticallyEquivalent(to.model) &&
           reachability == to.reachability && volume == to.volume &&
           bondedSatellites == to.bondedSatellites;
}

Json Speaker::toJson() const {
    Json satellites = Json::array();
    for (const auto& satellite : bondedSatellites) satellites.push_back(satellite.toJson());
    Json out = Json::object();
    out["id"] = id.toJson();
    out["roomName"] = roomName;
    out["model"] = model.toJson();
    out["reachability"] = reachability.toJson();
    out["volume"] = volume.toJson();
    out["bondedSatellites"] = std::move(satellites);
    return out;
}

Decoded<Speaker> Speaker::fromJson(const Json& value) {
    ORVEL_TRY(SpeakerUUID id, json::required(value, "id", SpeakerUUID::fromJson));
    ORVEL_TRY(std::string roomName, json::requiredString(value, "roomName"));
    ORVEL_TRY(SpeakerModel model, json::required(value, "model", SpeakerModel::fromJson));
    ORVEL_TRY(ReachabilityState reachability, json::required(value, "reachability", ReachabilityState::fromJson));
    ORVEL_TRY(DiscreteVolume volume, json::required(value, "volume", DiscreteVolume::fromJson));
    ORVEL_TRY(auto satellites, json::required(value, "bondedSatellites", [](const Json& array) {
                  return json::decodeArray(array, BondedSatellite::fromJson);
              }));
    return Speaker{std::move(id),           std::move(roomName), std::move(model),
                   std::move(reachability), volume,              std::move(satellites)};
}

}  // namespace orvel

std::size_t std::hash<orvel::Speaker>::operator()(const orvel::Speaker& s) const noexcept {
    std::size_t seed = 0;
    orvel::hashCombine(seed, s.id);
    orvel::hashCombine(seed, s.roomName);
    orvel::hashCombine(seed, s.model);
    orvel::hashCombine(seed, s.reachability);
    orvel::hashCombine(seed, s.volume);
    for (const auto& satellite : s.bondedSatellites) orvel::hashCombine(seed, satellite);
    orvel::hashCombine(seed, s.bondedSatellites.size());
    return seed;
}
