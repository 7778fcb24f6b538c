#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OrvelUI/sidebar/SidebarGroupRowContent.h"
#include "PlaybackFixtures.h"

namespace orvel::testing {
namespace {

NowPlaying artworkTrack(std::string title) {
    return NowPlaying::track(NowPlayingTrack(std::move(title), std::string("Artist"), std::nullopt,
                                             std::string("http://127.0.0.1:9/cover.jpg"), std::nullopt, std::nullopt,
                                             std::nullopt, std::nullopt, {}, std::nullopt));
}

// Subtitle kind and text, mark, whether the silhouette is highlighted, and the member labels.
std::string summary(const SidebarGroupRowContent& row) {
    static const char* const subtitles[] = {"none", "playing", "paused", "surround"};
    static const char* const marks[] = {"-", "artwork", "playingMark"};
    std::string out = std::string(subtitles[int(row.subtitleKind)]) + ":" + row.subtitle.toStdString() + " | " +
                      marks[int(row.mark)] + (row.silhouetteHighlighted ? " | lit" : "");
    for (const SidebarMemberContent& member : row.members) out += " | " + member.label.toStdString();
    return out;
}

TEST(SidebarGroupRowContent, ShowsTheFirstSubtitleAndMarkThatApply) {
    const Speaker theatre = speaker(1, "Den Speaker", 3);
    const Speaker kitchen = speaker(2, "Kitchen");
    const SonosGroup playingRadio = group({speaker(7, "Porch")}, playing(radio("Radio")));
    const struct {
        const char* name;
        SonosGroup group;
        bool selected;
        std::vector<SonosGroup> others;
        std::string expected;
    } cases[] = {
        {"stopped room with satellites", group({theatre}), false, {}, "surround:+ 3 surrounds | -"},
        {"selected stopped room lights up", group({theatre}), true, {}, "surround:+ 3 surrounds | - | lit"},
        {"playing track replaces surround", group({theatre}, playing(plainTrack("Song"))), false, {},
         "playing:Song \u00b7 Artist | playingMark | lit"},
        {"empty title falls back to surround", group({theatre}, playing(NowPlaying::track(track("")))), false, {},
         "surround:+ 3 surrounds | playingMark | lit"},
        {"paused track with artwork", group({kitchen}, paused(artworkTrack("Song"))), false, {},
         "paused:Song \u00b7 Artist | artwork"},
        {"paused stream shows nothing", group({kitchen}, paused(radio("Radio"))), false, {}, "none: | -"},
        {"paused duplicate of a playing stream", group({kitchen}, paused(radio("Radio"))), false, {playingRadio},
         "none: | -"},
        {"multi-room group: members, coordinator first, no surround",
         group({theatre, kitchen}, playing(radio("Radio"))), false, {}, "none: | playingMark | lit | Den | Kitchen"},
    };
    for (const auto& c : cases) {
        std::vector<SonosGroup> groups = c.others;
        groups.push_back(c.group);
        EXPECT_EQ(summary(SidebarGroupRowContent::of(c.group, c.selected, groups)), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace orvel::testing
