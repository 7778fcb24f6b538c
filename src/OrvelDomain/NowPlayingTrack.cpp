#include "NowPlayingTrack.h"

#include "Text.h"

namespace orvel {

namespace {
std::optional<PlaybackSource> derivedSource(const std::optional<std::int64_t>& queuePosition,
                                            const std::optional<SpotifyURI>& spotifyURI) {
    if (spotifyURI) return PlaybackSource::spotify();
    if (queuePosition) return PlaybackSource::sonosQueue();
    return std::nullopt;
}
}  // namespace

NowPlayingTrack::NowPlayingTrack(std::string title, std::optional<std::string> artist,
                                 std::optional<std::string> album, std::optional<std::string> artworkURL,
                                 std::optional<Duration> duration, std::optional<std::int64_t> queuePosition,
                                 std::optional<SpotifyURI> spotifyURI, std::optional<PlaybackSource> source,
                                 std::vector<QueueItem> upNext, std::optional<bool> canSkip)
    : title_(std::move(title)),
      artist_(std::move(artist)),
      album_(std::move(album)),
      artworkURL_(std::move(artworkURL)),
      duration_(duration),
      queuePosition_(queuePosition),
      spotifyURI_(std::move(spotifyURI)),
      source_(source ? std::move(source) : derivedSource(queuePosition_, spotifyURI_)),
      upNext_(std::move(upNext)),
      canSkip_(canSkip.value_or(queuePosition_.has_value() || spotifyURI_.has_value())) {}

bool NowPlayingTrack::isSpotifyStream() const {
    return spotifyURI_.has_value() || (source_ && source_->isSpotify());
}

bool NowPlayingTrack::matchesIdentity(const NowPlayingTrack& other) const {
    if (spotifyURI_ && other.spotifyURI_) return *spotifyURI_ == *other.spotifyURI_;

    std::string title = text::trimmed(title_);
    if (title.empty()) return false;
    if (!text::caseInsensitiveEquals(title, text::trimmed(other.title_))) return false;

    std::string artist = text::trimmed(artist_.value_or(""));
    std::string otherArtist = text::trimmed(other.artist_.value_or(""));
    // Sources disagree on whether they report an artist at all; only two named artists can differ.
    if (artist.empty() || otherArtist.empty()) return true;
    return text::caseInsensitiveEquals(artist, otherArtist);
}

NowPlayingTrack NowPlayingTrack::merging(std::optional<std::string> artworkURL,
                                         std::optional<PlaybackSource> source,
                                         std::optional<std::vector<QueueItem>> upNext,
                                         std::optional<bool> canSkip) const {
    return NowPlayingTrack(title_, artist_, album_, artworkURL ? std::move(artworkURL) : artworkURL_,
                           duration_, queuePosition_, spotifyURI_, source ? std::move(source) : source_,
                           upNext ? std::move(*upNext) : upNext_, canSkip.value_or(canSkip_));
}

}  // namespace orvel
