#include <gtest/gtest.h>

#include "OrvelDomain/QueueItem.h"

using namespace orvel;

namespace {
const SpotifyURI uri = *SpotifyURI::make("spotify:track:4uLU6hMCjMI75M1A2tKUQC");

QueueItem item(std::optional<std::string> id, std::string title, std::optional<std::string> artist,
               std::optional<std::int64_t> queueNumber, std::optional<SpotifyURI> spotifyURI) {
    return QueueItem(std::move(id), std::move(title), std::move(artist), std::nullopt, std::nullopt, std::nullopt,
                     queueNumber, std::move(spotifyURI));
}
}  // namespace

TEST(QueueItem, ComposedId) {
    struct Case { const char* name; QueueItem item; const char* id; };
    const Case cases[] = {
        {"queue number and title, no artist", item(std::nullopt, "Song", std::nullopt, 4, std::nullopt), "4:Song:"},
        {"everything", item(std::nullopt, "Song", "Band", 12, std::nullopt), "12:Song:Band"},
        {"Spotify track without number or artist", item(std::nullopt, "Song", std::nullopt, std::nullopt, uri),
         "0:spotify:track:4uLU6hMCjMI75M1A2tKUQC:"},
        {"URI takes the title's place", item(std::nullopt, "Song", "Band", 2, uri),
         "2:spotify:track:4uLU6hMCjMI75M1A2tKUQC:Band"},
        {"negative number", item(std::nullopt, "Song", std::nullopt, -3, std::nullopt), "-3:Song:"},
        {"given id kept as it is", item("  custom ", "Song", "Band", 2, uri), "  custom "},
        {"given empty id kept", item("", "Song", std::nullopt, 1, std::nullopt), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.item.id(), c.id) << c.name;
}
