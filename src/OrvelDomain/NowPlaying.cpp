#include "NowPlaying.h"

#include "Text.h"

namespace orvel {

bool NowPlaying::matchesSession(const NowPlaying& other) const {
    if (const Track* a = asTrack()) {
        const Track* b = other.asTrack();
        if (b == nullptr) return false;
        return a->track.matchesIdentity(b->track) ||
               (a->track.isSpotifyStream() && b->track.isSpotifyStream());
    }
    if (const Stream* a = asStream()) {
        const Stream* b = other.asStream();
        if (b == nullptr || !a->title || !b->title) return false;
        std::string mine = text::trimmed(*a->title);
        std::string theirs = text::trimmed(*b->title);
        return !mine.empty() && !theirs.empty() && text::caseInsensitiveEquals(mine, theirs);
    }
    return false;
}

bool NowPlaying::isSpotifyOrStreaming() const {
    if (const Track* t = asTrack()) return t->track.isSpotifyStream();
    return isStream();
}

}  // namespace orvel
