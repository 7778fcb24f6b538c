#pragma once

// The words of a music-source card: what the group plays, a second line under it and the
// play button's help text. Pure functions of the group.

#include <string>

#include "OrvelDomain/SonosGroup.h"

namespace orvel {

struct MusicSourceNodeTexts {
    MusicSourceNodeTexts() = delete;

    // A track's title when not empty; otherwise a stream's title (empty when it has none),
    // "TV Audio", or the group's name for a group without anything to play.
    static std::string titleText(const SonosGroup& group);
    // A track's artist when present and not empty; otherwise the room count ("1 room", "3 rooms").
    static std::string subtitleText(const SonosGroup& group);
    // "Pause <group>" while playing, else "Play <group>".
    static std::string playHelp(const SonosGroup& group, bool isPlaying);
    // The track's artwork; empty for anything but a track that has some.
    static std::string artworkURL(const SonosGroup& group);
};

}  // namespace orvel
