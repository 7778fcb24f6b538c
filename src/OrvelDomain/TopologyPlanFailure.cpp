#include "TopologyPlanFailure.h"

#include "HashCombine.h"

namespace orvel {

std::string TopologyPlanFailure::description() const {
    if (const auto* c = asCoordinatorMissing()) return "coordinatorMissing(" + c->speaker.rawValue() + ")";
    return "groupDissolved(" + asGroupDissolved()->group.description() + ")";
}

std::size_t TopologyPlanFailure::hashValue() const {
    std::size_t seed = 0;
    hashCombine(seed, caseIndex());
    if (const auto* c = asCoordinatorMissing()) {
        hashCombine(seed, c->speaker);
    } else {
        hashCombine(seed, asGroupDissolved()->group);
    }
    return seed;
}

}  // namespace orvel
