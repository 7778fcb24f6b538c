#pragma once

// The texts of the up-next card and its rows, as pure functions of the values they show.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "OrvelDomain/Duration.h"
#include "OrvelDomain/PlaybackSource.h"
#include "OrvelDomain/QueueItem.h"

namespace orvel {

struct UpNextTexts {
    UpNextTexts() = delete;

    // "0 tracks", "1 track", "12 tracks".
    static std::string countLabel(std::size_t count);
    // "· Queue" after the card's title: only on a card that draws its own chrome and only when
    // the track names its source.
    static std::optional<std::string> sourceBadge(const std::optional<PlaybackSource>& source, bool embedded);
    // The body of a card with nothing queued.
    static std::string emptyState(std::string_view roomName);
    // "Artist · Album", or the artist alone; none without an artist. A present album counts
    // even when empty.
    static std::optional<std::string> subtitle(const QueueItem& item);
    // "m:ss" from the whole seconds (a negative length reads 0:00); minutes are not carried into
    // hours, so 3,725 s reads 62:05. None without a length.
    static std::optional<std::string> length(const std::optional<Duration>& duration);
};

}  // namespace orvel
