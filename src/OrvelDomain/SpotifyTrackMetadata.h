#pragma once

// The display data that travels with a Spotify item when it is enqueued on the speakers.

#include <optional>
#include <string>

#include "Duration.h"

namespace orvel {

struct SpotifyTrackMetadata {
    std::string title;
    std::string artist;
    std::optional<std::string> album;
    std::optional<std::string> artworkURL;  // absolute URL text
    std::optional<Duration> duration;

    friend bool operator==(const SpotifyTrackMetadata&, const SpotifyTrackMetadata&) = default;
};

}  // namespace orvel
