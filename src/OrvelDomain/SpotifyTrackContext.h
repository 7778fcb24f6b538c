#pragma once

// What the linked Spotify account plays right now, as its Web API reports it.

#include <optional>
#include <string>
#include <vector>

#include "Duration.h"
#include "QueueItem.h"
#include "SpotifyTrackMetadata.h"
#include "SpotifyURI.h"

namespace orvel {

struct SpotifyTrackContext {
    SpotifyURI uri;
    SpotifyTrackMetadata metadata;
    std::optional<Duration> position;
    std::optional<std::string> contextTitle;  // the playlist or album
    // Held as plain text: contexts include kinds (artists, shows) that SpotifyURI does not name.
    std::optional<std::string> contextURI;
    std::optional<std::string> deviceName;
    std::vector<QueueItem> upNext;  // in play order

    friend bool operator==(const SpotifyTrackContext&, const SpotifyTrackContext&) = default;
};

}  // namespace orvel
