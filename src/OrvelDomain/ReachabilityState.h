#pragma once

// Whether a speaker answers: online at an address with its latest radio readings, or offline
// with the address and time at which it last answered.

#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "Date.h"
#include "Json.h"
#include "Overloaded.h"

namespace orvel {

class ReachabilityState {
public:
    struct Online {
        std::string ip;
        std::optional<int> rssi;
        std::optional<int> noiseFloor;
        friend bool operator==(const Online&, const Online&) = default;
    };
    struct Offline {
        std::string lastKnownIP;
        Date lastSeenAt;
        friend bool operator==(const Offline&, const Offline&) = default;
    };

    static ReachabilityState online(std::string ip, std::optional<int> rssi = std::nullopt,
                                    std::optional<int> noiseFloor = std::nullopt) {
        return ReachabilityState(Online{std::move(ip), rssi, noiseFloor});
    }
    static ReachabilityState offline(std::string lastKnownIP, Date lastSeenAt) {
        return ReachabilityState(Offline{std::move(lastKnownIP), lastSeenAt});
    }

    bool isOnline() const { return std::holds_alternative<Online>(value_); }
    bool isOffline() const { return std::holds_alternative<Offline>(value_); }
    const Online* asOnline() const { return std::get_if<Online>(&value_); }
    const Offline* asOffline() const { return std::get_if<Offline>(&value_); }
    // The current address when online, the last known one when offline.
    const std::string& ip() const;

    // {"online": {"ip", "rssi"?, "noiseFloor"?}} or {"offline": {"lastKnownIP", "lastSeenAt"}}.
    Json toJson() const;
    static Decoded<ReachabilityState> fromJson(const Json& value);

    friend bool operator==(const ReachabilityState&, const ReachabilityState&) = default;

private:
    explicit ReachabilityState(std::variant<Online, Offline> value) : value_(std::move(value)) {}
    std::variant<Online, Offline> value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel

template <>
struct std::hash<orvel::ReachabilityState> {
    std::size_t operator()(const orvel::ReachabilityState& state) const noexcept;
};
