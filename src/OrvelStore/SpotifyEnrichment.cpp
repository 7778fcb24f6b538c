#include "SpotifyEnrichment.h"

#include <algorithm>
#include <utility>

#include "OrvelDomain/Text.h"

namespace orvel::SpotifyEnrichment {
namespace {

const NowPlayingTrack* trackOf(const SonosGroup& group) {
    const NowPlaying* item = group.playback.nowPlaying();
    if (item == nullptr) return nullptr;
    const auto* track = item->asTrack();
    return track ? &track->track : nullptr;
}

int playbackRank(const SonosGroup& group) { return group.playback.isPlaying() ? 1 : 0; }

// A Spotify track of a group that does not play the account's item must not take someone
// else's up-next list; a queue, radio or line-in track may keep its own remembered one.
bool mayBorrowUpNext(const NowPlayingTrack& track, bool isSpotifyGroup) {
    if (isSpotifyGroup) return true;
    if (track.spotifyURI()) return false;
    return !track.source() || !track.source()->isSpotify();
}

NowPlayingTrack mergingContext(const NowPlayingTrack& track, const SpotifyTrackContext& context) {
    std::optional<std::string> artwork = track.artworkURL() ? track.artworkURL() : context.metadata.artworkURL;
    PlaybackSource source = PlaybackSource::spotify(track.album());
    if (context.contextTitle && !context.contextTitle->empty()) {
        source = PlaybackSource::spotify(context.contextTitle);
    } else if (track.source()) {
        source = *track.source();
    }
    std::vector<QueueItem> upNext = track.upNext().empty() ? context.upNext : track.upNext();
    return track.merging(std::move(artwork), std::move(source), std::move(upNext), true);
}

NowPlayingTrack mergingRemembered(const NowPlayingTrack& track, const NowPlayingTrack& remembered,
                                  bool isSpotifyGroup) {
    std::optional<std::string> artwork = track.artworkURL() ? track.artworkURL() : remembered.artworkURL();
    std::optional<PlaybackSource> source = track.source() ? track.source() : remembered.source();
    const bool borrow = mayBorrowUpNext(track, isSpotifyGroup) && track.upNext().empty();
    std::vector<QueueItem> upNext = borrow ? remembered.upNext() : track.upNext();
    return track.merging(std::move(artwork), std::move(source), std::move(upNext),
                         track.canSkip() || remembered.canSkip());
}

PlaybackState withItem(const PlaybackState& playback, NowPlayingTrack track) {
    return playback.visit(
        [&track](const PlaybackState::Playing& playing) {
            return PlaybackState::playing(NowPlaying::track(std::move(track)), playing.elapsed, playing.sampledAt);
        },
        [&track](const PlaybackState::Paused& paused) {
            return PlaybackState::paused(NowPlaying::track(std::move(track)), paused.elapsed);
        },
        // Nothing plays, so there is no item to replace.
        [&playback](const PlaybackState::Stopped&) { return playback; });
}

}  // namespace

std::vector<SonosGroup> activeGroups(const HouseholdSnapshot& snapshot) {
    std::vector<SonosGroup> out;
    for (const SonosGroup& group : snapshot.groups()) {
        if (!group.playback.isStopped()) out.push_back(group);
    }
    return out;
}

std::set<GroupID> ids(const std::vector<SonosGroup>& groups) {
    std::set<GroupID> out;
    for (const SonosGroup& group : groups) out.insert(group.id);
    return out;
}

std::string trackIdentity(const std::vector<SonosGroup>& active) {
    std::string identity;
    bool first = true;
    for (const SonosGroup& group : active) {
        const NowPlayingTrack* track = trackOf(group);
        if (track == nullptr) continue;
        if (!first) identity += '|';
        first = false;
        identity += track->spotifyURI() ? track->spotifyURI()->description() : track->title();
    }
    return identity;
}

double fetchInterval(const std::vector<SonosGroup>& active) {
    const bool anyPlaying =
        std::any_of(active.begin(), active.end(), [](const SonosGroup& group) { return group.playback.isPlaying(); });
    return anyPlaying ? 30.0 : 120.0;
}

bool matches(const SonosGroup& group, const SpotifyTrackContext& context) {
    const NowPlayingTrack* track = trackOf(group);
    if (track == nullptr) return false;
    if (track->spotifyURI() && *track->spotifyURI() == context.uri) return true;
    if (!track->title().empty() && text::caseInsensitiveEquals(track->title(), context.metadata.title)) return true;
    if (!context.deviceName) return false;
    const std::vector<Speaker> speakers = group.speakers();
    return std::any_of(speakers.begin(), speakers.end(), [&](const Speaker& speaker) {
        return text::caseInsensitiveEquals(speaker.roomName, *context.deviceName);
    });
}

std::optional<GroupID> spotifyGroup(const std::vector<SonosGroup>& active, const SpotifyTrackContext& context) {
    const SonosGroup* best = nullptr;
    for (const SonosGroup& group : active) {
        if (!matches(group, context)) continue;
        if (best == nullptr) {
            best = &group;
            continue;
        }
        const int rank = playbackRank(group);
        const int bestRank = playbackRank(*best);
        if (rank != bestRank) {
            if (rank > bestRank) best = &group;
            continue;
        }
        const std::size_t size = group.members.size();
        const std::size_t bestSize = best->members.size();
        if (size != bestSize) {
            if (size > bestSize) best = &group;
            continue;
        }
        if (group.id.description() < best->id.description()) best = &group;
    }
    if (best == nullptr) return std::nullopt;
    return best->id;
}

bool isSameTrack(const NowPlayingTrack& track, const NowPlayingTrack& remembered) {
    if (track.spotifyURI() && remembered.spotifyURI() && *track.spotifyURI() == *remembered.spotifyURI()) return true;
    return !track.title().empty() && track.title() == remembered.title();
}

HouseholdSnapshot merge(const HouseholdSnapshot& snapshot, const std::vector<SonosGroup>& active,
                        const std::optional<SpotifyTrackContext>& context,
                        std::map<GroupID, NowPlayingTrack>& lastKnownTracks) {
    const std::optional<GroupID> spotify = context ? spotifyGroup(active, *context) : std::nullopt;
    HouseholdSnapshot working = snapshot;
    for (const SonosGroup& group : active) {
        const NowPlayingTrack* reported = trackOf(group);
        if (reported == nullptr) continue;
        const bool isSpotifyGroup = spotify && *spotify == group.id;

        NowPlayingTrack track = isSpotifyGroup ? mergingContext(*reported, *context) : *reported;
        if (auto remembered = lastKnownTracks.find(group.id);
            remembered != lastKnownTracks.end() && isSameTrack(track, remembered->second)) {
            track = mergingRemembered(track, remembered->second, isSpotifyGroup);
        }
        lastKnownTracks.insert_or_assign(group.id, track);

        if (track == *reported) continue;
        GroupStatus status{withItem(group.playback, std::move(track)), group.volume};
        working = working.replacing(std::nullopt, std::nullopt, std::make_pair(group.id, std::move(status)));
    }
    return working;
}

}  // namespace orvel::SpotifyEnrichment
