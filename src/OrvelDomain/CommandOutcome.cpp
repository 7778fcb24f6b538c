#include "CommandOutcome.h"

#include "HashCombine.h"

namespace orvel {

std::string CommandOutcome::description() const {
    if (isApplied()) return "applied";
    if (isAlreadySatisfied()) return "alreadySatisfied";
    std::string out = "partiallyApplied(";
    bool first = true;
    for (const auto& id : asPartiallyApplied()->unreachable) {
        if (!first) out += ", ";
        first = false;
        out += id.rawValue();
    }
    return out + ")";
}

std::size_t CommandOutcome::hashValue() const {
    std::size_t seed = 0;
    hashCombine(seed, caseIndex());
    if (const PartiallyApplied* p = asPartiallyApplied()) {
        hashCombine(seed, p->unreachable.size());
        for (const auto& id : p->unreachable) hashCombine(seed, id);
    }
    return seed;
}

}  // namespace orvel
