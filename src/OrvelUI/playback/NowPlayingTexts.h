#pragma once

// The words of the now-playing dock and the phone's pill, as pure functions of the group they
// show. Everything that comes from the household is shown verbatim unless a rule says to trim.

#include <cstddef>
#include <optional>
#include <string>

#include "OrvelDomain/SonosGroup.h"

namespace orvel {

struct NowPlayingTexts {
    NowPlayingTexts() = delete;

    // The track's title when not empty (spaces count), a stream's title when present (even
    // empty), "TV" for television audio, otherwise the group's name.
    static std::string primaryTitle(const SonosGroup& group);
    // Under the title in the dock: "<model> · Ready to play" or "N rooms grouped · Ready to play"
    // when stopped, "<artist> · <group>" for a track with a non-blank artist, else the group's name.
    static std::string subtitle(const SonosGroup& group);
    // Under the pill's title: like the dock's, but the group comes first, and a stopped group of
    // several rooms reads "N rooms grouped" alone.
    static std::string floatingPillSubtitle(const SonosGroup& group);
    // The label of the current track's source; none for anything else.
    static std::optional<std::string> sourceLine(const SonosGroup& group);
    static std::optional<std::string> artworkURL(const SonosGroup& group);
    // The group switcher's capsule: the same wording for every count.
    static std::string groupCountLabel(std::size_t count);
    // The queue card's header: the artist as given (not trimmed), then the group; none for a
    // track without an artist or with an empty one.
    static std::optional<std::string> queueHeaderArtistLine(const NowPlayingTrack& track, const SonosGroup& group);
};

}  // namespace orvel
