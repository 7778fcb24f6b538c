#pragma once

// How close every pair of speakers is by radio: a proximity band and the strongest reading
// behind it. A pair only ever grows stronger within one matrix; the household controller starts
// a fresh matrix when it wants readings to age out.
//
// JSON: {"bands": [pair, band, pair, band, ...], "strengths": [pair, strength, ...]}. The maps are
// flat arrays because their key is a record, not a text; readers rely on no order.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "Json.h"
#include "SpeakerPair.h"
#include "SpeakerUUID.h"

namespace orvel {

class RFPeerMatrix {
public:
    enum class Band : std::uint8_t { weak = 1, moderate = 2, strong = 3 };

    // The band with that raw value (1, 2 or 3), nullopt for any other integer.
    static std::optional<Band> bandWithRawValue(std::int64_t rawValue);
    // The band of a positive reading: below 20 weak, below 35 moderate, else strong.
    static Band bandForStrength(std::int64_t strength);

    // The same as `empty()`, so the matrix can sit in records that are built member by member.
    RFPeerMatrix() = default;
    static const RFPeerMatrix& empty();

    // Nullopt when the pair was never recorded; the order of the two speakers never matters.
    std::optional<Band> band(const SpeakerUUID& a, const SpeakerUUID& b) const;
    std::optional<std::int64_t> strength(const SpeakerUUID& a, const SpeakerUUID& b) const;

    // Folds one reading of the link between a and b, `from` and `to` being its two directions.
    // A speaker with itself, or a reading without a positive value, is ignored.
    void record(const SpeakerUUID& a, const SpeakerUUID& b, std::int64_t from, std::int64_t to);

    Json toJson() const;
    // Strict: an odd-length array, a band other than 1, 2 or 3, or a bad identifier fails the
    // whole read. Pairs are taken as written (not re-ordered, bands not re-derived); a pair
    // listed twice keeps its later value.
    static Decoded<RFPeerMatrix> fromJson(const Json& value);

    std::size_t hashValue() const;

    friend bool operator==(const RFPeerMatrix&, const RFPeerMatrix&) = default;

private:
    std::map<SpeakerPair, Band> bands_;
    std::map<SpeakerPair, std::int64_t> strengths_;
};

}  // namespace orvel

template <>
struct std::hash<orvel::RFPeerMatrix> {
    std::size_t operator()(const orvel::RFPeerMatrix& matrix) const noexcept { return matrix.hashValue(); }
};
