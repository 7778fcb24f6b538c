#include "RFPeerMatrix.h"

#include <algorithm>
#include <string>

#include "HashCombine.h"

namespace orvel {

namespace {

constexpr std::int64_t moderateFrom = 20;
constexpr std::int64_t strongFrom = 35;

template <class V, class Encode>
Json flatPairs(const std::map<SpeakerPair, V>& map, Encode encode) {
    Json out = Json::array();
    for (const auto& [pair, value] : map) {
        out.push_back(pair.toJson());
        out.push_back(encode(value));
    }
    return out;
}

template <class Decode>
auto readFlatPairs(const Json& value, Decode decode)
    -> Decoded<std::map<SpeakerPair, typename decltype(decode(std::declval<const Json&>()))::value_type>> {
    using V = typename decltype(decode(std::declval<const Json&>()))::value_type;
    ORVEL_TRY(const Json* array, json::expectArray(value));
    if (array->size() % 2 != 0) {
        return std::unexpected(DecodingError::dataCorrupted(
            "Expected collection of key-value pairs; encountered odd-length array instead."));
    }
    std::map<SpeakerPair, V> out;
    for (std::size_t i = 0; i < array->size(); i += 2) {
        auto pair = SpeakerPair::fromJson((*array)[i]);
        if (!pair) return std::unexpected(pair.error().at(std::to_string(i)));
        auto element = decode((*array)[i + 1]);
        if (!element) return std::unexpected(element.error().at(std::to_string(i + 1)));
        out.insert_or_assign(std::move(*pair), std::move(*element));
    }
    return out;
}

Decoded<RFPeerMatrix::Band> decodeBand(const Json& value) {
    ORVEL_TRY(std::int64_t raw, json::decodeInteger(value));
    if (auto band = RFPeerMatrix::bandWithRawValue(raw)) return *band;
    return std::unexpected(DecodingError::dataCorrupted(
        "Cannot initialize Band from invalid Int value " + std::to_string(raw)));
}

Decoded<std::int64_t> decodeStrength(const Json& value) { return json::decodeInteger(value); }

}  // namespace

std::optional<RFPeerMatrix::Band> RFPeerMatrix::bandWithRawValue(std::int64_t rawValue) {
    switch (rawValue) {
        case 1: return Band::weak;
        case 2: return Band::moderate;
        case 3: return Band::strong;
        default: return std::nullopt;
    }
}

RFPeerMatrix::Band RFPeerMatrix::bandForStrength(std::int64_t strength) {
    if (strength >= strongFrom) return Band::strong;
    if (strength >= moderateFrom) return Band::moderate;
    return Band::weak;
}

const RFPeerMatrix& RFPeerMatrix::empty() {
    static const RFPeerMatrix instance;
    return instance;
}

std::optional<RFPeerMatrix::Band> RFPeerMatrix::band(const SpeakerUUID& a, const SpeakerUUID& b) const {
    auto it = bands_.find(SpeakerPair::of(a, b));
    if (it == bands_.end()) return std::nullopt;
    return it->second;
}

std::optional<std::int64_t> RFPeerMatrix::strength(const SpeakerUUID& a, const SpeakerUUID& b) const {
    auto it = strengths_.find(SpeakerPair::of(a, b));
    if (it == strengths_.end()) return std::nullopt;
    return it->second;
}

void RFPeerMatrix::record(const SpeakerUUID& a, const SpeakerUUID& b, std::int64_t from, std::int64_t to) {
    if (a == b) return;
    std::int64_t strongest = std::max(from, to);
    if (strongest < 1) return;  // nothing heard in either direction
    SpeakerPair pair = SpeakerPair::of(a, b);
    Band heard = bandForStrength(strongest);
    auto [band, newBand] = bands_.try_emplace(pair, heard);
    if (!newBand) band->second = std::max(band->second, heard);
    auto [strength, newStrength] = strengths_.try_emplace(std::move(pair), strongest);
    if (!newStrength) strength->second = std::max(strength->second, strongest);
}

Json RFPeerMatrix::toJson() const {
    return Json{
        {"bands", flatPairs(bands_, [](Band band) { return Json(static_cast<int>(band)); })},
        {"strengths", flatPairs(strengths_, [](std::int64_t strength) { return Json(strength); })},
    };
}

Decoded<RFPeerMatrix> RFPeerMatrix::fromJson(const Json& value) {
    RFPeerMatrix out;
    ORVEL_TRY(out.bands_, json::required(value, "bands", [](const Json& v) { return readFlatPairs(v, decodeBand); }));
    ORVEL_TRY(out.strengths_,
              json::required(value, "strengths", [](const Json& v) { return readFlatPairs(v, decodeStrength); }));
    return out;
}

std::size_t RFPeerMatrix::hashValue() const {
    std::size_t seed = 0;
    hashCombine(seed, bands_.size());
    for (const auto& [pair, band] : bands_) {
        hashCombine(seed, pair);
        hashCombine(seed, band);
    }
    hashCombine(seed, strengths_.size());
    for (const auto& [pair, strength] : strengths_) {
        hashCombine(seed, pair);
        hashCombine(seed, strength);
    }
    return seed;
}

}  // namespace orvel
