#include "BatteryTelemetry.h"

#include <climits>

#include "HashCombine.h"

namespace orvel {

bool BatteryTelemetry::isSemanticallyEquivalent(const BatteryTelemetry& to) const {
    return levelPercent == to.levelPercent && isOnCharger == to.isOnCharger &&
           temperatureCelsius == to.temperatureCelsius;
}

Json BatteryTelemetry::toJson() const {
    Json out = Json::object();
    out["levelPercent"] = levelPercent;
    out["isOnCharger"] = isOnCharger;
    if (temperatureCelsius) out["temperatureCelsius"] = *temperatureCelsius;
    out["sampledAt"] = sampledAt.toJson();
    return out;
}

Decoded<BatteryTelemetry> BatteryTelemetry::fromJson(const Json& value) {
    ORVEL_TRY(std::int64_t level, json::requiredInteger(value, "levelPercent", INT_MIN, INT_MAX));
    ORVEL_TRY(bool onCharger, json::requiredBool(value, "isOnCharger"));
    ORVEL_TRY(auto temperature, json::optionalInteger(value, "temperatureCelsius", INT_MIN, INT_MAX));
    ORVEL_TRY(Date sampledAt, json::required(value, "sampledAt", Date::fromJson));
    std::optional<int> celsius;
    if (temperature) celsius = static_cast<int>(*temperature);
    return BatteryTelemetry{static_cast<int>(level), onCharger, celsius, sampledAt};
}

}  // namespace orvel

std::size_t std::hash<orvel::BatteryTelemetry>::operator()(const orvel::BatteryTelemetry& r) const noexcept {
    std::size_t seed = 0;
    orvel::hashCombine(seed, r.levelPercent);
    orvel::hashCombine(seed, r.isOnCharger);
    orvel::hashCombine(seed, r.temperatureCelsius);
    orvel::hashCombine(seed, r.sampledAt);
    return seed;
}
