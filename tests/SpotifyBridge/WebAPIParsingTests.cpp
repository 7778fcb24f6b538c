#include <gtest/gtest.h>

#include "SpotifyBridge/WebAPI.h"

using namespace orvel;

namespace {

const std::string trackID = "4uLU6hMCjMI75M1A2tKUQC";
const std::string trackURI = "spotify:track:" + trackID;

std::string item(const std::string& members) { return R"({"progress_ms":1500,"item":{)" + members + "}}"; }

std::string track(const std::string& extra = "") {
    return R"("type":"track","uri":")" + trackURI + R"(","name":"Song")" + extra;
}

std::string queue(const std::vector<std::string>& entries) {
    std::string out = R"({"currently_playing":null,"queue":[)";
    for (std::size_t i = 0; i < entries.size(); ++i) out += (i ? "," : "") + entries[i];
    return out + "]}";
}

std::string queueTrack(int n, const std::string& name = "") {
    std::string id = "0000000000000000000" + std::to_string(100 + n);  // 22 characters
    return R"({"name":")" + (name.empty() ? "Track " + std::to_string(n) : name) + R"(","uri":"spotify:track:)" + id + R"("})";
}

}  // namespace

TEST(ParseCurrentlyPlaying, NothingPlayingAndUnreadableReplies) {
    using Result = WebAPI::Result<std::optional<SpotifyTrackContext>>;
    const Result none = std::optional<SpotifyTrackContext>{};
    auto unplayable = [](std::string detail) { return Result(std::unexpected(SpotifyBridgeError::unplayableOnSonos(detail))); };
    const Result unreadable = std::unexpected(SpotifyBridgeError::network("currently-playing"));
    struct Case {
        const char* name;
        std::string body;
        Result expected;
    };
    const Case cases[] = {
        {"empty object", "{}", none},
        {"null item", R"({"item":null})", none},
        {"item not an object", R"({"item":"x"})", none},
        {"empty item", R"({"item":{}})", unplayable("")},
        {"episode", item(R"("type":"episode","uri":"spotify:episode:abc")"), unplayable("spotify:episode:abc")},
        {"episode without uri", item(R"("type":"episode")"), unplayable("episode")},
        {"local file flag", item(track(R"(,"is_local":true)")), unplayable(trackURI)},
        {"local file uri", item(R"("type":"track","uri":"spotify:local:a:b:c:1")"), unplayable("spotify:local:a:b:c:1")},
        {"type has the wrong case", item(R"("type":"Track","uri":")" + trackURI + "\""), unplayable(trackURI)},
        {"id of 10 characters", item(R"("type":"track","uri":"spotify:track:0123456789")"),
         unplayable("spotify:track:0123456789")},
        {"not JSON", "<html>", unreadable},
        {"array", "[]", unreadable},
    };
    for (const auto& c : cases) EXPECT_EQ(WebAPI::parseCurrentlyPlaying(c.body), c.expected) << c.name;
}

TEST(ParseCurrentlyPlaying, ReadsTheTrackAndItsSurroundings) {
    const std::string body = R"({
        "progress_ms": 61000, "is_playing": true,
        "context": {"uri": "spotify:playlist:37i9dQZF1DXcBWIGoYBM5M", "type": "playlist"},
        "device": {"name": "Kitchen Laptop"},
        "item": {"type": "track", "uri": ")" + trackURI + R"(", "name": "Song", "duration_ms": 215000,
                 "artists": [{"name": "A"}, {"id": "nameless"}, "junk", {"name": "B"}],
                 "album": {"name": "Album", "images": [{"height": 640}, {"url": "https://i.scdn.co/image/1"},
                                                       {"url": "https://i.scdn.co/image/2"}]}}})";
    auto parsed = WebAPI::parseCurrentlyPlaying(body);
    ASSERT_TRUE(parsed && *parsed);
    const SpotifyTrackContext& context = **parsed;
    EXPECT_EQ(context.uri.description(), trackURI);
    EXPECT_EQ(context.metadata, (SpotifyTrackMetadata{"Song", "A, B", "Album", "https://i.scdn.co/image/1",
                                                      Duration::seconds(std::int64_t{215})}));
    EXPECT_EQ(context.position, Duration::seconds(std::int64_t{61}));
    EXPECT_EQ(context.contextURI, "spotify:playlist:37i9dQZF1DXcBWIGoYBM5M");
    EXPECT_EQ(context.deviceName, "Kitchen Laptop");
    EXPECT_EQ(context.contextTitle, std::nullopt);
    EXPECT_TRUE(context.upNext.empty());
}

