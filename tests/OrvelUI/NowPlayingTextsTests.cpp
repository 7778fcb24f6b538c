// The dock's and the pill's words for every kind of playback: one table row per case.
#include <gtest/gtest.h>

#include "OrvelUI/playback/NowPlayingTexts.h"
#include "PlaybackFixtures.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

SonosGroup kitchen(PlaybackState playback) { return group({speaker(1, "Kitchen")}, std::move(playback)); }
SonosGroup threeRooms(PlaybackState playback) {
    return group({speaker(1, "Kitchen"), speaker(2, "Den"), speaker(3, "Hall")}, std::move(playback));
}
NowPlaying sourced(std::string title, std::optional<std::string> artist, PlaybackSource source) {
    return NowPlaying::track(track(std::move(title), std::move(artist), std::nullopt, std::move(source)));
}

struct TextCase {
    const char* name;
    SonosGroup group;
    std::string title;
    std::string subtitle;
    std::string pillSubtitle;
    std::optional<std::string> sourceLine;
};

}  // namespace

TEST(NowPlayingTexts, TitleSubtitleAndSourceLineFollowWhatPlays) {
    const TextCase cases[] = {
        {"stopped one room", kitchen(PlaybackState::stopped()), "Kitchen", "Sonos One \u00B7 Ready to play",
         "Sonos One \u00B7 Ready to play", std::nullopt},
        {"stopped three rooms", threeRooms(PlaybackState::stopped()), "Kitchen",
         "3 rooms grouped \u00B7 Ready to play", "3 rooms grouped", std::nullopt},
        {"track with artist", kitchen(playing(NowPlaying::track(track("Song", " Nina \n")))), "Song",
         "Nina \u00B7 Kitchen", "Kitchen \u00B7 Nina", std::nullopt},
        {"track with blank artist", kitchen(paused(NowPlaying::track(track("Song", " \n")))), "Song", "Kitchen",
         "Kitchen", std::nullopt},
        {"artist of no-break spaces", kitchen(playing(NowPlaying::track(track("Song", "\u00A0\u00A0")))), "Song",
         "Kitchen", "Kitchen", std::nullopt},
        {"artist within ideographic spaces", kitchen(playing(NowPlaying::track(track("Song", "\u3000Nina\u2028")))),
         "Song", "Nina \u00B7 Kitchen", "Kitchen \u00B7 Nina", std::nullopt},
        {"track without artist, empty title", kitchen(playing(NowPlaying::track(track("")))), "Kitchen", "Kitchen",
         "Kitchen", std::nullopt},
        {"title of spaces", kitchen(playing(NowPlaying::track(track("  ")))), "  ", "Kitchen", "Kitchen",
         std::nullopt},
        {"spotify with context", kitchen(playing(sourced("Song", "Nina", PlaybackSource::spotify(" Mix ")))),
         "Song", "Nina \u00B7 Kitchen", "Kitchen \u00B7 Nina", "Playing from Spotify \u00B7 Mix"},
        {"stream with title", kitchen(playing(radio("Jazz FM"))), "Jazz FM", "Kitchen", "Kitchen", std::nullopt},
        {"stream with empty title", kitchen(playing(radio(""))), "", "Kitchen", "Kitchen", std::nullopt},
        {"stream without title", kitchen(playing(radio(std::nullopt))), "Kitchen", "Kitchen", "Kitchen",
         std::nullopt},
        {"tv audio", threeRooms(playing(NowPlaying::tvAudio())), "TV", "Kitchen", "Kitchen", std::nullopt},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NowPlayingTexts::primaryTitle(c.group), c.title);
        EXPECT_EQ(NowPlayingTexts::subtitle(c.group), c.subtitle);
        EXPECT_EQ(NowPlayingTexts::floatingPillSubtitle(c.group), c.pillSubtitle);
        EXPECT_EQ(NowPlayingTexts::sourceLine(c.group), c.sourceLine);
    }
}

TEST(NowPlayingTexts, QueueHeaderKeepsTheArtistAsGiven) {
    const SonosGroup room = kitchen(PlaybackState::stopped());
    const struct {
        std::optional<std::string> artist;
        std::optional<std::string> line;
    } cases[] = {
        {std::nullopt, std::nullopt},
        {"", std::nullopt},
        {" ", "  \u00B7 Kitchen"},
        {"Nina ", "Nina  \u00B7 Kitchen"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NowPlayingTexts::queueHeaderArtistLine(track("Song", c.artist), room), c.line);
    }
}

TEST(NowPlayingTexts, GroupCountUsesOneWordingForEveryCount) {
    EXPECT_EQ(NowPlayingTexts::groupCountLabel(1), "1 Groups");
    EXPECT_EQ(NowPlayingTexts::groupCountLabel(12), "12 Groups");
}
