#include "SpotifyBridgeError.h"

namespace orvel {

const std::string& SpotifyBridgeError::detail() const {
    static const std::string none;
    if (const auto* e = asUnplayableOnSonos()) return e->detail;
    if (const auto* e = asAuthorizationFailed()) return e->detail;
    if (const auto* e = asNetwork()) return e->detail;
    return none;
}

std::string SpotifyBridgeError::description() const {
    static constexpr const char* names[] = {"not connected", "nothing playing", "unplayable on Sonos",
                                            "authorization failed", "network"};
    std::string out = names[caseIndex()];
    if (!detail().empty()) out += ": " + detail();
    return out;
}

}  // namespace orvel
