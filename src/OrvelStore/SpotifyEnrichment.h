#pragma once

// Completing what the groups play with the linked Spotify account's own view of its current
// item: artwork the speakers did not report, the source with its playlist or album name, an
// up-next list, and permission to skip. Also bridges gaps in the speakers' reports by carrying
// a group's last enriched track forward while the same track plays.
//
// Pure functions on values; the store decides when to fetch and keeps the remembered tracks.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/HouseholdSnapshot.h"
#include "OrvelDomain/NowPlayingTrack.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/SpotifyTrackContext.h"

namespace orvel::SpotifyEnrichment {

// The groups that play or are paused, in the snapshot's group order.
std::vector<SonosGroup> activeGroups(const HouseholdSnapshot& snapshot);
std::set<GroupID> ids(const std::vector<SonosGroup>& groups);

// What the active groups play, as one text: per group playing a track, its Spotify URI or
// else its title, joined with "|". Empty when no group plays a track.
std::string trackIdentity(const std::vector<SonosGroup>& active);

// Seconds between fetches: 30 while a group plays, 120 while all are paused.
double fetchInterval(const std::vector<SonosGroup>& active);

// Whether the group plays the context's item: the same Spotify URI, the same non-empty title
// (ignoring case), or one of its rooms is the account's playing device (ignoring case).
bool matches(const SonosGroup& group, const SpotifyTrackContext& context);

// The group whose track takes the context's details: among the matching ones, playing before
// paused, then more speakers, then the smaller id.
std::optional<GroupID> spotifyGroup(const std::vector<SonosGroup>& active, const SpotifyTrackContext& context);

// Whether two reports name the same track: equal Spotify URIs, or the same non-empty title.
bool isSameTrack(const NowPlayingTrack& track, const NowPlayingTrack& remembered);

// `snapshot` with every active group's track completed from the context (for the Spotify group)
// and from `lastKnownTracks` (the same track seen before); records each merged track there.
HouseholdSnapshot merge(const HouseholdSnapshot& snapshot, const std::vector<SonosGroup>& active,
                        const std::optional<SpotifyTrackContext>& context,
                        std::map<GroupID, NowPlayingTrack>& lastKnownTracks);

}  // namespace orvel::SpotifyEnrichment