TEST(ParseCurrentlyPlaying, MistypedOrOddMembersCountAsAbsent) {
    struct Case {
        const char* name;
        std::string body;
        std::function<void(const SpotifyTrackContext&)> check;
    };
    const Case cases[] = {
        {"bare track", item(track()),
         [](const auto& c) {
             EXPECT_EQ(c.metadata, (SpotifyTrackMetadata{"Song", "", std::nullopt, std::nullopt, std::nullopt}));
             EXPECT_EQ(c.position, Duration::milliseconds(1500));
             EXPECT_FALSE(c.contextURI);
             EXPECT_FALSE(c.deviceName);
         }},
        {"progress as text", R"({"progress_ms":"1500","item":{)" + track() + "}}",
         [](const auto& c) { EXPECT_FALSE(c.position); }},
        {"name not text", item(R"("type":"track","uri":")" + trackURI + R"(","name":7)"),
         [](const auto& c) { EXPECT_EQ(c.metadata.title, ""); }},
        {"album without images", item(track(R"(,"album":{"name":"LP","images":[]})")),
         [](const auto& c) {
             EXPECT_EQ(c.metadata.album, "LP");
             EXPECT_FALSE(c.metadata.artworkURL);
         }},
        {"first image url unusable", item(track(R"(,"album":{"images":[{"url":"not a url"},{"url":"https://x/y"}]})")),
         [](const auto& c) { EXPECT_FALSE(c.metadata.artworkURL); }},
        {"album not an object", item(track(R"(,"album":"LP")")), [](const auto& c) { EXPECT_FALSE(c.metadata.album); }},
        {"artists not an array", item(track(R"(,"artists":{"name":"A"})")),
         [](const auto& c) { EXPECT_EQ(c.metadata.artist, ""); }},
        {"context without uri, device name not text",
         R"({"context":{"type":"album"},"device":{"name":null},"item":{)" + track() + "}}",
         [](const auto& c) {
             EXPECT_FALSE(c.contextURI);
             EXPECT_FALSE(c.deviceName);
         }},
        {"context not an object", R"({"context":"spotify:album:x","item":{)" + track() + "}}",
         [](const auto& c) { EXPECT_FALSE(c.contextURI); }},
        {"share-link uri", item(R"("type":"track","uri":"https://open.spotify.com/track/)" + trackID + "\""),
         [](const auto& c) { EXPECT_EQ(c.uri.description(), trackURI); }},
        {"album name cut inside a surrogate pair", item(track(R"(,"album":{"name":"Best \ud83d"},"duration_ms":9)")),
         [](const auto& c) {
             EXPECT_EQ(c.metadata.album, "Best \uFFFD");
             EXPECT_EQ(c.metadata.duration, Duration::milliseconds(9));
         }},
        {"duration beyond a double", item(track(R"(,"album":{"name":"LP"},"duration_ms":1e400)")),
         [](const auto& c) {
             EXPECT_EQ(c.metadata.album, "LP");
             EXPECT_FALSE(c.metadata.duration);
         }},
    };
    for (const auto& c : cases) {
        auto parsed = WebAPI::parseCurrentlyPlaying(c.body);
        ASSERT_TRUE(parsed && *parsed) << c.name;
        SCOPED_TRACE(c.name);
        c.check(**parsed);
    }
}

TEST(ParseQueueData, TakesAtMostTwentyEntriesAndNumbersThemByPosition) {
    std::vector<std::string> entries;
    for (int n = 1; n <= 25; ++n) entries.push_back(queueTrack(n));
    const auto items = WebAPI::parseQueueData(queue(entries));
    ASSERT_EQ(items.size(), 20u);
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].id(), std::to_string(i + 1) + ":spotify:track:0000000000000000000" + std::to_string(101 + i));
        EXPECT_EQ(items[i].queueNumber(), std::nullopt);
    }
}

