#pragma once

// Short names shared by the domain tests: speaker 'A' is a valid identifier, and identifiers sort
// as their letters do. The floor-plan tests add FloorplanFixtures.h.

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <limits>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "OrvelDomain/Geometry.h"
#include "OrvelDomain/Speaker.h"
#include "OrvelDomain/Topology.h"
#include "OrvelDomain/TopologyPlan.h"
#include "OrvelDomain/TopologyStep.h"
#include "OrvelDomain/TopologyTarget.h"

namespace orvel::testing {

inline constexpr double kInf = std::numeric_limits<double>::infinity();
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

inline SpeakerUUID sp(char letter) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(letter - 'A' + 1));
    return *SpeakerUUID::make(std::string("RINCON_0000000000") + hex + "01400");
}

inline char letter(const SpeakerUUID& id) {
    return static_cast<char>('A' - 1 + std::stoi(id.rawValue().substr(17, 2), nullptr, 16));
}

inline std::set<SpeakerUUID> speakers(std::string_view letters) {
    std::set<SpeakerUUID> out;
    for (char c : letters) out.insert(sp(c));
    return out;
}

// "AA BA CC": A coordinates, B follows A, C is alone. Fails the test on an inconsistent map.
inline Topology topology(std::string_view entries) {
    Topology::CoordinatorMap map;
    for (std::size_t i = 0; i + 1 < entries.size(); i += 3) map.insert_or_assign(sp(entries[i]), sp(entries[i + 1]));
    auto made = Topology::make(std::move(map));
    EXPECT_TRUE(made.has_value()) << "inconsistent fixture " << entries;
    return made.value_or(Topology::empty());
}

inline GroupID group(char coordinator) { return GroupID(sp(coordinator)); }

// An online One on a loopback address.
inline Speaker roomSpeaker(SpeakerUUID id, std::string room, int volume = 20, std::vector<BondedSatellite> bonded = {}) {
    return Speaker{std::move(id), std::move(room), SpeakerModel::one(), ReachabilityState::online("127.0.1.10"),
                   DiscreteVolume::snappingPercent(volume), std::move(bonded)};
}
inline Speaker roomSpeaker(char id, std::string room, int volume = 20) { return roomSpeaker(sp(id), std::move(room), volume); }

inline void expectNear(Point actual, Point expected, double tolerance = 1e-9) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

}  // namespace orvel::testing


namespace orvel {

inline void PrintTo(const TopologyStep& step, std::ostream* os) { *os << step.description(); }
inline void PrintTo(const TopologyPlan& plan, std::ostream* os) { *os << plan.description(); }
inline void PrintTo(const TopologyTarget& target, std::ostream* os) { *os << target.description(); }
inline void PrintTo(const Topology& topology, std::ostream* os) {
    *os << "{";
    for (const auto& [speaker, coordinator] : topology.coordinatorOf()) {
        *os << " " << testing::letter(speaker) << "->" << testing::letter(coordinator);
    }
    *os << " }";
}

}  // namespace orvel
