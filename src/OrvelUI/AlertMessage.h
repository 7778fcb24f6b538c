#pragma once

// The sentences the alert banner shows. Only the kind of failure decides the text, never the
// ids, addresses or details it carries, with one exception: a sign-in failure that comes with
// a message of its own shows that message.

#include <string>

#include "SpotifyBridge/SpotifyBridgeError.h"

namespace orvel {

std::string alertSentence(const SpotifyBridgeError& error);

// The title of the banner's one action, offered only when no Spotify account is linked.
inline constexpr const char* connectSpotifyActionTitle = "Connect Spotify";

}  // namespace orvel
