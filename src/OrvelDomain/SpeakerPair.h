#pragma once

// An unordered pair of speakers, stored with the smaller identifier first so that (a, b) and
// (b, a) name the same pair. JSON: {"low": id, "high": id}, read exactly as written.

#include <compare>
#include <cstddef>
#include <functional>

#include "Json.h"
#include "SpeakerUUID.h"

namespace orvel {

struct SpeakerPair {
    SpeakerUUID low;
    SpeakerUUID high;

    // The pair of a and b in either order.
    static SpeakerPair of(const SpeakerUUID& a, const SpeakerUUID& b) {
        return a < b ? SpeakerPair{a, b} : SpeakerPair{b, a};
    }

    Json toJson() const;
    // Takes low and high as they are: a stored pair is never re-ordered.
    static Decoded<SpeakerPair> fromJson(const Json& value);

    friend bool operator==(const SpeakerPair&, const SpeakerPair&) = default;
    friend auto operator<=>(const SpeakerPair&, const SpeakerPair&) = default;
};

}  // namespace orvel

template <>
struct std::hash<orvel::SpeakerPair> {
    std::size_t operator()(const orvel::SpeakerPair& pair) const noexcept;
};
