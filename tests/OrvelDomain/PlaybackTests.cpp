#include <gtest/gtest.h>

#include "TopologyFixtures.h"
#include "OrvelDomain/NowPlaying.h"
#include "OrvelDomain/NowPlayingTrack.h"
#include "OrvelDomain/PlaybackSource.h"
#include "OrvelDomain/PlaybackState.h"

using namespace orvel;
using orvel::testing::kInf;
using orvel::testing::kNaN;

namespace {

const SpotifyURI trackA = *SpotifyURI::make("spotify:track:4uLU6hMCjMI75M1A2tKUQC");
const SpotifyURI trackB = *SpotifyURI::make("spotify:track:7GhIk7Il098yCjg4BQjzvb");

NowPlayingTrack makeTrack(std::string title, std::optional<std::string> artist = std::nullopt,
                          std::optional<SpotifyURI> uri = std::nullopt,
                          std::optional<std::int64_t> queuePosition = std::nullopt,
                          std::optional<Duration> duration = std::nullopt,
                          std::optional<PlaybackSource> source = std::nullopt,
                          std::optional<bool> canSkip = std::nullopt) {
    return NowPlayingTrack(std::move(title), std::move(artist), std::nullopt, std::nullopt, duration,
                           queuePosition, std::move(uri), std::move(source), {}, canSkip);
}

const Date T = Date::sinceReferenceDate(700'000'000.0);
const NowPlaying song = NowPlaying::track(makeTrack("Song", "Band", std::nullopt, 3, Duration::seconds(std::int64_t{200})));
const NowPlaying otherSong = NowPlaying::track(makeTrack("Other", "Band", std::nullopt, 4));

PlaybackState playingAt(double elapsedSeconds, double sampledAfterT, const NowPlaying& item = song) {
    return PlaybackState::playing(item, Duration::seconds(elapsedSeconds), T.addingSeconds(sampledAfterT));
}
PlaybackState pausedAt(double elapsedSeconds, const NowPlaying& item = song) {
    return PlaybackState::paused(item, Duration::seconds(elapsedSeconds));
}

}  // namespace

