#include "TopologyPlanFailure.h"

#include "HashCombine.h"

namespace orvel {

std::string TopologyPlanFailure::description() const {
    return visit([](const CoordinatorMissing& c) { return "coordinatorMissing(" + c.speaker.rawValue() + ")"; },
                 [](const GroupDissolved& g) { return "groupDissolved(" + g.group.description() + ")"; });
}

std::size_t TopologyPlanFailure::hashValue() const {
    std::size_t seed = 0;
    hashCombine(seed, caseIndex());
    visit([&seed](const CoordinatorMissing& c) { hashCombine(seed, c.speaker); },
          [&seed](const GroupDissolved& g) { hashCombine(seed, g.group); });
    return seed;
}

}  // namespace orvel
