#include "SonosCommandError.h"

#include "HashCombine.h"

namespace orvel {

std::string SonosCommandError::description() const {
    return visit(
        [](const SpeakerUnreachable& e) { return "speakerUnreachable(" + e.speaker.rawValue() + ")"; },
        [](const GroupDissolved& e) { return "groupDissolved(" + e.group.description() + ")"; },
        [](const NotConverged& e) { return "notConverged(after: " + e.after.description() + ")"; },
        [](const UnsupportedForCurrentSource&) -> std::string { return "unsupportedForCurrentSource"; },
        [](const SpotifyNotLinkedOnSonos&) -> std::string { return "spotifyNotLinkedOnSonos"; },
        [](const SpeakerRejected& e) { return "speakerRejected(" + e.detail + ")"; });
}

std::size_t SonosCommandError::hashValue() const {
    std::size_t seed = 0;
    hashCombine(seed, caseIndex());
    visit([&seed](const SpeakerUnreachable& e) { hashCombine(seed, e.speaker); },
          [&seed](const GroupDissolved& e) { hashCombine(seed, e.group); },
          [&seed](const NotConverged& e) { hashCombine(seed, e.after); },
          [](const UnsupportedForCurrentSource&) {}, [](const SpotifyNotLinkedOnSonos&) {},
          [&seed](const SpeakerRejected& e) { hashCombine(seed, e.detail); });
    return seed;
}

}  // namespace orvel
