#include "SpotifyOnSonos.h"

#include "SonosProtocolBoundary/ProtocolText.h"
#include "SonosProtocolBoundary/XMLNode.h"

namespace orvel {

namespace {

bool isDecimal(std::string_view text) {
    if (text.empty() || text.size() > 18) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// Percent-encodes everything but unreserved characters, with lower-case hex as the speakers
// write "%3a".
std::string percentEncoded(std::string_view text) {
    constexpr char hex[] = "0123456789abcdef";
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') || c == '-' ||
            c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        }
    }
    return out;
}

std::string_view upnpClass(SpotifyURI::Kind kind) {
    switch (kind) {
    case SpotifyURI::Kind::track: return "object.item.audioItem.musicTrack";
    case SpotifyURI::Kind::album: return "object.container.album.musicAlbum";
    case SpotifyURI::Kind::playlist: return "object.container.playlistContainer";
    }
    return "object.item.audioItem.musicTrack";
}

}  // namespace

Parsed<std::optional<SpotifyAccountOnSonos>> SpotifyOnSonos::parseAccounts(std::string_view document) {
    ORVEL_TRY(XMLNode root, XMLNode::parse(document));
    const XMLNode* accounts = root.name == "Accounts" ? &root : root.child("Accounts");
    if (accounts == nullptr) return parseFailure("accounts page has no <Accounts>");
    std::optional<SpotifyAccountOnSonos> older;
    for (const XMLNode* account : accounts->childrenNamed("Account")) {
        if (account->attribute("Deleted") == "1") continue;
        const auto serial = account->attribute("SerialNum");
        if (!serial || !isDecimal(*serial)) continue;
        const auto type = account->attribute("Type");
        if (type == "3079") return std::optional(SpotifyAccountOnSonos{3079, *serial});
        if (type == "2311" && !older) older = SpotifyAccountOnSonos{2311, *serial};
    }
    return older;
}

std::string SpotifyOnSonos::enqueuedURI(const SpotifyURI& item, const SpotifyAccountOnSonos& account) {
    return "x-sonos-spotify:" + percentEncoded(item.description()) + "?sid=" + std::to_string(account.serviceID()) +
           "&flags=8224&sn=" + account.serialNumber;
}

std::string SpotifyOnSonos::enqueuedMetadata(const SpotifyURI& item, const SpotifyTrackMetadata& metadata,
                                             const SpotifyAccountOnSonos& account) {
    const std::string type = std::to_string(account.accountType);
    std::string out =
        R"(<DIDL-Lite xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:upnp="urn:schemas-upnp-org:metadata-1-0/upnp/" )"
        R"(xmlns:r="urn:schemas-rinconnetworks-com:metadata-1-0/" xmlns="urn:schemas-upnp-org:metadata-1-0/DIDL-Lite/">)";
    out += "<item id=\"" + xmlEscaped(percentEncoded(item.description())) + "\" parentID=\"\" restricted=\"true\">";
    out += "<dc:title>" + xmlEscaped(metadata.title) + "</dc:title>";
    if (!metadata.artist.empty()) out += "<dc:creator>" + xmlEscaped(metadata.artist) + "</dc:creator>";
    if (metadata.album) out += "<upnp:album>" + xmlEscaped(*metadata.album) + "</upnp:album>";
    if (metadata.artworkURL) out += "<upnp:albumArtURI>" + xmlEscaped(*metadata.artworkURL) + "</upnp:albumArtURI>";
    out += "<upnp:class>" + std::string(upnpClass(item.kind())) + "</upnp:class>";
    out += R"(<desc id="cdudn" nameSpace="urn:schemas-rinconnetworks-com:metadata-1-0/">SA_RINCON)" + type +
           "_X_#Svc" + type + "-0-Token</desc>";
    out += "</item></DIDL-Lite>";
    return out;
}

SOAPRequest SpotifyOnSonos::addToQueueRequest(const SpotifyURI& item, const SpotifyTrackMetadata& metadata,
                                              const SpotifyAccountOnSonos& account, std::int64_t desiredFirstTrackNumber) {
    return {UPnPService::avTransport,
            "AddURIToQueue",
            {{"InstanceID", "0"},
             {"EnqueuedURI", enqueuedURI(item, account)},
             {"EnqueuedURIMetaData", enqueuedMetadata(item, metadata, account)},
             {"DesiredFirstTrackNumberEnqueued", std::to_string(desiredFirstTrackNumber)},
             {"EnqueueAsNext", "1"}}};
}

Parsed<std::int64_t> SpotifyOnSonos::parseAddToQueue(const SOAPResponse& response) {
    ORVEL_TRY(std::string text, response.requiredOutput("FirstTrackNumberEnqueued"));
    return protocol_text::parseInteger(text, "FirstTrackNumberEnqueued", 1, INT32_MAX);
}

}  // namespace orvel
