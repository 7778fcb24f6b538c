#include "SpeakerPair.h"

#include "HashCombine.h"

namespace orvel {

Json SpeakerPair::toJson() const {
    return Json{{"low", low.toJson()}, {"high", high.toJson()}};
}

Decoded<SpeakerPair> SpeakerPair::fromJson(const Json& value) {
    ORVEL_TRY(SpeakerUUID low, json::required(value, "low", SpeakerUUID::fromJson));
    ORVEL_TRY(SpeakerUUID high, json::required(value, "high", SpeakerUUID::fromJson));
    return SpeakerPair{std::move(low), std::move(high)};
}

}  // namespace orvel

std::size_t std::hash<orvel::SpeakerPair>::operator()(const orvel::SpeakerPair& pair) const noexcept {
    std::size_t seed = 0;
    orvel::hashCombine(seed, pair.low);
    orvel::hashCombine(seed, pair.high);
    return seed;
}
