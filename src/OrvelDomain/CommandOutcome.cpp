#include "CommandOutcome.h"

#include "HashCombine.h"

namespace orvel {

std::string CommandOutcome::description() const {
    return visit([](const Applied&) -> std::string { return "applied"; },
                 [](const AlreadySatisfied&) -> std::string { return "alreadySatisfied"; },
                 [](const PartiallyApplied& partial) {
                     std::string out = "partiallyApplied(";
                     bool first = true;
                     for (const auto& id : partial.unreachable) {
                         if (!first) out += ", ";
                         first = false;
                         out += id.rawValue();
                     }
                     return out + ")";
                 });
}

std::size_t CommandOutcome::hashValue() const {
    std::size_t seed = 0;
    hashCombine(seed, caseIndex());
    visit([](const Applied&) {}, [](const AlreadySatisfied&) {},
          [&seed](const PartiallyApplied& partial) {
              hashCombine(seed, partial.unreachable.size());
              for (const auto& id : partial.unreachable) hashCombine(seed, id);
          });
    return seed;
}

}  // namespace orvel
