#include "ReachabilityState.h"

#include <climits>

#include "HashCombine.h"

namespace orvel {

const std::string& ReachabilityState::ip() const {
    if (const auto* online = asOnline()) return online->ip;
    return asOffline()->lastKnownIP;
}

Json ReachabilityState::toJson() const {
    Json payload = Json::object();
    if (const auto* online = asOnline()) {
        payload["ip"] = online->ip;
        if (online->rssi) payload["rssi"] = *online->rssi;
        if (online->noiseFloor) payload["noiseFloor"] = *online->noiseFloor;
        return json::tagged("online", std::move(payload));
    }
    const auto* offline = asOffline();
    payload["lastKnownIP"] = offline->lastKnownIP;
    payload["lastSeenAt"] = offline->lastSeenAt.toJson();
    return json::tagged("offline", std::move(payload));
}

namespace {

std::optional<int> narrowed(const std::optional<std::int64_t>& value) {
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

Decoded<ReachabilityState> decodePayload(const std::string& name, const Json& payload) {
    if (name == "online") {
        ORVEL_TRY(std::string ip, json::requiredString(payload, "ip"));
        ORVEL_TRY(auto rssi, json::optionalInteger(payload, "rssi", INT_MIN, INT_MAX));
        ORVEL_TRY(auto noiseFloor, json::optionalInteger(payload, "noiseFloor", INT_MIN, INT_MAX));
        return ReachabilityState::online(std::move(ip), narrowed(rssi), narrowed(noiseFloor));
    }
    ORVEL_TRY(std::string lastKnownIP, json::requiredString(payload, "lastKnownIP"));
    ORVEL_TRY(Date lastSeenAt, json::required(payload, "lastSeenAt", Date::fromJson));
    return ReachabilityState::offline(std::move(lastKnownIP), lastSeenAt);
}

}  // namespace

Decoded<ReachabilityState> ReachabilityState::fromJson(const Json& value) {
    ORVEL_TRY(json::TaggedCase tagged, json::decodeTagged(value, {"online", "offline"}));
    auto state = decodePayload(tagged.name, *tagged.payload);
    if (!state) return std::unexpected(state.error().at(tagged.name));
    return state;
}

}  // namespace orvel

std::size_t std::hash<orvel::ReachabilityState>::operator()(const orvel::ReachabilityState& state) const noexcept {
    std::size_t seed = 0;
    if (const auto* online = state.asOnline()) {
        orvel::hashCombine(seed, std::size_t{0});
        orvel::hashCombine(seed, online->ip);
        orvel::hashCombine(seed, online->rssi);
        orvel::hashCombine(seed, online->noiseFloor);
    } else {
        const auto* offline = state.asOffline();
        orvel::hashCombine(seed, std::size_t{1});
        orvel::hashCombine(seed, offline->lastKnownIP);
        orvel::hashCombine(seed, offline->lastSeenAt);
    }
    return seed;
}
