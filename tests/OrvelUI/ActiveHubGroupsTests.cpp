#include <gtest/gtest.h>

#include "OrvelUI/playback/ActiveHubGroups.h"
#include "PlaybackFixtures.h"

using namespace orvel;
using namespace orvel::testing;

TEST(PlaybackStreamKey, NormalisesWhatPlays) {
    struct Case {
        const char* name;
        std::optional<NowPlaying> (*nowPlaying)();
        std::optional<std::string> key;
    };
    const Case cases[] = {
        {"nothing", [] { return std::optional<NowPlaying>(); }, std::nullopt},
        {"tv audio", [] { return std::optional(NowPlaying::tvAudio()); }, std::nullopt},
        {"stream title", [] { return std::optional(radio("  Radio ÉTÉ \n")); }, "stream:radio été"},
        {"untitled stream", [] { return std::optional(radio(std::nullopt)); }, "stream:"},
        {"spotify reference",
         [] { return std::optional(NowPlaying::track(track("Song", "A", "spotify:track:AbCdEfGhIjKlMnOpQ"))); },
         "uri:spotify:track:abcdefghijklmnopq"},
        {"title and artist", [] { return std::optional(NowPlaying::track(track(" Song ", " ARTIST "))); },
         "track:song|artist"},
        {"no artist keeps the bar", [] { return std::optional(NowPlaying::track(track("Song"))); }, "track:song|"},
        {"blank spotify title",
         [] {
             return std::optional(
                 NowPlaying::track(track(" ", std::nullopt, std::nullopt, PlaybackSource::spotify("Mix"))));
         },
         "spotify:context"},
        {"blank queue title",
         [] { return std::optional(NowPlaying::track(track(" ", "A", std::nullopt, PlaybackSource::sonosQueue()))); },
         std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<NowPlaying> nowPlaying = c.nowPlaying();
        EXPECT_EQ(playbackStreamKey(nowPlaying ? &*nowPlaying : nullptr), c.key) << c.name;
    }
}

TEST(SuppressedPausedDuplicate, OnlyAPausedCopyOfWhatAnotherGroupPlays) {
    struct Case {
        const char* name;
        SonosGroup group;
        std::vector<SonosGroup> others;
        bool suppressed;
    };
    const Case cases[] = {
        {"playing is never suppressed", single(1, playing(radio("A"))), {single(2, playing(radio("A")))}, false},
        {"nothing else plays", single(1, paused(radio("A"))), {single(2, paused(radio("A")))}, false},
        {"same stream elsewhere", single(1, paused(radio("A"))), {single(2, playing(radio(" a")))}, true},
        {"other stream elsewhere", single(1, paused(radio("A"))), {single(2, playing(radio("B")))}, false},
        {"any spotify track elsewhere", single(1, paused(spotifyTrack("x"))), {pair(2, playing(spotifyTrack("y")))},
         true},
        {"plain tracks differ", single(1, paused(plainTrack("x"))), {single(2, playing(plainTrack("y")))}, false},
    };
    for (const Case& c : cases) {
        std::vector<SonosGroup> all = c.others;
        all.insert(all.begin(), c.group);
        EXPECT_EQ(isSuppressedPausedDuplicate(c.group, all), c.suppressed) << c.name;
    }
}

TEST(DeduplicatedActiveHubGroups, KeepsOneSourcePerStreamInInputOrder) {
    struct Case {
        const char* name;
        std::vector<SonosGroup> groups;
        std::vector<GroupID> expected;
    };
    const Case cases[] = {
        {"empty", {}, {}},
        {"stopped single out, stopped multi-room in",
         {single(1, PlaybackState::stopped()), pair(2, PlaybackState::stopped())},
         {gid(2)}},
        {"same spotify track: the smaller id survives at its place",
         {single(3, playing(spotifyTrack("t"))), single(2, playing(spotifyTrack("t")))},
         {gid(2)}},
        {"multi-room ranked first drops the single room",
         {single(1, playing(radio("A"))), pair(2, playing(radio("A")))},
         {gid(2)}},
        {"single room ranked first: a repeated key keeps the multi-room group",
         {single(1, playing(radio("A"))), pair(2, paused(radio("A")))},
         {gid(1), gid(2)}},
        {"paused copy dropped already as a candidate",
         {single(1, paused(radio("A"))), single(2, playing(radio("A")))},
         {gid(2)}},
        {"untitled streams share one key", {single(1, playing(radio(""))), single(2, playing(radio(std::nullopt)))},
         {gid(1)}},
        {"tv audio has no key", {single(1, playing(NowPlaying::tvAudio())), single(2, paused(NowPlaying::tvAudio()))},
         {gid(1), gid(2)}},
        {"second paused spotify single dropped",
         {single(2, paused(spotifyTrack("b"))), single(1, paused(spotifyTrack("a")))},
         {gid(1)}},
        {"playing spotify tracks all stay",
         {single(1, playing(spotifyTrack("a"))), single(2, playing(spotifyTrack("b")))},
         {gid(1), gid(2)}},
        {"ranking never reorders the output",
         {single(3, paused(radio("C"))), pair(2, PlaybackState::stopped()), single(1, playing(radio("B")))},
         {gid(3), gid(2), gid(1)}},
    };
    for (const Case& c : cases) EXPECT_EQ(idsOf(deduplicatedActiveHubGroups(c.groups)), c.expected) << c.name;
}
