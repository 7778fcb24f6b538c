#pragma once

// Builders for small households, shared by the test folders. Speaker n (or letter 'A' + n - 1)
// has an identifier whose text sorts as n does, so sp('A') == sp(1).

#include <cstdio>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "OrvelDomain/BondedSatellite.h"
#include "OrvelDomain/PlaybackState.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/Speaker.h"
#include "OrvelDomain/Topology.h"
#include "OrvelDomain/TopologyPlan.h"
#include "OrvelDomain/TopologyStep.h"
#include "OrvelDomain/TopologyTarget.h"

namespace orvel::testing {

inline SpeakerUUID sp(int number) {
    char digits[13];
    std::snprintf(digits, sizeof digits, "%012X", static_cast<unsigned>(number));
    return *SpeakerUUID::make(std::string("RINCON_") + digits + "01400");
}
inline SpeakerUUID sp(char letter) { return sp(letter - 'A' + 1); }

inline int number(const SpeakerUUID& id) { return std::stoi(id.rawValue().substr(7, 12), nullptr, 16); }
inline char letter(const SpeakerUUID& id) { return static_cast<char>('A' - 1 + number(id)); }

struct SpeakerTraits {
    int volume = 20;
    int satellites = 0;  // bonded subwoofers
    bool online = true;
};

// A One in `room`, answering on a loopback address of its own.
inline Speaker speaker(SpeakerUUID id, std::string room, SpeakerTraits traits = {}) {
    const int n = number(id);
    std::vector<BondedSatellite> bonded;
    for (int i = 0; i < traits.satellites; ++i) {
        bonded.push_back(BondedSatellite{sp(0x100000 + n * 16 + i), id, SatelliteRole::subwoofer(), std::nullopt,
                                         std::nullopt, true, std::nullopt});
    }
    const std::string address = "127.0." + std::to_string(n / 250 + 1) + "." + std::to_string(n % 250 + 1);
    return Speaker{std::move(id),
                   std::move(room),
                   SpeakerModel::one(),
                   traits.online ? ReachabilityState::online(address) : ReachabilityState::offline(address, Date()),
                   DiscreteVolume::snappingPercent(traits.volume),
                   std::move(bonded)};
}

// The first speaker coordinates.
inline SonosGroup group(std::vector<Speaker> speakers, PlaybackState playback = PlaybackState::stopped()) {
    const Speaker coordinator = speakers.front();
    return SonosGroup{GroupID(coordinator.id), coordinator,
                      std::vector<Speaker>(speakers.begin() + 1, speakers.end()), std::move(playback),
                      DiscreteVolume::snappingPercent(20), coordinator.roomName};
}

}  // namespace orvel::testing

namespace orvel {

inline void PrintTo(const SpeakerUUID& id, std::ostream* os) { *os << "sp(" << testing::number(id) << ")"; }
inline void PrintTo(const TopologyStep& step, std::ostream* os) { *os << step.description(); }
inline void PrintTo(const TopologyPlan& plan, std::ostream* os) { *os << plan.description(); }
inline void PrintTo(const TopologyTarget& target, std::ostream* os) { *os << target.description(); }
inline void PrintTo(const Topology& topology, std::ostream* os) {
    *os << "{";
    for (const auto& [speaker, coordinator] : topology.coordinatorOf()) {
        *os << " " << testing::number(speaker) << "->" << testing::number(coordinator);
    }
    *os << " }";
}

}  // namespace orvel
