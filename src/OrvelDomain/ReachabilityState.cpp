#include "ReachabilityState.h"

#include <climits>

#include "HashCombine.h"

namespace orvel {

const std::string& ReachabilityState::ip() const {
    return visit([](const Online& online) -> const std::string& { return online.ip; },
                 [](const Offline& offline) -> const std::string& { return offline.lastKnownIP; });
}

Json ReachabilityState::toJson() const {
    return visit(
        [](const Online& online) {
            Json payload = Json::object();
            payload["ip"] = online.ip;
            if (online.rssi) payload["rssi"] = *online.rssi;
            if (online.noiseFloor) payload["noiseFloor"] = *online.noiseFloor;
            return json::tagged("online", std::move(payload));
        },
        [](const Offline& offline) {
            Json payload = Json::object();
            payload["lastKnownIP"] = offline.lastKnownIP;
            payload["lastSeenAt"] = offline.lastSeenAt.toJson();
            return json::tagged("offline", std::move(payload));
        });
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
    state.visit(
        [&seed](const orvel::ReachabilityState::Online& online) {
            orvel::hashCombine(seed, std::size_t{0});
            orvel::hashCombine(seed, online.ip);
            orvel::hashCombine(seed, online.rssi);
            orvel::hashCombine(seed, online.noiseFloor);
        },
        [&seed](const orvel::ReachabilityState::Offline& offline) {
            orvel::hashCombine(seed, std::size_t{1});
            orvel::hashCombine(seed, offline.lastKnownIP);
            orvel::hashCombine(seed, offline.lastSeenAt);
        });
    return seed;
}
