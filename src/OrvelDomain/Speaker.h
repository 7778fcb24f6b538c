#pragma once

// One room-level player as known at one moment. JSON: the shape of the speakers cache file.

#include <functional>
#include <string>
#include <vector>

#include "BondedSatellite.h"
#include "DiscreteVolume.h"
#include "Json.h"
#include "ReachabilityState.h"
#include "SpeakerModel.h"
#include "SpeakerUUID.h"

namespace orvel {

struct Speaker {
    SpeakerUUID id;
    std::string roomName;
    SpeakerModel model;
    ReachabilityState reachability;
    DiscreteVolume volume;
    // In the order reported; the order is part of the value.
    std::vector<BondedSatellite> bondedSatellites;

    Speaker with(DiscreteVolume newVolume) const;
    Speaker with(ReachabilityState newReachability) const;

    // Whether two readings show the user the same speaker: the one difference forgiven is the
    // sample time of a battery reading, so that a sweep that re-reads an unchanged battery does
    // not publish a new household.
    bool isSemanticallyEquivalent(const Speaker& to) const;

    // All six members are required when reading; others are ignored.
    Json toJson() const;
    static Decoded<Speaker> fromJson(const Json& value);

    friend bool operator==(const Speaker&, const Speaker&) = default;
};

}  // namespace orvel

template <>
struct std::hash<orvel::Speaker> {
    std::size_t operator()(const orvel::Speaker& speaker) const noexcept;
};
