#pragma once

// Groupings written as letters for the topology tests: speaker 'A' coordinates in "AA BA CC",
// B follows A and C is alone. Speakers themselves come from common/Households.h.

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "OrvelDomain/Topology.h"
#include "common/Households.h"

namespace orvel::testing {

inline constexpr double kInf = std::numeric_limits<double>::infinity();
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

inline std::set<SpeakerUUID> speakers(std::string_view letters) {
    std::set<SpeakerUUID> out;
    for (char c : letters) out.insert(sp(c));
    return out;
}

// Fails the test on an inconsistent map.
inline Topology topology(std::string_view entries) {
    Topology::CoordinatorMap map;
    for (std::size_t i = 0; i + 1 < entries.size(); i += 3) map.insert_or_assign(sp(entries[i]), sp(entries[i + 1]));
    auto made = Topology::make(std::move(map));
    EXPECT_TRUE(made.has_value()) << "inconsistent fixture " << entries;
    return made.value_or(Topology::empty());
}

inline GroupID group(char coordinator) { return GroupID(sp(coordinator)); }

}  // namespace orvel::testing
