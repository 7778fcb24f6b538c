#pragma once

// One entry of the speakers' play queue or of an up-next list. Ids are not unique: the same
// track queued twice gets the same composed id, so nothing may key entries by id alone.

#include <cstdint>
#include <optional>
#include <string>

#include "Duration.h"
#include "Json.h"
#include "SpotifyURI.h"

namespace orvel {

class QueueItem {
public:
    // Every argument is stored unchanged. Without an id, the id is
    // "<queueNumber or 0>:<Spotify URI text, else title>:<artist or empty>".
    QueueItem(std::optional<std::string> id, std::string title, std::optional<std::string> artist,
              std::optional<std::string> album, std::optional<std::string> artworkURL,
              std::optional<Duration> duration, std::optional<std::int64_t> queueNumber,
              std::optional<SpotifyURI> spotifyURI);

    const std::string& id() const { return id_; }
    const std::string& title() const { return title_; }
    const std::optional<std::string>& artist() const { return artist_; }
    const std::optional<std::string>& album() const { return album_; }
    // Absolute URL text.
    const std::optional<std::string>& artworkURL() const { return artworkURL_; }
    const std::optional<Duration>& duration() const { return duration_; }
    const std::optional<std::int64_t>& queueNumber() const { return queueNumber_; }
    const std::optional<SpotifyURI>& spotifyURI() const { return spotifyURI_; }

    // "id" and "title" always; every other member only when present. A URL is read as a
    // non-empty string without white space or control characters and kept as it is.
    Json toJson() const;
    static Decoded<QueueItem> fromJson(const Json& value);

    friend bool operator==(const QueueItem&, const QueueItem&) = default;

private:
    std::string id_;
    std::string title_;
    std::optional<std::string> artist_;
    std::optional<std::string> album_;
    std::optional<std::string> artworkURL_;
    std::optional<Duration> duration_;
    std::optional<std::int64_t> queueNumber_;
    std::optional<SpotifyURI> spotifyURI_;
};

}  // namespace orvel
