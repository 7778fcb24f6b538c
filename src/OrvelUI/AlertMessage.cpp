#include "OrvelUI/AlertMessage.h"

namespace orvel {

std::string alertSentence(const SpotifyBridgeError& error) {
    if (error.isUnplayableOnSonos()) return "That track cannot play here";
    if (const auto* failed = error.asAuthorizationFailed()) {
        return failed->detail.empty() ? "Spotify did not connect" : failed->detail;
    }
    if (error.isNetwork()) return "The network did not answer";
    if (error.isNotConnected()) return "Spotify is not connected";
    return "Nothing is playing on Spotify";
}

}  // namespace orvel
