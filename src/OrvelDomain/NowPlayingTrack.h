#pragma once

// The details of the track a group plays. The constructor derives a missing source and
// canSkip from what else is known, so every producer gets the same defaults.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Duration.h"
#include "PlaybackSource.h"
#include "QueueItem.h"
#include "SpotifyURI.h"

namespace orvel {

class NowPlayingTrack {
public:
    // Stores every argument unchanged, except that an absent source becomes spotify (no
    // context title) with a Spotify URI, else sonosQueue with a queue position, else stays
    // absent; and an absent canSkip becomes whether a queue position or a Spotify URI is given.
    NowPlayingTrack(std::string title, std::optional<std::string> artist, std::optional<std::string> album,
                    std::optional<std::string> artworkURL, std::optional<Duration> duration,
                    std::optional<std::int64_t> queuePosition, std::optional<SpotifyURI> spotifyURI,
                    std::optional<PlaybackSource> source, std::vector<QueueItem> upNext,
                    std::optional<bool> canSkip);

    const std::string& title() const { return title_; }
    const std::optional<std::string>& artist() const { return artist_; }
    const std::optional<std::string>& album() const { return album_; }
    const std::optional<std::string>& artworkURL() const { return artworkURL_; }
    const std::optional<Duration>& duration() const { return duration_; }
    // Position in the speakers' play queue, when the track plays from it.
    const std::optional<std::int64_t>& queuePosition() const { return queuePosition_; }
    const std::optional<SpotifyURI>& spotifyURI() const { return spotifyURI_; }
    const std::optional<PlaybackSource>& source() const { return source_; }
    const std::vector<QueueItem>& upNext() const { return upNext_; }
    bool canSkip() const { return canSkip_; }

    bool isSpotifyStream() const;
    // Whether both name the same item: by Spotify URI when both have one, else by trimmed
    // title and artist ignoring case (an artist missing on either side does not count).
    bool matchesIdentity(const NowPlayingTrack& other) const;

    // A copy in which each given argument replaces its field. A source absent on both sides is
    // derived again, as the constructor does.
    NowPlayingTrack merging(std::optional<std::string> artworkURL, std::optional<PlaybackSource> source,
                            std::optional<std::vector<QueueItem>> upNext,
                            std::optional<bool> canSkip) const;

    friend bool operator==(const NowPlayingTrack&, const NowPlayingTrack&) = default;

private:
    std::string title_;
    std::optional<std::string> artist_;
    std::optional<std::string> album_;
    std::optional<std::string> artworkURL_;
    std::optional<Duration> duration_;
    std::optional<std::int64_t> queuePosition_;
    std::optional<SpotifyURI> spotifyURI_;
    std::optional<PlaybackSource> source_;
    std::vector<QueueItem> upNext_;
    bool canSkip_;
};

}  // namespace orvel
