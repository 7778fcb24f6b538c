#include <gtest/gtest.h>

#include "SonosProtocolBoundary/QueueService.h"
#include "SonosProtocolBoundary/VolumeService.h"

using namespace orvel;

namespace {

const SpeakerAddress speaker = *SpeakerAddress::make("127.0.4.10");

std::string queueItem(int n, const std::string& title, const std::string& resource, const std::string& extra = "") {
    return "<item id=\"Q:0/" + std::to_string(n) + "\" parentID=\"Q:0\" restricted=\"true\"><res duration=\"0:04:0" +
           std::to_string(n) + "\">" + resource + "</res><dc:title>" + title + "</dc:title>" + extra + "</item>";
}

std::string queueDIDL(const std::string& items) {
    return R"(<DIDL-Lite xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:upnp="urn:schemas-upnp-org:metadata-1-0/upnp/" )"
           R"(xmlns:r="urn:schemas-rinconnetworks-com:metadata-1-0/" xmlns="urn:schemas-upnp-org:metadata-1-0/DIDL-Lite/">)" +
           items + "</DIDL-Lite>";
}

SOAPResponse browseReply(const std::string& result, const std::string& returned, const std::string& total) {
    return SOAPResponse{{{"Result", result}, {"NumberReturned", returned}, {"TotalMatches", total}, {"UpdateID", "7"}}};
}

}  // namespace

TEST(VolumeService, VolumesAreWholeStepsFromZeroToHundred) {
    struct Case { const char* reported; std::optional<int> step; };
    const Case cases[] = {
        {"0", 0}, {"37", 37}, {"100", 100}, {" 42 ", 42}, {"+5", 5},
        {"101", std::nullopt}, {"-1", std::nullopt}, {"4.5", std::nullopt}, {"1e2", std::nullopt},
        {"", std::nullopt}, {"loud", std::nullopt}, {"99999999999999999999999", std::nullopt},
    };
    for (const auto& c : cases) {
        auto parsed = VolumeService::parseVolume(SOAPResponse{{{"CurrentVolume", c.reported}}});
        EXPECT_EQ(parsed ? std::optional(parsed->rawValue()) : std::nullopt, c.step) << c.reported;
    }
    EXPECT_FALSE(VolumeService::parseVolume(SOAPResponse{}));
}

TEST(QueueService, BrowsePagesNumberTheirItemsFromTheStart) {
    const std::string items =
        queueItem(1, "Song A", "x-sonos-spotify:spotify%3atrack%3a4uLU6hMCjMI75M1A2tKUQC?sid=12&amp;flags=8224&amp;sn=2",
                  "<dc:creator>Band</dc:creator><upnp:album>Album</upnp:album>"
                  "<upnp:albumArtURI>/getaa?s=1&amp;u=a</upnp:albumArtURI>") +
        queueItem(2, "Song &amp; B", "x-file-cifs://nas/b.flac",
                  "<upnp:artist>Other</upnp:artist><upnp:albumArtURI>https://art.example/b.jpg</upnp:albumArtURI>") +
        queueItem(3, "  ", "x-file-cifs://nas/c.flac", "<upnp:albumArtURI>javascript:alert(1)</upnp:albumArtURI>");
    auto page = QueueService::parseBrowse(browseReply(queueDIDL(items), "3", "25"), 20, speaker);
    ASSERT_TRUE(page) << page.error().message;
    EXPECT_EQ(page->totalMatches, 25);
    ASSERT_EQ(page->items.size(), 3u);

    EXPECT_EQ(page->items[0], QueueItem(std::nullopt, "Song A", "Band", "Album", "http://127.0.4.10:1400/getaa?s=1&u=a",
                                        Duration::seconds(std::int64_t{241}), 21,
                                        SpotifyURI::make("spotify:track:4uLU6hMCjMI75M1A2tKUQC")));
    EXPECT_EQ(page->items[1], QueueItem(std::nullopt, "Song & B", "Other", std::nullopt, "https://art.example/b.jpg",
                                        Duration::seconds(std::int64_t{242}), 22, std::nullopt));
    // Only http(s) art and speaker paths are kept.
    EXPECT_EQ(page->items[2], QueueItem(std::nullopt, "", std::nullopt, std::nullopt, std::nullopt,
                                        Duration::seconds(std::int64_t{243}), 23, std::nullopt));

    auto emptyQueue = QueueService::parseBrowse(browseReply("", "0", "0"), 0, speaker);
    ASSERT_TRUE(emptyQueue) << emptyQueue.error().message;
    EXPECT_TRUE(emptyQueue->items.empty());
}

