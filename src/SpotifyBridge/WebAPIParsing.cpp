// Readers of the player-state, queue and profile replies. Members of the wrong JSON type count
// as absent; only an unreadable player-state reply or an item that is not a Spotify track fails.

#include <set>

#include <QUrl>

#include "OrvelDomain/Text.h"
#include "SpotifyBridge/ReplyReading.h"
#include "SpotifyBridge/WebAPI.h"

namespace orvel {

namespace {

std::string_view view(const std::string* text) { return text ? std::string_view(*text) : std::string_view(); }

// The "name" texts of the entries that are objects and have one, joined with ", ".
std::string joinedArtistNames(const Json& item) {
    std::string out;
    if (const Json* artists = reply::arrayMember(item, "artists")) {
        for (const Json& artist : *artists) {
            const std::string* name = reply::stringMember(artist, "name");
            if (name == nullptr) continue;
            if (!out.empty()) out += ", ";
            out += *name;
        }
    }
    return out;
}

// Absolute URL text as the rest of the system holds it: no blanks or control characters, and
// a scheme.
std::optional<std::string> urlText(const std::string& text) {
    if (text.empty()) return std::nullopt;
    for (unsigned char c : text) {
        if (c <= 0x20 || c == 0x7F) return std::nullopt;
    }
    QUrl url(QString::fromStdString(text), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty()) return std::nullopt;
    return text;
}

// The first "url" text among the images of an album, when it reads as a URL.
std::optional<std::string> artworkURL(const Json* album) {
    if (album == nullptr) return std::nullopt;
    const Json* images = reply::arrayMember(*album, "images");
    if (images == nullptr) return std::nullopt;
    for (const Json& image : *images) {
        if (const std::string* url = reply::stringMember(image, "url")) return urlText(*url);
    }
    return std::nullopt;
}

std::optional<std::string> albumName(const Json* album) {
    if (album == nullptr) return std::nullopt;
    const std::string* name = reply::stringMember(*album, "name");
    return name ? std::optional<std::string>(*name) : std::nullopt;
}

std::optional<Duration> milliseconds(const Json& object, std::string_view key) {
    auto count = reply::integerMember(object, key);
    return count ? std::optional<Duration>(Duration::milliseconds(*count)) : std::nullopt;
}

std::optional<std::string> nestedText(const Json& object, std::string_view outer, std::string_view inner) {
    const Json* container = reply::objectMember(object, outer);
    if (container == nullptr) return std::nullopt;
    const std::string* text = reply::stringMember(*container, inner);
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

}  // namespace

WebAPI::Result<std::optional<SpotifyTrackContext>> WebAPI::parseCurrentlyPlaying(std::string_view body) {
    auto root = reply::parse(body);
    if (!root || !root->is_object()) return std::unexpected(SpotifyBridgeError::network("currently-playing"));
    const Json* item = reply::objectMember(*root, "item");
    if (item == nullptr) return std::optional<SpotifyTrackContext>{};

    const std::string_view type = view(reply::stringMember(*item, "type"));
    const std::string_view uriText = view(reply::stringMember(*item, "uri"));
    const bool isLocal = reply::boolMember(*item, "is_local").value_or(false);
    const bool playable = !isLocal && type == "track" && !uriText.starts_with("spotify:local:");
    if (!playable) {
        return std::unexpected(SpotifyBridgeError::unplayableOnSonos(std::string(uriText.empty() ? type : uriText)));
    }
    auto uri = SpotifyURI::make(uriText);
    if (!uri) return std::unexpected(SpotifyBridgeError::unplayableOnSonos(std::string(uriText)));

    const Json* album = reply::objectMember(*item, "album");
    SpotifyTrackMetadata metadata{
        std::string(view(reply::stringMember(*item, "name"))),
        joinedArtistNames(*item),
        albumName(album),
        artworkURL(album),
        milliseconds(*item, "duration_ms"),
    };
    return SpotifyTrackContext{
        std::move(*uri),
        std::move(metadata),
        milliseconds(*root, "progress_ms"),
        std::nullopt,
        nestedText(*root, "context", "uri"),
        nestedText(*root, "device", "name"),
        {},
    };
}

std::vector<QueueItem> WebAPI::parseQueueData(std::string_view body) {
    auto root = reply::parse(body);
    if (!root || !root->is_object()) return {};
    const Json* queue = reply::arrayMember(*root, "queue");
    if (queue == nullptr) return {};
    for (const Json& entry : *queue) {
        if (!entry.is_object()) return {};  // the list must be a list of objects throughout
    }

    std::vector<QueueItem> items;
    std::set<std::string> seenKeys;
    const std::size_t examined = std::min(queue->size(), maximumQueueEntries);
    for (std::size_t index = 0; index < examined; ++index) {
        const Json& entry = (*queue)[index];
        const std::string* name = reply::stringMember(entry, "name");
        if (name == nullptr) continue;
        std::string title = text::trimmed(*name);
        if (title.empty()) continue;

        std::optional<SpotifyURI> uri;
        if (const std::string* uriText = reply::stringMember(entry, "uri")) uri = SpotifyURI::make(*uriText);
        std::string artists = joinedArtistNames(entry);
        std::string key = uri ? uri->description() : title + "|" + artists;
        if (!seenKeys.insert(key).second) continue;

        const Json* album = reply::objectMember(entry, "album");
        items.emplace_back(std::to_string(index + 1) + ":" + key, std::move(title),
                           artists.empty() ? std::nullopt : std::optional<std::string>(std::move(artists)),
                           albumName(album), artworkURL(album), milliseconds(entry, "duration_ms"), std::nullopt,
                           std::move(uri));
    }
    return items;
}

WebAPI::Result<std::string> WebAPI::parseProfileName(int status, std::string_view body) {
    auto root = (status >= 200 && status <= 299) ? reply::parse(body) : std::nullopt;
    if (!root || !root->is_object()) {
        return std::unexpected(SpotifyBridgeError::network("profile HTTP " + std::to_string(status)));
    }
    if (const std::string* displayName = reply::stringMember(*root, "display_name")) {
        std::string trimmed = text::trimmed(*displayName);
        if (!trimmed.empty()) return trimmed;
    }
    if (const std::string* id = reply::stringMember(*root, "id")) return *id;
    return std::string("Spotify");
}

}  // namespace orvel
