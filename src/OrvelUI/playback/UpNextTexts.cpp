#include "OrvelUI/playback/UpNextTexts.h"

#include <cstdio>
#include <limits>

namespace orvel {

std::string UpNextTexts::countLabel(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " track" : " tracks");
}

std::optional<std::string> UpNextTexts::sourceBadge(const std::optional<PlaybackSource>& source, bool embedded) {
    if (embedded || !source) return std::nullopt;
    return "\u00B7 " + source->shortBadge();
}

std::string UpNextTexts::emptyState(std::string_view roomName) {
    return "No upcoming tracks queued in " + std::string(roomName);
}

std::optional<std::string> UpNextTexts::subtitle(const QueueItem& item) {
    if (!item.artist() || item.artist()->empty()) return std::nullopt;
    if (!item.album()) return *item.artist();
    return *item.artist() + " \u00B7 " + *item.album();
}

std::optional<std::string> UpNextTexts::length(const std::optional<Duration>& duration) {
    if (!duration) return std::nullopt;
    // Whole seconds toward zero, bounded so the text stays an int's worth of minutes.
    Duration::Attoseconds whole = duration->attoseconds() / Duration::perSecond;
    if (whole < 0) whole = 0;
    const Duration::Attoseconds limit = Duration::Attoseconds(std::numeric_limits<int>::max()) * 60;
    if (whole > limit) whole = limit;
    const auto seconds = static_cast<long long>(whole);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    return std::string(text);
}

}  // namespace orvel
