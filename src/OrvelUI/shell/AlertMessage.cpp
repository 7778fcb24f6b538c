#include "OrvelUI/shell/AlertMessage.h"

namespace orvel {

std::string alertSentence(const SonosCommandError& error) {
    if (error.isSpeakerUnreachable()) return "A room did not answer";
    if (error.isGroupDissolved()) return "That arrangement changed";
    if (error.isNotConverged()) return "The rooms did not settle";
    if (error.isSpeakerRejected()) return "A room refused";
    if (error.isUnsupportedForCurrentSource()) return "This source cannot skip";
    return "Spotify is not linked";
}

std::string alertSentence(const SpotifyBridgeError& error) {
    if (error.isUnplayableOnSonos()) return "That track cannot play here";
    if (const auto* failed = error.asAuthorizationFailed()) {
        return failed->detail.empty() ? "Spotify did not connect" : failed->detail;
    }
    if (error.isNetwork()) return "The network did not answer";
    if (error.isNotConnected()) return "Spotify is not connected";
    return "Nothing is playing on Spotify";
}

std::string alertMessage(const OrvelAlert& alert) {
    if (const auto* failed = alert.asCommandFailed()) return alertSentence(failed->error);
    if (alert.isPartiallyApplied()) return "Some rooms were out of reach";
    if (const auto* spotify = alert.asSpotify()) return alertSentence(spotify->error);
    return "A saved file could not be read";
}

AlertBannerContent alertBanner(const OrvelAlert& alert) {
    AlertBannerContent content{alertMessage(alert), std::nullopt};
    if (const auto* spotify = alert.asSpotify(); spotify != nullptr && spotify->error.isNotConnected()) {
        content.actionTitle = "Connect Spotify";
    }
    return content;
}

}  // namespace orvel
