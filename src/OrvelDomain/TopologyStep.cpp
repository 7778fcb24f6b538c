#include "TopologyStep.h"

#include "HashCombine.h"

namespace orvel {

const SpeakerUUID& TopologyStep::firstSpeaker() const {
    if (const auto* s = asMakeStandalone()) return s->speaker;
    if (const auto* d = asDelegateCoordination()) return d->from;
    return asJoin()->speaker;
}

std::string TopologyStep::description() const {
    if (const auto* s = asMakeStandalone()) return "makeStandalone(" + s->speaker.rawValue() + ")";
    if (const auto* d = asDelegateCoordination()) {
        return "delegateCoordination(from: " + d->from.rawValue() + ", to: " + d->to.rawValue() +
               ", rejoinGroup: " + (d->rejoinGroup ? "true" : "false") + ")";
    }
    const auto* j = asJoin();
    return "join(" + j->speaker.rawValue() + ", coordinator: " + j->coordinator.rawValue() + ")";
}

std::size_t TopologyStep::hashValue() const {
    std::size_t seed = 0;
    hashCombine(seed, caseIndex());
    if (const auto* s = asMakeStandalone()) {
        hashCombine(seed, s->speaker);
    } else if (const auto* d = asDelegateCoordination()) {
        hashCombine(seed, d->from);
        hashCombine(seed, d->to);
        hashCombine(seed, d->rejoinGroup);
    } else {
        const auto* j = asJoin();
        hashCombine(seed, j->speaker);
        hashCombine(seed, j->coordinator);
    }
    return seed;
}

}  // namespace orvel
