#pragma once

// Speakers, nodes and radio matrices for the floor-plan tests. Speaker n has an identifier
// whose text sorts as n does (for n below 10^12).

#include <cstdio>
#include <initializer_list>
#include <string>
#include <tuple>

#include "OrvelDomain/FloorplanNode.h"
#include "OrvelDomain/RFPeerMatrix.h"
#include "OrvelDomain/Speaker.h"

namespace orvel::floorplanTesting {

inline SpeakerUUID id(long long n) {
    char text[64];
    std::snprintf(text, sizeof text, "RINCON_%012lld01400", n % 1000000000000LL);
    return *SpeakerUUID::make(text);
}

inline BondedSatellite satellite(long long n, long long parent) {
    return BondedSatellite{id(n), id(parent), SatelliteRole::subwoofer(), std::nullopt, std::nullopt, true, std::nullopt};
}

inline Speaker speaker(long long n, std::string roomName, int satellites = 0) {
    std::vector<BondedSatellite> bonded;
    for (int i = 0; i < satellites; ++i) bonded.push_back(satellite(n * 100 + 1000000 + i, n));
    return Speaker{id(n), std::move(roomName), SpeakerModel::one(), ReachabilityState::online("192.0.2.10"),
                   DiscreteVolume::snappingPercent(20), std::move(bonded)};
}

inline FloorplanNode node(Speaker s, FloorLevel level, double x, double y) {
    return FloorplanNode{std::move(s), std::move(level), RoomCoordinate::clamping(x, y), Placement::inferred, std::nullopt};
}

// Each reading (a, b, strength) recorded once.
inline RFPeerMatrix matrix(std::initializer_list<std::tuple<long long, long long, std::int64_t>> readings) {
    RFPeerMatrix m;
    for (const auto& [a, b, strength] : readings) m.record(id(a), id(b), strength, 0);
    return m;
}

// Band strengths that fall in each band.
constexpr std::int64_t weak = 10;
constexpr std::int64_t moderate = 25;
constexpr std::int64_t strong = 40;

}  // namespace orvel::floorplanTesting
