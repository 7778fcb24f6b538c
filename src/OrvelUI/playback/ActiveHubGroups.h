#pragma once

// Which groups count as active music sources. The same music can show in more than one group
// (a room left paused when another took over the Spotify playback, two rooms on one radio
// stream, a stale room after a regrouping); these rules keep one source per stream. The map
// draws one hub per active group and the dock switches between exactly these groups, so the
// content and order of the list matter to several views.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "OrvelDomain/NowPlaying.h"
#include "OrvelDomain/SonosGroup.h"

namespace orvel {

// A normalised key naming what a group plays, so two groups on the same stream can be
// recognised: "stream:<title>", "uri:<spotify uri>", "track:<title>|<artist>" or
// "spotify:context" (all lower-cased); none for TV audio, nothing playing, or a blank title
// outside Spotify.
std::optional<std::string> playbackStreamKey(const NowPlaying* nowPlaying);

// A track that comes from Spotify: by its source or by its Spotify reference.
bool isSpotifyTrack(const NowPlaying* nowPlaying);

// A paused group that only repeats music another group now plays: the same stream key, or any
// Spotify track while another group plays a Spotify track (the account plays in one place).
bool isSuppressedPausedDuplicate(const SonosGroup& group, std::span<const SonosGroup> in);

// Whether a group may be an active source at all: every multi-room group; a single room only
// when playing, or paused and not a suppressed duplicate.
bool isActiveHubCandidate(const SonosGroup& group, std::span<const SonosGroup> in);

// The active groups without duplicate streams, a sub-list of `from` in its order. Duplicates
// are settled by rank (playing first, then more rooms, then the smaller id): a repeated stream
// drops only single rooms, and of the Spotify tracks only the first by rank, the playing ones
// and multi-room groups stay.
std::vector<SonosGroup> deduplicatedActiveHubGroups(std::span<const SonosGroup> from);

}  // namespace orvel
