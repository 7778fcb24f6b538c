#include "QueueItem.h"

namespace orvel {

namespace {
std::string composedId(const std::string& title, const std::optional<std::string>& artist,
                       const std::optional<std::int64_t>& queueNumber,
                       const std::optional<SpotifyURI>& spotifyURI) {
    return std::to_string(queueNumber.value_or(0)) + ":" +
           (spotifyURI ? spotifyURI->description() : title) + ":" + artist.value_or("");
}

// URLs arrive as text from the speakers and the Web API; a blank or white-space-laden text is
// no address at all and would only fail later, far from its source.
Decoded<std::string> decodeURL(const Json& value) {
    ORVEL_TRY(std::string text, json::decodeString(value));
    bool usable = !text.empty();
    for (unsigned char c : text) {
        if (c <= 0x20 || c == 0x7F) usable = false;
    }
    if (!usable) return std::unexpected(DecodingError::dataCorrupted("Invalid URL string."));
    return text;
}
}  // namespace

QueueItem::QueueItem(std::optional<std::string> id, std::string title, std::optional<std::string> artist,
                     std::optional<std::string> album, std::optional<std::string> artworkURL,
                     std::optional<Duration> duration, std::optional<std::int64_t> queueNumber,
                     std::optional<SpotifyURI> spotifyURI)
    : id_(id ? std::move(*id) : composedId(title, artist, queueNumber, spotifyURI)),
      title_(std::move(title)),
      artist_(std::move(artist)),
      album_(std::move(album)),
      artworkURL_(std::move(artworkURL)),
      duration_(duration),
      queueNumber_(queueNumber),
      spotifyURI_(std::move(spotifyURI)) {}

Json QueueItem::toJson() const {
    Json out = Json::object();
    out["id"] = id_;
    out["title"] = title_;
    if (artist_) out["artist"] = *artist_;
    if (album_) out["album"] = *album_;
    if (artworkURL_) out["artworkURL"] = *artworkURL_;
    if (duration_) out["duration"] = duration_->toJson();
    if (queueNumber_) out["queueNumber"] = *queueNumber_;
    if (spotifyURI_) out["spotifyURI"] = spotifyURI_->toJson();
    return out;
}

Decoded<QueueItem> QueueItem::fromJson(const Json& value) {
    ORVEL_TRY(auto id, json::requiredString(value, "id"));
    ORVEL_TRY(auto title, json::requiredString(value, "title"));
    ORVEL_TRY(auto artist, json::optionalString(value, "artist"));
    ORVEL_TRY(auto album, json::optionalString(value, "album"));
    ORVEL_TRY(auto artworkURL, json::optional(value, "artworkURL", decodeURL));
    ORVEL_TRY(auto duration, json::optional(value, "duration", Duration::fromJson));
    ORVEL_TRY(auto queueNumber, json::optionalInteger(value, "queueNumber"));
    ORVEL_TRY(auto spotifyURI, json::optional(value, "spotifyURI", SpotifyURI::fromJson));
    return QueueItem(std::move(id), std::move(title), std::move(artist), std::move(album),
                     std::move(artworkURL), duration, queueNumber, std::move(spotifyURI));
}

}  // namespace orvel
