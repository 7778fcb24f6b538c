#pragma once

// Spotify as the speakers know it: the linked account from the accounts page, and the queue
// request that puts a Spotify item on a coordinator.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "OrvelDomain/SpotifyTrackMetadata.h"
#include "OrvelDomain/SpotifyURI.h"
#include "SonosProtocolBoundary/ProtocolParseError.h"
#include "SonosProtocolBoundary/SOAPClient.h"
#include "SonosProtocolBoundary/SOAPRequest.h"

namespace orvel {

// The music service's account on the speakers: its serial number and the service numbers that
// go into every enqueued URI.
struct SpotifyAccountOnSonos {
    // 3079, or 2311 on older systems.
    int accountType = 3079;
    std::string serialNumber;

    // sid=12 for 3079, sid=9 for 2311.
    int serviceID() const { return accountType == 2311 ? 9 : 12; }

    friend bool operator==(const SpotifyAccountOnSonos&, const SpotifyAccountOnSonos&) = default;
};

struct SpotifyOnSonos {
    static constexpr std::string_view accountsPath = "/status/accounts";

    // <Accounts><Account Type="3079" SerialNum="2" Deleted="0">…: the first live account of type
    // 3079, else of type 2311; none when the service is not linked. Deleted accounts and serial
    // numbers that are not decimal digits do not count.
    static Parsed<std::optional<SpotifyAccountOnSonos>> parseAccounts(std::string_view document);

    // "x-sonos-spotify:spotify%3atrack%3a{id}?sid=12&flags=8224&sn={serial}"
    static std::string enqueuedURI(const SpotifyURI& item, const SpotifyAccountOnSonos& account);
    // The DIDL-Lite item with the title (and what else is known) and the account's cdudn token.
    static std::string enqueuedMetadata(const SpotifyURI& item, const SpotifyTrackMetadata& metadata,
                                        const SpotifyAccountOnSonos& account);
    // AVTransport#AddURIToQueue as the next entry at `desiredFirstTrackNumber` (1-based).
    static SOAPRequest addToQueueRequest(const SpotifyURI& item, const SpotifyTrackMetadata& metadata,
                                         const SpotifyAccountOnSonos& account, std::int64_t desiredFirstTrackNumber);
    // "FirstTrackNumberEnqueued", a queue number of at least 1.
    static Parsed<std::int64_t> parseAddToQueue(const SOAPResponse& response);
};

}  // namespace orvel
