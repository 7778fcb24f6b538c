#include "MusicSourceNodeTexts.h"
#include "OrvelUI/common/ShownText.h"

namespace orvel {

namespace {

const NowPlayingTrack* trackOf(const SonosGroup& group) {
    const NowPlaying* item = group.playback.nowPlaying();
    const auto* track = item ? item->asTrack() : nullptr;
    return track ? &track->track : nullptr;
}

}  // namespace

std::string MusicSourceNodeTexts::titleText(const SonosGroup& group) {
    if (const NowPlayingTrack* track = trackOf(group); track && !track->title().empty()) return track->title();
    const NowPlaying* item = group.playback.nowPlaying();
    if (!item || item->isTrack()) return group.displayName;
    if (const auto* stream = item->asStream()) return stream->title.value_or(std::string());
    return "TV Audio";
}

std::string MusicSourceNodeTexts::subtitleText(const SonosGroup& group) {
    if (const NowPlayingTrack* track = trackOf(group); track && track->artist() && !track->artist()->empty()) {
        return *track->artist();
    }
    const std::size_t rooms = group.speakers().size();
    return std::to_string(rooms) + (rooms == 1 ? " room" : " rooms");
}

std::string MusicSourceNodeTexts::playHelp(const SonosGroup& group, bool isPlaying) {
    return (isPlaying ? "Pause " : "Play ") + shownName(group.displayName);
}

std::string MusicSourceNodeTexts::artworkURL(const SonosGroup& group) {
    const NowPlayingTrack* track = trackOf(group);
    return track && track->artworkURL() ? *track->artworkURL() : std::string();
}

}  // namespace orvel
