#pragma once

// What the alert banner shows. Only the kind of failure decides the sentence, never the
// command, ids, addresses, durations or file names it carries, with one exception: a sign-in
// failure that comes with a message of its own shows that message.

#include <optional>
#include <string>

#include "OrvelStore/OrvelAlert.h"
#include "OrvelDomain/SpotifyBridgeError.h"

namespace orvel {

std::string alertMessage(const OrvelAlert& alert);
std::string alertSentence(const SpotifyBridgeError& error);
std::string alertSentence(const SonosCommandError& error);

struct AlertBannerContent {
    std::string message;
    // Present only for the one alert the user can act on: no Spotify account linked.
    std::optional<std::string> actionTitle;
    friend bool operator==(const AlertBannerContent&, const AlertBannerContent&) = default;
};

AlertBannerContent alertBanner(const OrvelAlert& alert);

}  // namespace orvel
