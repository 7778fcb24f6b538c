#include "OrvelUI/playback/ActiveHubGroups.h"

#include <algorithm>
#include <set>

#include "OrvelDomain/Text.h"

namespace orvel {

namespace {

std::string normalised(std::string_view value) { return text::lowercased(text::trimmed(value)); }

std::size_t speakerCount(const SonosGroup& group) { return group.members.size() + 1; }

// Ranked first: playing, then more rooms, then the smaller id by plain string order.
bool ranksBefore(const SonosGroup* a, const SonosGroup* b) {
    if (a->playback.isPlaying() != b->playback.isPlaying()) return a->playback.isPlaying();
    if (speakerCount(*a) != speakerCount(*b)) return speakerCount(*a) > speakerCount(*b);
    return a->id.description() < b->id.description();
}

}  // namespace

std::optional<std::string> playbackStreamKey(const NowPlaying* nowPlaying) {
    if (!nowPlaying || nowPlaying->isTvAudio()) return std::nullopt;
    if (const auto* stream = nowPlaying->asStream()) return "stream:" + normalised(stream->title.value_or(""));

    const NowPlayingTrack& track = nowPlaying->asTrack()->track;
    if (track.spotifyURI()) {
        std::string uri = text::lowercased(track.spotifyURI()->description());
        if (!uri.empty()) return "uri:" + uri;
    }
    const std::string title = normalised(track.title());
    if (title.empty()) {
        if (track.source() && track.source()->isSpotify()) return "spotify:context";
        return std::nullopt;
    }
    return "track:" + title + "|" + normalised(track.artist().value_or(""));
}

bool isSpotifyTrack(const NowPlaying* nowPlaying) {
    const auto* track = nowPlaying ? nowPlaying->asTrack() : nullptr;
    return track && track->track.isSpotifyStream();
}

bool isSuppressedPausedDuplicate(const SonosGroup& group, std::span<const SonosGroup> in) {
    if (!group.playback.isPaused()) return false;
    std::vector<const SonosGroup*> others;
    for (const SonosGroup& other : in) {
        if (other.id != group.id && other.playback.isPlaying()) others.push_back(&other);
    }
    if (others.empty()) return false;

    const NowPlaying* paused = group.playback.nowPlaying();
    if (const auto key = playbackStreamKey(paused)) {
        for (const SonosGroup* other : others) {
            if (playbackStreamKey(other->playback.nowPlaying()) == key) return true;
        }
    }
    if (isSpotifyTrack(paused)) {
        for (const SonosGroup* other : others) {
            if (isSpotifyTrack(other->playback.nowPlaying())) return true;
        }
    }
    return false;
}

bool isActiveHubCandidate(const SonosGroup& group, std::span<const SonosGroup> in) {
    if (speakerCount(group) >= 2 || group.playback.isPlaying()) return true;
    return group.playback.isPaused() && !isSuppressedPausedDuplicate(group, in);
}

std::vector<SonosGroup> deduplicatedActiveHubGroups(std::span<const SonosGroup> from) {
    std::vector<const SonosGroup*> ranked;
    for (const SonosGroup& group : from) {
        if (isActiveHubCandidate(group, from)) ranked.push_back(&group);
    }
    std::stable_sort(ranked.begin(), ranked.end(), ranksBefore);

    std::set<std::string> seenKeys;
    std::set<GroupID> kept;
    bool spotifyKept = false;
    for (const SonosGroup* candidate : ranked) {
        const NowPlaying* nowPlaying = candidate->playback.nowPlaying();
        const bool multiRoom = speakerCount(*candidate) >= 2;
        if (auto key = playbackStreamKey(nowPlaying)) {
            const bool isNew = seenKeys.insert(std::move(*key)).second;
            if (!isNew && !multiRoom) continue;
        }
        if (isSpotifyTrack(nowPlaying)) {
            if (spotifyKept && !candidate->playback.isPlaying() && !multiRoom) continue;
            spotifyKept = true;
        }
        kept.insert(candidate->id);
    }

    std::vector<SonosGroup> result;
    for (const SonosGroup& group : from) {
        if (kept.contains(group.id)) result.push_back(group);
    }
    return result;
}

}  // namespace orvel
