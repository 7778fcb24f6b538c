#include "SpotifyBridgeError.h"

namespace orvel {

const std::string& SpotifyBridgeError::detail() const {
    static const std::string none;
    return visit([](const NotConnected&) -> const std::string& { return none; },
                 [](const NothingPlaying&) -> const std::string& { return none; },
                 [](const UnplayableOnSonos& e) -> const std::string& { return e.detail; },
                 [](const AuthorizationFailed& e) -> const std::string& { return e.detail; },
                 [](const Network& e) -> const std::string& { return e.detail; });
}

std::string SpotifyBridgeError::description() const {
    static constexpr const char* names[] = {"not connected", "nothing playing", "unplayable on Sonos",
                                            "authorization failed", "network"};
    std::string out = names[caseIndex()];
    if (!detail().empty()) out += ": " + detail();
    return out;
}

}  // namespace orvel
