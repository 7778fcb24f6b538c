#include "SonosCommandError.h"

#include "HashCombine.h"

namespace orvel {

std::string SonosCommandError::description() const {
    if (const auto* e = asSpeakerUnreachable()) return "speakerUnreachable(" + e->speaker.rawValue() + ")";
    if (const auto* e = asGroupDissolved()) return "groupDissolved(" + e->group.description() + ")";
    if (const auto* e = asNotConverged()) return "notConverged(after: " + e->after.description() + ")";
    if (isUnsupportedForCurrentSource()) return "unsupportedForCurrentSource";
    if (isSpotifyNotLinkedOnSonos()) return "spotifyNotLinkedOnSonos";
    return "speakerRejected(" + asSpeakerRejected()->detail + ")";
}

std::size_t SonosCommandError::hashValue() const {
    std::size_t seed = 0;
    hashCombine(seed, caseIndex());
    if (const auto* e = asSpeakerUnreachable()) {
        hashCombine(seed, e->speaker);
    } else if (const auto* e = asGroupDissolved()) {
        hashCombine(seed, e->group);
    } else if (const auto* e = asNotConverged()) {
        hashCombine(seed, e->after);
    } else if (const auto* e = asSpeakerRejected()) {
        hashCombine(seed, e->detail);
    }
    return seed;
}

}  // namespace orvel
