#pragma once

// Speakers, nodes and radio matrices for the floor-plan tests and benchmarks. Speaker n has an
// identifier whose text sorts as n does (for n below 10^12).

#include <cstdio>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "OrvelDomain/FloorplanNode.h"
#include "OrvelDomain/RFPeerMatrix.h"
#include "OrvelDomain/Speaker.h"

namespace orvel::floorplanTesting {

inline SpeakerUUID id(long long n) {
    char text[64];
    std::snprintf(text, sizeof text, "RINCON_%012lld01400", n % 1000000000000LL);
    return *SpeakerUUID::make(text);
}

inline long long number(const SpeakerUUID& speaker) { return std::stoll(speaker.rawValue().substr(7, 12)); }

inline Speaker speaker(long long n, std::string roomName, int satellites = 0) {
    std::vector<BondedSatellite> bonded;
    for (int i = 0; i < satellites; ++i) {
        bonded.push_back(BondedSatellite{id(n * 100 + 1000000 + i), id(n), SatelliteRole::subwoofer(), std::nullopt,
                                         std::nullopt, true, std::nullopt});
    }
    return Speaker{id(n), std::move(roomName), SpeakerModel::one(), ReachabilityState::online("127.0.1.10"),
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

// Strengths that fall in each band.
constexpr std::int64_t weak = 10;
constexpr std::int64_t moderate = 25;
constexpr std::int64_t strong = 40;

}  // namespace orvel::floorplanTesting
