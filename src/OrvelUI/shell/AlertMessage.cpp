#include "OrvelUI/shell/AlertMessage.h"

namespace orvel {

std::string alertSentence(const SonosCommandError& error) {
    using E = SonosCommandError;
    return error.visit([](const E::SpeakerUnreachable&) -> std::string { return "A room did not answer"; },
                       [](const E::GroupDissolved&) -> std::string { return "That arrangement changed"; },
                       [](const E::NotConverged&) -> std::string { return "The rooms did not settle"; },
                       [](const E::SpeakerRejected&) -> std::string { return "A room refused"; },
                       [](const E::UnsupportedForCurrentSource&) -> std::string { return "This source cannot skip"; },
                       [](const E::SpotifyNotLinkedOnSonos&) -> std::string { return "Spotify is not linked"; });
}

std::string alertSentence(const SpotifyBridgeError& error) {
    using E = SpotifyBridgeError;
    return error.visit(
        [](const E::UnplayableOnSonos&) -> std::string { return "That track cannot play here"; },
        [](const E::AuthorizationFailed& failed) -> std::string {
            return failed.detail.empty() ? "Spotify did not connect" : failed.detail;
        },
        [](const E::Network&) -> std::string { return "The network did not answer"; },
        [](const E::NotConnected&) -> std::string { return "Spotify is not connected"; },
        [](const E::NothingPlaying&) -> std::string { return "Nothing is playing on Spotify"; });
}

std::string alertMessage(const OrvelAlert& alert) {
    return alert.visit([](const OrvelAlert::CommandFailed& failed) { return alertSentence(failed.error); },
                       [](const OrvelAlert::PartiallyApplied&) -> std::string { return "Some rooms were out of reach"; },
                       [](const OrvelAlert::Spotify& spotify) { return alertSentence(spotify.error); },
                       [](const OrvelAlert::Quarantined&) -> std::string { return "A saved file could not be read"; });
}

AlertBannerContent alertBanner(const OrvelAlert& alert) {
    AlertBannerContent content{alertMessage(alert), std::nullopt};
    if (const auto* spotify = alert.asSpotify(); spotify != nullptr && spotify->error.isNotConnected()) {
        content.actionTitle = "Connect Spotify";
    }
    return content;
}

}  // namespace orvel
