#include "DIDLLite.h"

#include "OrvelDomain/Text.h"
#include "SonosProtocolBoundary/ProtocolLog.h"
#include "SonosProtocolBoundary/ProtocolText.h"
#include "SonosProtocolBoundary/XMLNode.h"

namespace orvel::didl {

namespace {

std::optional<std::string> nonBlank(const XMLNode* node) {
    if (node == nullptr) return std::nullopt;
    std::string value = node->trimmedText();
    if (value.empty()) return std::nullopt;
    return value;
}

bool hasWhiteSpaceOrControl(std::string_view text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) return true;
    }
    return false;
}

DIDLItem readItem(const XMLNode& node, const SpeakerAddress& speaker) {
    DIDLItem item;
    item.id = node.attribute("id").value_or("");
    item.title = nonBlank(node.child("title"));
    item.artist = nonBlank(node.child("creator"));
    if (!item.artist) item.artist = nonBlank(node.child("artist"));
    item.album = nonBlank(node.child("album"));
    if (auto art = nonBlank(node.child("albumArtURI"))) item.artworkURL = resolveArtworkURL(*art, speaker);
    item.streamContent = nonBlank(node.child("streamContent"));
    if (const XMLNode* res = node.child("res")) {
        item.resourceURI = nonBlank(res);
        if (auto duration = res->attribute("duration")) {
            // An odd duration hides only itself: the item shows without one.
            if (auto parsed = protocol_text::parseClockTime(*duration, "res duration")) {
                item.duration = *parsed;
            } else {
                qCDebug(lcProtocol).noquote() << "DIDL-Lite item" << protocol_text::quoted(item.id).c_str()
                                              << "left without its res duration" << protocol_text::quoted(*duration).c_str();
            }
        }
    }
    return item;
}

Parsed<XMLNode> parseDocument(std::string_view document) {
    ORVEL_TRY(XMLNode root, XMLNode::parse(document));
    if (root.name != "DIDL-Lite") return parseFailure("metadata is not DIDL-Lite but <" + root.name + ">");
    return root;
}

}  // namespace

Parsed<std::vector<DIDLItem>> parseItems(std::string_view document, const SpeakerAddress& speaker) {
    ORVEL_TRY(XMLNode root, parseDocument(document));
    std::vector<DIDLItem> items;
    for (const XMLNode* node : root.childrenNamed("item")) {
        items.push_back(readItem(*node, speaker));
    }
    return items;
}

Parsed<std::optional<DIDLItem>> parseTrackMetadata(std::string_view document, const SpeakerAddress& speaker) {
    const std::string trimmed = text::trimmed(document);
    if (trimmed.empty() || trimmed == "NOT_IMPLEMENTED") return std::optional<DIDLItem>{};
    ORVEL_TRY(XMLNode root, parseDocument(trimmed));
    const XMLNode* node = root.child("item");
    if (node == nullptr) return parseFailure("track metadata holds no item");
    return std::optional<DIDLItem>(readItem(*node, speaker));
}

std::optional<SpotifyURI> spotifyURIFromTrackURI(std::string_view trackURI) {
    constexpr std::string_view scheme = "x-sonos-spotify:";
    constexpr std::string_view reference = "spotify%3atrack%3a";
    if (!protocol_text::startsWithIgnoringCase(trackURI, scheme)) return std::nullopt;
    std::string_view rest = trackURI.substr(scheme.size());
    if (!protocol_text::startsWithIgnoringCase(rest, reference)) return std::nullopt;
    std::string_view id = rest.substr(reference.size());
    id = id.substr(0, id.find_first_of("?#&"));
    // The id rule of SpotifyURI does the checking; a percent sign or other junk fails there.
    return SpotifyURI::make("spotify:track:" + std::string(id));
}

std::optional<std::string> resolveArtworkURL(std::string_view reported, const SpeakerAddress& speaker) {
    const std::string url = text::trimmed(reported);
    if (url.empty() || hasWhiteSpaceOrControl(url)) return std::nullopt;
    if (url.front() == '/') {
        return speaker.baseURL().toString(QUrl::FullyEncoded).toStdString() + url;
    }
    if (protocol_text::startsWithIgnoringCase(url, "http://") || protocol_text::startsWithIgnoringCase(url, "https://")) {
        return url;
    }
    return std::nullopt;
}

}  // namespace orvel::didl
