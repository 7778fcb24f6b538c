#include "TopologyStep.h"

#include "HashCombine.h"

namespace orvel {

const SpeakerUUID& TopologyStep::firstSpeaker() const {
    return visit([](const MakeStandalone& s) -> const SpeakerUUID& { return s.speaker; },
                 [](const DelegateCoordination& d) -> const SpeakerUUID& { return d.from; },
                 [](const Join& j) -> const SpeakerUUID& { return j.speaker; });
}

std::string TopologyStep::description() const {
    return visit([](const MakeStandalone& s) { return "makeStandalone(" + s.speaker.rawValue() + ")"; },
                 [](const DelegateCoordination& d) {
                     return "delegateCoordination(from: " + d.from.rawValue() + ", to: " + d.to.rawValue() +
                            ", rejoinGroup: " + (d.rejoinGroup ? "true" : "false") + ")";
                 },
                 [](const Join& j) {
                     return "join(" + j.speaker.rawValue() + ", coordinator: " + j.coordinator.rawValue() + ")";
                 });
}

std::size_t TopologyStep::hashValue() const {
    std::size_t seed = 0;
    hashCombine(seed, caseIndex());
    visit([&seed](const MakeStandalone& s) { hashCombine(seed, s.speaker); },
          [&seed](const DelegateCoordination& d) {
              hashCombine(seed, d.from);
              hashCombine(seed, d.to);
              hashCombine(seed, d.rejoinGroup);
          },
          [&seed](const Join& j) {
              hashCombine(seed, j.speaker);
              hashCombine(seed, j.coordinator);
          });
    return seed;
}

}  // namespace orvel