TEST(PlaybackState, SemanticEquivalenceToleratesThreeSecondsForwardOnly) {
    struct Case { const char* name; PlaybackState receiver, argument; bool equivalent; };
    const Case cases[] = {
        {"one second apart after carrying forward", playingAt(10, 0), playingAt(14, 3), true},
        {"exactly three seconds", playingAt(10, 0), playingAt(16, 3), true},
        {"three and a half seconds", playingAt(10, 0), playingAt(16.5, 3), false},
        {"receiver sampled later is not carried back", playingAt(14, 3), playingAt(10, 0), false},
        {"receiver sampled later, close positions", playingAt(12, 3), playingAt(10, 0), true},
        {"same instant, positions 3 s apart either way", playingAt(13, 0), playingAt(10, 0), true},
        {"same position, argument 3.5 s later", playingAt(10, 0), playingAt(10, 3.5), false},
        {"different item", playingAt(10, 0), playingAt(10, 0, otherSong), false},
        {"sample instant not a number", playingAt(10, 0), playingAt(10, kNaN), false},
        {"paused, a millisecond apart", pausedAt(10), pausedAt(10.001), false},
        {"paused, same position", pausedAt(10), pausedAt(10), true},
        {"paused, different item", pausedAt(10), pausedAt(10, otherSong), false},
        {"stopped twice", PlaybackState::stopped(), PlaybackState::stopped(), true},
        {"paused against playing", pausedAt(10), playingAt(10, 0), false},
        {"playing against paused", playingAt(10, 0), pausedAt(10), false},
        {"playing against stopped", playingAt(10, 0), PlaybackState::stopped(), false},
        {"stopped against paused", PlaybackState::stopped(), pausedAt(0), false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.receiver.isSemanticallyEquivalent(c.argument), c.equivalent) << c.name;
}

TEST(PlaybackState, ElapsedRunsOnFromItsSampleAndStopsAtTheDuration) {
    const auto stream = NowPlaying::stream("Radio One");
    struct Case { const char* name; PlaybackState state; double atAfterT; std::optional<Duration> elapsed; };
    const Case cases[] = {
        {"runs on", playingAt(190, 0), 5, Duration::seconds(std::int64_t{195})},
        {"stops at the duration", playingAt(190, 0), 30, Duration::seconds(std::int64_t{200})},
        {"never runs backwards", playingAt(190, 0), -5, Duration::seconds(std::int64_t{190})},
        {"a stream has no end", playingAt(190, 0, stream), 30, Duration::seconds(std::int64_t{220})},
        {"instant not a number", playingAt(190, 0), kNaN, Duration::seconds(std::int64_t{190})},
        {"infinitely late", playingAt(190, 0), kInf, Duration::seconds(std::int64_t{200})},
        {"paused ignores the instant", pausedAt(10), 1000, Duration::seconds(std::int64_t{10})},
        {"paused past the duration stays", pausedAt(250), 0, Duration::seconds(std::int64_t{250})},
        {"stopped", PlaybackState::stopped(), 0, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(c.state.elapsed(T.addingSeconds(c.atAfterT)), c.elapsed) << c.name;

    // A position near the top of the range must saturate, not wrap around to a negative one.
    auto far = PlaybackState::playing(stream, Duration::seconds(1e300), T);
    EXPECT_GT(*far.elapsed(T.addingSeconds(kInf)), Duration());
}

TEST(NowPlayingTrack, ConstructorDerivesSourceAndCanSkip) {
    struct Case {
        const char* name;
        std::optional<std::int64_t> queuePosition;
        std::optional<SpotifyURI> uri;
        std::optional<PlaybackSource> source;
        std::optional<bool> canSkip;
        std::optional<PlaybackSource> expectedSource;
        bool expectedCanSkip;
    };
    const Case cases[] = {
        {"queue position only", 4, std::nullopt, std::nullopt, std::nullopt, PlaybackSource::sonosQueue(), true},
        {"Spotify URI wins over queue position", 4, trackA, std::nullopt, std::nullopt, PlaybackSource::spotify(), true},
        {"neither", std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false},
        {"given source kept", 4, trackA, PlaybackSource::radio(), std::nullopt, PlaybackSource::radio(), true},
        {"given canSkip kept", 4, std::nullopt, std::nullopt, false, PlaybackSource::sonosQueue(), false},
        {"given canSkip kept without anything", std::nullopt, std::nullopt, std::nullopt, true, std::nullopt, true},
    };
    for (const auto& c : cases) {
        auto t = makeTrack("T", std::nullopt, c.uri, c.queuePosition, std::nullopt, c.source, c.canSkip);
        EXPECT_EQ(t.source(), c.expectedSource) << c.name;
        EXPECT_EQ(t.canSkip(), c.expectedCanSkip) << c.name;
    }
}

TEST(NowPlayingTrack, MergingReplacesOnlyGivenFields) {
    const QueueItem next(std::nullopt, "Next", std::nullopt, std::nullopt, std::nullopt, std::nullopt, 5, std::nullopt);
    auto base = NowPlayingTrack("Song", "Band", "Album", "http://127.0.0.1/a.jpg", Duration::seconds(std::int64_t{200}),
                                3, std::nullopt, std::nullopt, {next}, false);
    EXPECT_EQ(base.merging(std::nullopt, std::nullopt, std::nullopt, std::nullopt), base);

    EXPECT_EQ(base.merging("http://127.0.0.1/b.jpg", PlaybackSource::spotify("Mix"), std::vector<QueueItem>{}, true),
              NowPlayingTrack("Song", "Band", "Album", "http://127.0.0.1/b.jpg", Duration::seconds(std::int64_t{200}), 3,
                              std::nullopt, PlaybackSource::spotify("Mix"), {}, true));

    // canSkip comes from the receiver, never derived again, even when the fields would say otherwise.
    EXPECT_FALSE(base.merging(std::nullopt, PlaybackSource::radio(), std::nullopt, std::nullopt).canSkip());

    // A source absent on both sides stays absent for a track without queue position or URI.
    auto bare = makeTrack("Bare");
    EXPECT_EQ(bare.merging("http://127.0.0.1/c.jpg", std::nullopt, std::nullopt, std::nullopt).source(), std::nullopt);
}

TEST(NowPlayingTrack, MatchesIdentity) {
    struct Case { const char* name; NowPlayingTrack receiver, other; bool matches; };
    const Case cases[] = {
        {"same URI, different titles", makeTrack("A", "X", trackA), makeTrack("B", "Y", trackA), true},
        {"different URIs, same titles", makeTrack("A", "X", trackA), makeTrack("A", "X", trackB), false},
        {"URI on one side only falls back to titles", makeTrack("A", "X", trackA), makeTrack("a", "x"), true},
        {"case and blanks in the title", makeTrack("  Song\n", "Band"), makeTrack("SONG", "band"), true},
        {"one artist missing", makeTrack("Song", "Band"), makeTrack("song"), true},
        {"one artist blank", makeTrack("Song", " "), makeTrack("song", "Other"), true},
        {"different artists", makeTrack("Song", "Band"), makeTrack("Song", "Other"), false},
        {"different titles", makeTrack("Song", "Band"), makeTrack("Songs", "Band"), false},
        {"blank receiver title", makeTrack(" \t"), makeTrack(" \t"), false},
        {"non-ASCII case", makeTrack("Über"), makeTrack("über"), true},
    };
    for (const auto& c : cases) EXPECT_EQ(c.receiver.matchesIdentity(c.other), c.matches) << c.name;
}

TEST(NowPlaying, MatchesSession) {
    auto spotify = [](const char* title, const SpotifyURI& uri) { return NowPlaying::track(makeTrack(title, "X", uri)); };
    auto spotifyBySource = NowPlaying::track(makeTrack("Z", std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                                       PlaybackSource::spotify("Mix")));
    struct Case { const char* name; NowPlaying a, b; bool same; };
    const Case cases[] = {
        {"two TV inputs", NowPlaying::tvAudio(), NowPlaying::tvAudio(), false},
        {"streams differing in case and blanks", NowPlaying::stream(" Radio One "), NowPlaying::stream("radio one\n"), true},
        {"streams without titles", NowPlaying::stream(std::nullopt), NowPlaying::stream(std::nullopt), false},
        {"one stream without title", NowPlaying::stream("R"), NowPlaying::stream(std::nullopt), false},
        {"blank stream titles", NowPlaying::stream(" "), NowPlaying::stream(" "), false},
        {"different stream titles", NowPlaying::stream("R1"), NowPlaying::stream("R2"), false},
        {"two Spotify tracks of different songs", spotify("A", trackA), spotify("B", trackB), true},
        {"Spotify by source only", spotify("A", trackA), spotifyBySource, true},
        {"Spotify and queue track, different titles", spotify("A", trackA), otherSong, false},
        {"same queue track", song, NowPlaying::track(makeTrack("song", "BAND")), true},
        {"track and stream", song, NowPlaying::stream("Song"), false},
        {"stream and TV", NowPlaying::stream("TV"), NowPlaying::tvAudio(), false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.a.matchesSession(c.b), c.same) << c.name;
}

TEST(NowPlaying, SpotifyOrStreaming) {
    EXPECT_TRUE(NowPlaying::stream(std::nullopt).isSpotifyOrStreaming());
    EXPECT_FALSE(NowPlaying::tvAudio().isSpotifyOrStreaming());
    EXPECT_FALSE(song.isSpotifyOrStreaming());
    EXPECT_TRUE(NowPlaying::track(makeTrack("A", std::nullopt, trackA)).isSpotifyOrStreaming());
    auto bySource = makeTrack("A", std::nullopt, std::nullopt, 2, std::nullopt, PlaybackSource::spotify());
    EXPECT_TRUE(NowPlaying::track(bySource).isSpotifyOrStreaming());
}

// A Spotify context title is trimmed, and a blank one or one that only names Spotify is left out.
TEST(PlaybackSource, ContextTitleIsTrimmedOrLeftOut) {
    struct Case { PlaybackSource source; PlaybackSource sameAs; };
    const Case cases[] = {
        {PlaybackSource::spotify("\tDaily Mix\n"), PlaybackSource::spotify("Daily Mix")},
        {PlaybackSource::spotify("  SPOTIFY  "), PlaybackSource::spotify()},
        {PlaybackSource::spotify(" \u00A0"), PlaybackSource::spotify()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.source.label(), c.sameAs.label());
        EXPECT_EQ(c.source.shortBadge(), c.sameAs.shortBadge());
    }
    EXPECT_NE(PlaybackSource::spotify("Daily Mix").label(), PlaybackSource::spotify().label());
}
