#include <gtest/gtest.h>

#include "OrvelDomain/SpotifyTrackContext.h"
#include "OrvelDomain/SpotifyURI.h"

using namespace orvel;

namespace {
const std::string id22 = "4uLU6hMCjMI75M1A2tKUQC";
}  // namespace

TEST(SpotifyURI, UriForm) {
    using Kind = SpotifyURI::Kind;
    struct Case { std::string text; std::optional<Kind> kind; };  // no kind: not a reference
    const Case cases[] = {
        {"spotify:track:" + id22, Kind::track},
        {"spotify:album:" + id22, Kind::album},
        {"spotify:playlist:" + id22, Kind::playlist},
        {"Spotify:track:" + id22, std::nullopt},
        {"spotify:Track:" + id22, std::nullopt},
        {"spotify:episode:" + id22, std::nullopt},
        {"spotify:artist:" + id22, std::nullopt},
        {"spotify:user:me:playlist:" + id22, std::nullopt},
        {"spotify:track:" + id22 + ":extra", std::nullopt},
        {"spotify::track:" + id22, std::nullopt},
        {"spotify:track:", std::nullopt},
        {"spotify:track:" + std::string(14, 'a'), std::nullopt},
        {"spotify:track:" + std::string(15, 'a'), Kind::track},
        {"spotify:track:" + std::string(30, 'Z'), Kind::track},
        {"spotify:track:" + std::string(31, '9'), std::nullopt},
        {"spotify:track:4uLU6hMCjMI75M1A2t-KUQC", std::nullopt},
        {"spotify:track:4uLU6hMCjMI75M1A2t_KUQC", std::nullopt},
        {"spotify:track:4uLU6hMCjMI75M1A2t\u00E9KUQC", std::nullopt},
        {" spotify:track:" + id22, std::nullopt},
        {"spotify:track:" + id22 + " ", std::nullopt},
        {"spotify:track:" + id22 + "?si=abc", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        auto uri = SpotifyURI::make(c.text);
        ASSERT_EQ(uri.has_value(), c.kind.has_value()) << c.text;
        if (!uri) continue;
        EXPECT_EQ(uri->kind(), *c.kind) << c.text;
        EXPECT_EQ(uri->description(), c.text);
    }
}

TEST(SpotifyURI, ShareLinks) {
    const std::string prefix = "https://open.spotify.com/";
    struct Case { std::string text; std::optional<std::string> description; };
    const Case cases[] = {
        {prefix + "track/" + id22, "spotify:track:" + id22},
        {prefix + "playlist/" + id22 + "?si=a1b2&utm=x#frag", "spotify:playlist:" + id22},
        {prefix + "album/" + id22 + "#frag?notquery", "spotify:album:" + id22},
        {prefix + "playlist/" + id22 + "/", "spotify:playlist:" + id22},
        {prefix + "playlist/" + id22 + "/?si=x", "spotify:playlist:" + id22},
        {prefix + "playlist/" + id22 + "//", std::nullopt},
        {prefix + "intl-de/track/" + id22, std::nullopt},
        {prefix + "embed/track/" + id22, std::nullopt},
        {"http://open.spotify.com/track/" + id22, std::nullopt},
        {"https://OPEN.SPOTIFY.COM/track/" + id22, std::nullopt},
        {"https://open.spotify.com.evil.example/track/" + id22, std::nullopt},
        {"https://play.spotify.com/track/" + id22, std::nullopt},
        {"open.spotify.com/track/" + id22, std::nullopt},
        {prefix + "Track/" + id22, std::nullopt},
        {prefix + "episode/" + id22, std::nullopt},
        {prefix + "artist/" + id22, std::nullopt},
        {prefix + "track/", std::nullopt},
        {prefix + "track/?si=x", std::nullopt},
        {prefix + "track", std::nullopt},
        {prefix, std::nullopt},
        {prefix + "track/4uLU6hMCjMI75M1A2t%41KUQC", std::nullopt},
        {prefix + "track/" + std::string(31, 'a'), std::nullopt},
        {"?" + prefix + "track/" + id22, std::nullopt},
    };
    for (const auto& c : cases) {
        auto uri = SpotifyURI::make(c.text);
        EXPECT_EQ(uri ? std::optional(uri->description()) : std::nullopt, c.description) << c.text;
    }
    // Ids are case-sensitive.
    EXPECT_NE(SpotifyURI::make("spotify:track:abcdefghijklmnop"), SpotifyURI::make("spotify:track:ABCDEFGHIJKLMNOP"));
}