TEST(ParseQueueData, SkipsBlankAndRepeatedEntriesWithoutRenumbering) {
    struct Case {
        const char* name;
        std::vector<std::string> entries;
        std::vector<std::string> ids;
    };
    const Case cases[] = {
        {"repeat of the first track", {queueTrack(1), queueTrack(1, "Same again"), queueTrack(3)},
         {"1:spotify:track:0000000000000000000101", "3:spotify:track:0000000000000000000103"}},
        {"blank name", {queueTrack(1), R"({"name":"   ","uri":"spotify:track:0000000000000000000999"})", queueTrack(3)},
         {"1:spotify:track:0000000000000000000101", "3:spotify:track:0000000000000000000103"}},
        {"missing or mistyped name", {R"({"uri":"spotify:track:0000000000000000000999"})", R"({"name":5})", queueTrack(3)},
         {"3:spotify:track:0000000000000000000103"}},
        {"no parseable uri: name and artists",
         {R"({"name":"  Intro \n","uri":"spotify:episode:1","artists":[{"name":"A"},{"name":"B"}]})",
          R"({"name":"Intro","artists":[{"name":"A"},{"name":"B"}]})", R"({"name":"Intro"})"},
         {"1:Intro|A, B", "3:Intro|"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> ids;
        for (const auto& item : WebAPI::parseQueueData(queue(c.entries))) ids.push_back(item.id());
        EXPECT_EQ(ids, c.ids) << c.name;
    }

    // Entries skipped among the first twenty are not replaced by later ones.
    std::vector<std::string> entries(20, R"({"name":" "})");
    entries.push_back(queueTrack(21));
    EXPECT_TRUE(WebAPI::parseQueueData(queue(entries)).empty());
}

TEST(ParseQueueData, ReadsEachEntry) {
    const auto items = WebAPI::parseQueueData(queue({
        R"({"name":" Song ","uri":"spotify:track:0000000000000000000101","duration_ms":200000,
            "artists":[{"name":"A"},{"name":"B"}],
            "album":{"name":"LP","images":[{"url":"https://i.scdn.co/image/9"}]}})",
        R"({"name":"Bare","artists":[],"album":{"images":[{"width":1}]},"duration_ms":"200000"})",
    }));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0], QueueItem("1:spotify:track:0000000000000000000101", "Song", "A, B", "LP",
                                  "https://i.scdn.co/image/9", Duration::seconds(std::int64_t{200}), std::nullopt,
                                  SpotifyURI::make("spotify:track:0000000000000000000101")));
    EXPECT_EQ(items[1], QueueItem("2:Bare|", "Bare", std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                  std::nullopt, std::nullopt));
}

// An entry with a value the parser refuses (a name cut inside a surrogate pair, a number beyond
// a double) reads with that value mended, and every other entry reads as well.
TEST(ParseQueueData, AnOddValueCostsOnlyItself) {
    struct Case {
        const char* name;
        std::string odd;
        QueueItem read;
    };
    const Case cases[] = {
        {"lone surrogate in a name", R"({"name":"Cut \ud83d","uri":"spotify:track:0000000000000000000102"})",
         QueueItem("2:spotify:track:0000000000000000000102", "Cut \uFFFD", std::nullopt, std::nullopt, std::nullopt,
                   std::nullopt, std::nullopt, SpotifyURI::make("spotify:track:0000000000000000000102"))},
        {"duration beyond a double",
         R"({"name":"Long","uri":"spotify:track:0000000000000000000102","duration_ms":1e400})",
         QueueItem("2:spotify:track:0000000000000000000102", "Long", std::nullopt, std::nullopt, std::nullopt,
                   std::nullopt, std::nullopt, SpotifyURI::make("spotify:track:0000000000000000000102"))},
    };
    for (const auto& c : cases) {
        const auto items = WebAPI::parseQueueData(queue({queueTrack(1), c.odd, queueTrack(3)}));
        ASSERT_EQ(items.size(), 3u) << c.name;
        EXPECT_EQ(items[0].id(), "1:spotify:track:0000000000000000000101") << c.name;
        EXPECT_EQ(items[1], c.read) << c.name;
        EXPECT_EQ(items[2].id(), "3:spotify:track:0000000000000000000103") << c.name;
    }
}

TEST(ParseQueueData, UnreadableRepliesGiveAnEmptyList) {
    for (const char* body : {"", "null", "[]", "{}", R"({"queue":{}})", R"({"queue":"x"})",
                             R"({"queue":[{"name":"A"},"junk"]})", "{\"queue\":[{\"name\":\"A\"}"}) {
        EXPECT_TRUE(WebAPI::parseQueueData(body).empty()) << body;
    }
}

TEST(ParseProfileName, PrefersTheTrimmedDisplayNameThenTheId) {
    using Result = WebAPI::Result<std::string>;
    struct Case {
        int status;
        std::string body;
        Result expected;
    };
    const Case cases[] = {
        {200, R"({"display_name":"  Alice \n","id":"alice1"})", "Alice"},
        {200, R"({"display_name":null,"id":" alice1 "})", " alice1 "},
        {200, R"({"display_name":"   ","id":""})", ""},
        {200, R"({"display_name":5})", "Spotify"},
        {200, "{}", "Spotify"},
        {200, "[]", std::unexpected(SpotifyBridgeError::network("profile HTTP 200"))},
        {200, "oops", std::unexpected(SpotifyBridgeError::network("profile HTTP 200"))},
        {401, R"({"display_name":"Alice"})", std::unexpected(SpotifyBridgeError::network("profile HTTP 401"))},
    };
    for (const auto& c : cases) EXPECT_EQ(WebAPI::parseProfileName(c.status, c.body), c.expected) << c.body;
}
