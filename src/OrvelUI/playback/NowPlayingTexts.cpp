#include "OrvelUI/playback/NowPlayingTexts.h"

#include <string_view>

#include "OrvelDomain/Text.h"

namespace orvel {

namespace {

constexpr std::string_view separator = " \u00B7 ";

const NowPlayingTrack* currentTrack(const SonosGroup& group) {
    const NowPlaying* nowPlaying = group.playback.nowPlaying();
    const NowPlaying::Track* track = nowPlaying ? nowPlaying->asTrack() : nullptr;
    return track ? &track->track : nullptr;
}

// The trimmed artist of the current track, when it has one that is not blank.
std::optional<std::string> shownArtist(const SonosGroup& group) {
    const NowPlayingTrack* track = currentTrack(group);
    if (!track || !track->artist()) return std::nullopt;
    std::string artist = text::trimmed(*track->artist());
    if (artist.empty()) return std::nullopt;
    return artist;
}

std::string roomsGrouped(const SonosGroup& group) {
    return std::to_string(group.speakers().size()) + " rooms grouped";
}

std::string readyToPlay(std::string head) { return head + std::string(separator) + "Ready to play"; }

}  // namespace

std::string NowPlayingTexts::primaryTitle(const SonosGroup& group) {
    const NowPlaying* nowPlaying = group.playback.nowPlaying();
    if (!nowPlaying) return group.displayName;
    return nowPlaying->visit(
        [&](const NowPlaying::Track& track) { return track.track.title().empty() ? group.displayName : track.track.title(); },
        [&](const NowPlaying::Stream& stream) { return stream.title.value_or(group.displayName); },
        [](const NowPlaying::TvAudio&) { return std::string("TV"); });
}

std::string NowPlayingTexts::subtitle(const SonosGroup& group) {
    if (!group.playback.nowPlaying()) {
        if (group.speakers().size() < 2) return readyToPlay(group.coordinator.model.displayName());
        return readyToPlay(roomsGrouped(group));
    }
    if (auto artist = shownArtist(group)) return *artist + std::string(separator) + group.displayName;
    return group.displayName;
}

std::string NowPlayingTexts::floatingPillSubtitle(const SonosGroup& group) {
    if (!group.playback.nowPlaying()) {
        if (group.speakers().size() < 2) return readyToPlay(group.coordinator.model.displayName());
        return roomsGrouped(group);
    }
    if (auto artist = shownArtist(group)) return group.displayName + std::string(separator) + *artist;
    return group.displayName;
}

std::optional<std::string> NowPlayingTexts::sourceLine(const SonosGroup& group) {
    const NowPlayingTrack* track = currentTrack(group);
    if (!track || !track->source()) return std::nullopt;
    return track->source()->label();
}

std::optional<std::string> NowPlayingTexts::artworkURL(const SonosGroup& group) {
    const NowPlayingTrack* track = currentTrack(group);
    return track ? track->artworkURL() : std::nullopt;
}

std::string NowPlayingTexts::groupCountLabel(std::size_t count) { return std::to_string(count) + " Groups"; }

std::optional<std::string> NowPlayingTexts::queueHeaderArtistLine(const NowPlayingTrack& track,
                                                                  const SonosGroup& group) {
    if (!track.artist() || track.artist()->empty()) return std::nullopt;
    return *track.artist() + std::string(separator) + group.displayName;
}

}  // namespace orvel
