#include "TopologyPlan.h"

#include "HashCombine.h"

namespace orvel {

std::string TopologyPlan::description() const {
    return visit(
        [](const Steps& s) {
            std::string out = "steps([";
            for (std::size_t i = 0; i < s.steps.size(); ++i) {
                if (i > 0) out += ", ";
                out += s.steps[i].description();
            }
            out += "], skipped: [";
            bool first = true;
            for (const auto& id : s.skipped) {
                if (!first) out += ", ";
                first = false;
                out += id.rawValue();
            }
            return out + "])";
        },
        [](const Impossible& i) { return "impossible(" + i.failure.description() + ")"; });
}

std::size_t TopologyPlan::hashValue() const {
    std::size_t seed = 0;
    hashCombine(seed, caseIndex());
    visit(
        [&seed](const Steps& s) {
            hashCombine(seed, s.steps.size());
            for (const auto& step : s.steps) hashCombine(seed, step);
            hashCombine(seed, s.skipped.size());
            for (const auto& id : s.skipped) hashCombine(seed, id);
        },
        [&seed](const Impossible& i) { hashCombine(seed, i.failure); });
    return seed;
}

}  // namespace orvel
