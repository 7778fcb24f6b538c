#include <gtest/gtest.h>

#include <vector>

#include "OrvelUI/playback/UpNextQueueCard.h"
#include "OrvelUI/playback/UpNextTexts.h"
#include "PlaybackFixtures.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

QueueItem entry(std::string id, std::int64_t queueNumber, std::optional<std::string> artist = "Artist",
                std::optional<std::string> album = std::nullopt) {
    return QueueItem(std::move(id), "Song " + std::to_string(queueNumber), std::move(artist), std::move(album),
                     std::nullopt, std::nullopt, queueNumber, std::nullopt);
}

NowPlayingTrack playingBefore(std::vector<QueueItem> upNext) {
    return track("Now", "Artist", std::nullopt, PlaybackSource::sonosQueue(), std::move(upNext));
}

}  // namespace

TEST(UpNextTexts, LengthsAndSubtitles) {
    struct LengthCase {
        std::optional<Duration> duration;
        std::optional<std::string> text;
    };
    const LengthCase lengths[] = {
        {Duration::seconds(187.9), "3:07"},
        {Duration::seconds(59.0), "0:59"},
        {Duration::seconds(3725.0), "62:05"},
        {Duration::seconds(-5.0), "0:00"},
        {std::nullopt, std::nullopt},
    };
    for (const LengthCase& c : lengths) EXPECT_EQ(UpNextTexts::length(c.duration), c.text) << c.text.value_or("-");

    struct SubtitleCase {
        std::optional<std::string> artist;
        std::optional<std::string> album;
        std::optional<std::string> subtitle;
    };
    const SubtitleCase subtitles[] = {
        {"Artist", std::nullopt, "Artist"},
        {"Artist", "Album", "Artist · Album"},
        {"Artist", "", "Artist · "},
        {std::nullopt, "Album", std::nullopt},
        {"", "Album", std::nullopt},
    };
    for (const SubtitleCase& c : subtitles) {
        EXPECT_EQ(UpNextTexts::subtitle(entry("id", 1, c.artist, c.album)), c.subtitle) << c.subtitle.value_or("-");
    }
}

TEST(UpNextQueueCard, ATapNamesTheExactEntryOfTheCurrentList) {
    std::vector<QueueItem> played;
    UpNextQueueCard card([&](const QueueItem& item) { played.push_back(item); });
    const QueueItem first = entry("same", 2);
    const QueueItem second = entry("same", 5);
    card.setTrack(playingBefore({first, entry("other", 3), second}), "Kitchen");
    ASSERT_EQ(card.items()->rowCount(), 3);

    // The first copy leaves: the second moves up, and a tap on its old place plays nothing.
    card.setTrack(playingBefore({entry("other", 3), second}), "Kitchen");
    ASSERT_EQ(card.items()->rowCount(), 2);
    EXPECT_EQ(card.items()->rows()[1].position, 1);
    EXPECT_FALSE(card.selectQueueItem("same", 2));
    EXPECT_FALSE(card.selectQueueItem("other", 1));
    EXPECT_TRUE(card.selectQueueItem("same", 1));
    EXPECT_EQ(played, std::vector<QueueItem>{second});
}
