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
    struct Case {
        const char* reported;
        std::optional<int> step;
    };
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

TEST(QueueService, BrowseRequestAndPage) {
    auto request = QueueService::browseRequest(20, 10);
    EXPECT_EQ(request.service, UPnPService::contentDirectory);
    EXPECT_EQ(request.action, "Browse");
    EXPECT_EQ(request.arguments, (std::vector<SOAPRequest::Argument>{
                                     {"ObjectID", "Q:0"},
                                     {"BrowseFlag", "BrowseDirectChildren"},
                                     {"Filter", "dc:title,res,dc:creator,upnp:artist,upnp:album,upnp:albumArtURI"},
                                     {"StartingIndex", "20"},
                                     {"RequestedCount", "10"},
                                     {"SortCriteria", ""},
                                 }));

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

    const QueueItem& a = page->items[0];
    EXPECT_EQ(a.queueNumber(), 21);
    EXPECT_EQ(a.title(), "Song A");
    EXPECT_EQ(a.artist(), "Band");
    EXPECT_EQ(a.album(), "Album");
    EXPECT_EQ(a.artworkURL(), "http://127.0.4.10:1400/getaa?s=1&u=a");
    EXPECT_EQ(a.duration(), Duration::seconds(std::int64_t{241}));
    EXPECT_EQ(a.spotifyURI(), SpotifyURI::make("spotify:track:4uLU6hMCjMI75M1A2tKUQC"));
    EXPECT_EQ(a.id(), "21:spotify:track:4uLU6hMCjMI75M1A2tKUQC:Band");

    EXPECT_EQ(page->items[1].title(), "Song & B");
    EXPECT_EQ(page->items[1].artist(), "Other");
    EXPECT_EQ(page->items[1].artworkURL(), "https://art.example/b.jpg");
    EXPECT_EQ(page->items[1].spotifyURI(), std::nullopt);
    EXPECT_EQ(page->items[2].queueNumber(), 23);
    EXPECT_EQ(page->items[2].title(), "");
    EXPECT_EQ(page->items[2].artworkURL(), std::nullopt) << "only http(s) art and speaker paths are kept";

    auto emptyQueue = QueueService::parseBrowse(browseReply("", "0", "0"), 0, speaker);
    ASSERT_TRUE(emptyQueue) << emptyQueue.error().message;
    EXPECT_TRUE(emptyQueue->items.empty());
}

TEST(QueueService, BadPagesAreErrors) {
    const std::string one = queueDIDL(queueItem(1, "A", "x-file-cifs://nas/a.flac"));
    struct Case {
        const char* name;
        SOAPResponse reply;
    };
    const std::vector<Case> cases = {
        {"no Result", SOAPResponse{{{"NumberReturned", "0"}, {"TotalMatches", "0"}}}},
        {"no NumberReturned", SOAPResponse{{{"Result", one}, {"TotalMatches", "1"}}}},
        {"count does not match", browseReply(one, "2", "2")},
        {"negative total", browseReply(one, "1", "-1")},
        {"count not a number", browseReply(one, "one", "1")},
        {"truncated result", browseReply(one.substr(0, one.size() - 5), "1", "1")},
        {"result not DIDL", browseReply("<items/>", "0", "0")},
        {"entity expansion", browseReply(R"(<!DOCTYPE d [<!ENTITY a "aaaa">]><DIDL-Lite>&a;</DIDL-Lite>)", "0", "0")},
        {"bad duration", browseReply(queueDIDL(R"(<item id="Q:0/1"><res duration="1:2:3">u</res></item>)"), "1", "1")},
    };
    for (const auto& c : cases) EXPECT_FALSE(QueueService::parseBrowse(c.reply, 0, speaker)) << c.name;
}
