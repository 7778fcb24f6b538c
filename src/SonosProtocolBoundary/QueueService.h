#pragma once

// The coordinator's play queue, read a page at a time (ContentDirectory#Browse of "Q:0").

#include <cstdint>
#include <vector>

#include "OrvelDomain/QueueItem.h"
#include "SonosProtocolBoundary/ProtocolParseError.h"
#include "SonosProtocolBoundary/SOAPClient.h"
#include "SonosProtocolBoundary/SOAPRequest.h"
#include "SonosProtocolBoundary/SpeakerAddress.h"

namespace orvel {

struct QueuePage {
    // In queue order; each carries its 1-based queue number.
    std::vector<QueueItem> items;
    std::int64_t totalMatches = 0;

    friend bool operator==(const QueuePage&, const QueuePage&) = default;
};

struct QueueService {
    // `startingIndex` is 0-based, as the speakers count.
    static SOAPRequest browseRequest(std::int64_t startingIndex, std::int64_t requestedCount);
    // The page that `browseRequest(startingIndex, …)` asked for: item i gets the queue number
    // startingIndex + i + 1. NumberReturned must match the items in Result.
    static Parsed<QueuePage> parseBrowse(const SOAPResponse& response, std::int64_t startingIndex,
                                         const SpeakerAddress& speaker);
};

}  // namespace orvel
