#include "QueueService.h"

#include <string>

#include "OrvelDomain/Text.h"
#include "SonosProtocolBoundary/DIDLLite.h"
#include "SonosProtocolBoundary/ProtocolText.h"

namespace orvel {

SOAPRequest QueueService::browseRequest(std::int64_t startingIndex, std::int64_t requestedCount) {
    return {UPnPService::contentDirectory,
            "Browse",
            {{"ObjectID", "Q:0"},
             {"BrowseFlag", "BrowseDirectChildren"},
             {"Filter", "dc:title,res,dc:creator,upnp:artist,upnp:album,upnp:albumArtURI"},
             {"StartingIndex", std::to_string(startingIndex)},
             {"RequestedCount", std::to_string(requestedCount)},
             {"SortCriteria", ""}}};
}

Parsed<QueuePage> QueueService::parseBrowse(const SOAPResponse& response, std::int64_t startingIndex,
                                            const SpeakerAddress& speaker) {
    // Queues hold at most a few thousand entries; the bound keeps queue numbers far from overflow.
    constexpr std::int64_t maxCount = 1'000'000;
    ORVEL_TRY(std::string result, response.requiredOutput("Result"));
    ORVEL_TRY(std::string returnedText, response.requiredOutput("NumberReturned"));
    ORVEL_TRY(std::string totalText, response.requiredOutput("TotalMatches"));
    ORVEL_TRY(std::int64_t returned, protocol_text::parseInteger(returnedText, "NumberReturned", 0, maxCount));
    ORVEL_TRY(std::int64_t total, protocol_text::parseInteger(totalText, "TotalMatches", 0, maxCount));
    if (startingIndex < 0 || startingIndex > maxCount) return parseFailure("queue page starts out of range");

    std::vector<DIDLItem> entries;
    if (!text::trimmed(result).empty()) {
        ORVEL_TRY(entries, didl::parseItems(result, speaker));
    }
    if (static_cast<std::int64_t>(entries.size()) != returned) {
        return parseFailure("queue page says " + std::to_string(returned) + " items but holds " +
                            std::to_string(entries.size()));
    }
    QueuePage page;
    page.totalMatches = total;
    std::int64_t number = startingIndex;
    for (auto& entry : entries) {
        ++number;
        std::optional<SpotifyURI> spotify;
        if (entry.resourceURI) spotify = didl::spotifyURIFromTrackURI(*entry.resourceURI);
        page.items.emplace_back(std::nullopt, entry.title.value_or(""), std::move(entry.artist), std::move(entry.album),
                                std::move(entry.artworkURL), entry.duration, number, std::move(spotify));
    }
    return page;
}

}  // namespace orvel
