#include "GroupStatus.h"

#include "HashCombine.h"

namespace orvel {

namespace {

// The up-next list is hashed by its ids only: equal lists have equal ids, and the ids already
// compose title, artist, reference and queue number.
void hashTrack(std::size_t& seed, const NowPlayingTrack& track) {
    hashCombine(seed, track.title());
    hashCombine(seed, track.artist());
    hashCombine(seed, track.album());
    hashCombine(seed, track.artworkURL());
    hashCombine(seed, track.duration());
    hashCombine(seed, track.queuePosition());
    hashCombine(seed, track.spotifyURI());
    hashCombine(seed, track.source());
    hashCombine(seed, track.upNext().size());
    for (const auto& item : track.upNext()) hashCombine(seed, item.id());
    hashCombine(seed, track.canSkip());
}

void hashNowPlaying(std::size_t& seed, const NowPlaying& item) {
    if (const NowPlaying::Track* t = item.asTrack()) {
        hashCombine(seed, 0);
        hashTrack(seed, t->track);
    } else if (const NowPlaying::Stream* s = item.asStream()) {
        hashCombine(seed, 1);
        hashCombine(seed, s->title);
    } else {
        hashCombine(seed, 2);
    }
}

}  // namespace

std::size_t hashPlayback(const PlaybackState& playback) {
    std::size_t seed = 0;
    if (const PlaybackState::Paused* p = playback.asPaused()) {
        hashCombine(seed, 0);
        hashNowPlaying(seed, p->nowPlaying);
        hashCombine(seed, p->elapsed);
    } else if (const PlaybackState::Playing* p = playback.asPlaying()) {
        hashCombine(seed, 1);
        hashNowPlaying(seed, p->nowPlaying);
        hashCombine(seed, p->elapsed);
        hashCombine(seed, p->sampledAt);
    } else {
        hashCombine(seed, 2);
    }
    return seed;
}

}  // namespace orvel

std::size_t std::hash<orvel::GroupStatus>::operator()(const orvel::GroupStatus& status) const noexcept {
    std::size_t seed = orvel::hashPlayback(status.playback);
    orvel::hashCombine(seed, status.volume);
    return seed;
}
