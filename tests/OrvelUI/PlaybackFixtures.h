#pragma once

// What groups play, for the tests of the playback views: tracks with or without a Spotify
// reference, streams and TV audio, playing or paused.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "OrvelDomain/NowPlaying.h"
#include "OrvelDomain/PlaybackState.h"
#include "OrvelDomain/QueueItem.h"
#include "ShellFixtures.h"

namespace orvel::testing {

inline NowPlayingTrack track(std::string title, std::optional<std::string> artist = std::nullopt,
                             std::optional<std::string> spotifyURI = std::nullopt,
                             std::optional<PlaybackSource> source = std::nullopt,
                             std::vector<QueueItem> upNext = {}) {
    std::optional<SpotifyURI> uri;
    if (spotifyURI) {
        uri = SpotifyURI::make(*spotifyURI);
        if (!uri) throw std::invalid_argument("not a Spotify reference: " + *spotifyURI);
    }
    return NowPlayingTrack(std::move(title), std::move(artist), std::nullopt, std::nullopt, std::nullopt,
                           std::nullopt, std::move(uri), std::move(source), std::move(upNext), std::nullopt);
}

inline PlaybackState playing(NowPlaying nowPlaying) {
    return PlaybackState::playing(std::move(nowPlaying), Duration(), Date());
}
inline PlaybackState paused(NowPlaying nowPlaying) { return PlaybackState::paused(std::move(nowPlaying), Duration()); }

// Spotify ids are at least 15 letters and digits long.
inline NowPlaying spotifyTrack(std::string id) {
    return NowPlaying::track(track(id, "Artist", "spotify:track:" + id + "000000000000000"));
}
inline NowPlaying plainTrack(std::string title) { return NowPlaying::track(track(std::move(title), "Artist")); }
inline NowPlaying radio(std::optional<std::string> title) { return NowPlaying::stream(std::move(title)); }

// A single room numbered `n`, or a room `n` with `n + 100` beside it.
inline SonosGroup single(int n, PlaybackState playback) { return group({speaker(n, "Room")}, std::move(playback)); }
inline SonosGroup pair(int n, PlaybackState playback) {
    return group({speaker(n, "Room"), speaker(n + 100, "Other")}, std::move(playback));
}

inline std::vector<GroupID> idsOf(const std::vector<SonosGroup>& groups) {
    std::vector<GroupID> ids;
    for (const SonosGroup& g : groups) ids.push_back(g.id);
    return ids;
}

}  // namespace orvel::testing
