#pragma once

// A reference to one Spotify item (a track, an album or a playlist) by kind and id. It comes
// from text, either "spotify:<kind>:<id>" or a share link on the public share-link host, or
// from JSON; its text form is always the "spotify:" form. Ids keep their letter case, so two
// references differing only in case are different keys.

#include <compare>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "Json.h"

namespace orvel {

class SpotifyURI {
public:
    enum class Kind { track, album, playlist };

    // The word used for the kind in the URI text, in share links and in JSON.
    static std::string_view rawValue(Kind kind);
    // Exact match, letter case included.
    static std::optional<Kind> kindFromRawValue(std::string_view rawValue);

    static constexpr std::string_view shareLinkHost = "open.spotify.com";

    // The URI form first, then the share-link form; nullopt when the text is in neither.
    static std::optional<SpotifyURI> make(std::string_view text);

    Kind kind() const { return kind_; }
    const std::string& id() const { return id_; }
    // "spotify:<kind>:<id>".
    std::string description() const;

    // {"kind": "track", "id": "..."}. The id read from JSON is kept as it is: whoever writes a
    // reference into XML or a URL escapes it there.
    Json toJson() const;
    static Decoded<SpotifyURI> fromJson(const Json& value);

    friend bool operator==(const SpotifyURI&, const SpotifyURI&) = default;
    // Only so references can key ordered maps: by kind, then by id in byte order.
    friend std::strong_ordering operator<=>(const SpotifyURI& a, const SpotifyURI& b) {
        if (auto c = a.kind_ <=> b.kind_; c != 0) return c;
        return a.id_.compare(b.id_) <=> 0;
    }

private:
    SpotifyURI(Kind kind, std::string id) : kind_(kind), id_(std::move(id)) {}
    static std::optional<SpotifyURI> parseURI(std::string_view text);
    static std::optional<SpotifyURI> parseShareLink(std::string_view text);

    Kind kind_;
    std::string id_;
};

}  // namespace orvel

template <>
struct std::hash<orvel::SpotifyURI> {
    std::size_t operator()(const orvel::SpotifyURI& uri) const noexcept {
        return std::hash<std::string>{}(uri.id()) * 31 + static_cast<std::size_t>(uri.kind());
    }
};
