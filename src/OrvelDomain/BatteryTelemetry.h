#pragma once

// A battery reading of a portable speaker, as its battery status page reports it.

#include <functional>
#include <optional>

#include "Date.h"
#include "Json.h"

namespace orvel {

struct BatteryTelemetry {
    int levelPercent = 0;
    bool isOnCharger = false;
    std::optional<int> temperatureCelsius;
    Date sampledAt;

    // Whether two readings show the user the same battery state: the sample time is left out,
    // so re-reading an unchanged battery does not count as a change.
    bool isSemanticallyEquivalent(const BatteryTelemetry& to) const;

    Json toJson() const;
    static Decoded<BatteryTelemetry> fromJson(const Json& value);

    friend bool operator==(const BatteryTelemetry&, const BatteryTelemetry&) = default;
};

}  // namespace orvel

template <>
struct std::hash<orvel::BatteryTelemetry> {
    std::size_t operator()(const orvel::BatteryTelemetry& reading) const noexcept;
};