TEST(QueueService, BadPagesAreErrors) {
    const std::string one = queueDIDL(queueItem(1, "A", "x-file-cifs://nas/a.flac"));
    struct Case { const char* name; SOAPResponse reply; };
    const std::vector<Case> cases = {
        {"no Result", SOAPResponse{{{"NumberReturned", "0"}, {"TotalMatches", "0"}}}},
        {"no NumberReturned", SOAPResponse{{{"Result", one}, {"TotalMatches", "1"}}}},
        {"count does not match", browseReply(one, "2", "2")},
        {"negative total", browseReply(one, "1", "-1")},
        {"count not a number", browseReply(one, "one", "1")},
        {"truncated result", browseReply(one.substr(0, one.size() - 5), "1", "1")},
        {"result not DIDL", browseReply("<items/>", "0", "0")},
    };
    for (const auto& c : cases) EXPECT_FALSE(QueueService::parseBrowse(c.reply, 0, speaker)) << c.name;
}

// One odd item of a page shows with what can be read of it: a duration that cannot be read is
// left out, a character XML cannot carry reads as U+FFFD, and every other item shows as it is.
TEST(QueueService, AnOddItemHidesOnlyItsOddField) {
    const std::string fffd = "\xEF\xBF\xBD";
    auto oddItem = [](const std::string& title, const std::string& duration) {
        return "<item id=\"Q:0/2\" parentID=\"Q:0\"><res duration=\"" + duration + "\">x-file-cifs://nas/b.flac</res><dc:title>" +
               title + "</dc:title><dc:creator>Band</dc:creator></item>";
    };
    auto page = [&](const std::string& title, const std::string& duration) {
        return browseReply(queueDIDL(queueItem(1, "Song A", "x-file-cifs://nas/a.flac") + oddItem(title, duration) +
                                     queueItem(3, "Song C", "x-file-cifs://nas/c.flac")),
                           "3", "3");
    };
    const Duration fourOhTwo = Duration::seconds(std::int64_t{242});
    struct Case {
        const char* name;
        SOAPResponse reply;
        std::string title;
        std::optional<Duration> duration;
    };
    const std::vector<Case> cases = {
        {"a duration without hours", page("Song B", "3:25"), "Song B", std::nullopt},
        {"a duration with one-digit minutes", page("Song B", "0:3:25"), "Song B", std::nullopt},
        {"a duration with one-digit fields", page("Song B", "1:2:3"), "Song B", std::nullopt},
        {"a duration with a fraction of a second", page("Song B", "0:03:25.1/3"), "Song B",
         Duration::seconds(std::int64_t{205}) + Duration::fromAttoseconds(Duration::perSecond / 3)},
        {"a reference to a control character", page("Song&#x1;B", "0:04:02"), "Song" + fffd + "B", fourOhTwo},
        {"a reference to NUL", page("Song&#0;B", "0:04:02"), "Song" + fffd + "B", fourOhTwo},
        {"references to a surrogate pair", page("Song&#xD83D;&#xDE00;B", "0:04:02"), "Song" + fffd + fffd + "B", fourOhTwo},
        {"a reference to U+FFFE", page("Song&#xFFFE;B", "0:04:02"), "Song" + fffd + "B", fourOhTwo},
        {"a raw control character", page("Song\x01" "B", "0:04:02"), "Song" + fffd + "B", fourOhTwo},
        {"a byte that is not UTF-8", page("Song\xFF" "B", "0:04:02"), "Song" + fffd + "B", fourOhTwo},
        {"an encoded U+FFFF", page("Song\xEF\xBF\xBF" "B", "0:04:02"), "Song" + fffd + "B", fourOhTwo},
    };
    for (const auto& c : cases) {
        auto parsed = QueueService::parseBrowse(c.reply, 0, speaker);
        ASSERT_TRUE(parsed) << c.name << ": " << parsed.error().message;
        EXPECT_EQ(parsed->items,
                  (std::vector<QueueItem>{
                      QueueItem(std::nullopt, "Song A", std::nullopt, std::nullopt, std::nullopt,
                                Duration::seconds(std::int64_t{241}), 1, std::nullopt),
                      QueueItem(std::nullopt, c.title, "Band", std::nullopt, std::nullopt, c.duration, 2, std::nullopt),
                      QueueItem(std::nullopt, "Song C", std::nullopt, std::nullopt, std::nullopt,
                                Duration::seconds(std::int64_t{243}), 3, std::nullopt),
                  }))
            << c.name;
    }
}
