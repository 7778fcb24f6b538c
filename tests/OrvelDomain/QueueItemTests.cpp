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

TEST(QueueItem, JsonWritesOnlyPresentMembers) {
    auto full = QueueItem("7:Song:Band", "Song", "Band", "Album", "https://127.0.0.1/art.jpg",
                          Duration::seconds(std::int64_t{200}), 7, uri);
    Json expected = *json::parse(R"({
        "id": "7:Song:Band", "title": "Song", "artist": "Band", "album": "Album",
        "artworkURL": "https://127.0.0.1/art.jpg", "duration": [10, 15532559262904483840],
        "queueNumber": 7, "spotifyURI": {"kind": "track", "id": "4uLU6hMCjMI75M1A2tKUQC"}})");
    EXPECT_EQ(full.toJson(), expected);
    EXPECT_EQ(*QueueItem::fromJson(full.toJson()), full);

    auto minimal = item(std::nullopt, "Song", std::nullopt, std::nullopt, std::nullopt);
    EXPECT_EQ(minimal.toJson().dump(), R"({"id":"0:Song:","title":"Song"})");
    EXPECT_EQ(*QueueItem::fromJson(minimal.toJson()), minimal);
}

TEST(QueueItem, JsonReadsNullAsAbsentAndIgnoresOtherKeys) {
    auto decoded = QueueItem::fromJson(*json::parse(R"({
        "id": "x", "title": "T", "artist": null, "album": null, "artworkURL": null, "duration": null,
        "queueNumber": null, "spotifyURI": null, "extra": [1, 2]})"));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, item("x", "T", std::nullopt, std::nullopt, std::nullopt));

    // A stored id is taken as it is, never composed again.
    auto stored = QueueItem::fromJson(*json::parse(R"({"id": "mine", "title": "T", "queueNumber": 3})"));
    EXPECT_EQ(stored->id(), "mine");

    // Short durations have a zero upper half.
    auto shortOne = QueueItem::fromJson(*json::parse(R"({"id":"x","title":"T","duration":[0,3500000000000000000]})"));
    EXPECT_EQ(shortOne->duration(), Duration::milliseconds(3500));
}

TEST(QueueItem, JsonErrors) {
    using Kind = DecodingError::Kind;
    struct Case { const char* json; Kind kind; const char* path; };
    const Case cases[] = {
        // A missing or null member is named in the description, not in the path.
        {R"({"title": "T"})", Kind::keyNotFound, ""},
        {R"({"id": "x"})", Kind::keyNotFound, ""},
        {R"({"id": null, "title": "T"})", Kind::valueNotFound, ""},
        {R"({"id": 5, "title": "T"})", Kind::typeMismatch, "id"},
        {R"({"id": "x", "title": "T", "artist": 1})", Kind::typeMismatch, "artist"},
        {R"({"id": "x", "title": "T", "queueNumber": 1.5})", Kind::dataCorrupted, "queueNumber"},
        {R"({"id": "x", "title": "T", "queueNumber": "4"})", Kind::typeMismatch, "queueNumber"},
        {R"({"id": "x", "title": "T", "queueNumber": 9223372036854775808})", Kind::dataCorrupted, "queueNumber"},
        {R"({"id": "x", "title": "T", "duration": 200})", Kind::typeMismatch, "duration"},
        {R"({"id": "x", "title": "T", "duration": [0]})", Kind::dataCorrupted, "duration"},
        {R"({"id": "x", "title": "T", "duration": [0, -1]})", Kind::dataCorrupted, "duration"},
        {R"({"id": "x", "title": "T", "artworkURL": ""})", Kind::dataCorrupted, "artworkURL"},
        {R"({"id": "x", "title": "T", "artworkURL": "http://a b/"})", Kind::dataCorrupted, "artworkURL"},
        {R"({"id": "x", "title": "T", "artworkURL": 3})", Kind::typeMismatch, "artworkURL"},
        {R"({"id": "x", "title": "T", "spotifyURI": {"kind": "episode", "id": "abc"}})", Kind::dataCorrupted,
         "spotifyURI/kind"},
        {R"({"id": "x", "title": "T", "spotifyURI": "spotify:track:4uLU6hMCjMI75M1A2tKUQC"})", Kind::typeMismatch,
         "spotifyURI"},
        {R"([])", Kind::typeMismatch, ""},
    };
    for (const auto& c : cases) {
        auto decoded = QueueItem::fromJson(*json::parse(c.json));
        ASSERT_FALSE(decoded) << c.json;
        EXPECT_EQ(decoded.error().kind, c.kind) << c.json;
        EXPECT_EQ(decoded.error().path, c.path) << c.json;
    }
    EXPECT_EQ(QueueItem::fromJson(*json::parse(R"({"title": "T"})")).error().description,
              "No value associated with key \"id\".");
    EXPECT_EQ(QueueItem::fromJson(*json::parse(R"({"id":"x","title":"T","artworkURL":""})")).error().description,
              "Invalid URL string.");
}
