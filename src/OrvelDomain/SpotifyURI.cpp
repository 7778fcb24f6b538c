#include "SpotifyURI.h"

#include <array>
#include <vector>

namespace orvel {

namespace {

constexpr std::array<std::pair<SpotifyURI::Kind, std::string_view>, 3> kindNames{{
    {SpotifyURI::Kind::track, "track"},
    {SpotifyURI::Kind::album, "album"},
    {SpotifyURI::Kind::playlist, "playlist"},
}};

bool isValidId(std::string_view id) {
    if (id.size() < 15 || id.size() > 30) return false;
    for (char c : id) {
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        bool digit = c >= '0' && c <= '9';
        if (!letter && !digit) return false;
    }
    return true;
}

// Every segment between separators, empty ones included.
std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> segments;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            segments.push_back(text.substr(start));
            return segments;
        }
        segments.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

}  // namespace

std::string_view SpotifyURI::rawValue(Kind kind) {
    for (const auto& [k, name] : kindNames) {
        if (k == kind) return name;
    }
    return "track";
}

std::optional<SpotifyURI::Kind> SpotifyURI::kindFromRawValue(std::string_view rawValue) {
    for (const auto& [k, name] : kindNames) {
        if (name == rawValue) return k;
    }
    return std::nullopt;
}

std::optional<SpotifyURI> SpotifyURI::make(std::string_view text) {
    if (auto uri = parseURI(text)) return uri;
    return parseShareLink(text);
}

std::optional<SpotifyURI> SpotifyURI::parseURI(std::string_view text) {
    auto segments = split(text, ':');
    if (segments.size() != 3 || segments[0] != "spotify") return std::nullopt;
    auto kind = kindFromRawValue(segments[1]);
    if (!kind || !isValidId(segments[2])) return std::nullopt;
    return SpotifyURI(*kind, std::string(segments[2]));
}

std::optional<SpotifyURI> SpotifyURI::parseShareLink(std::string_view text) {
    // Query and fragment carry tracking data only; the item is named by the path.
    if (auto q = text.find('?'); q != std::string_view::npos) text = text.substr(0, q);
    if (auto f = text.find('#'); f != std::string_view::npos) text = text.substr(0, f);

    const std::string prefix = "https://" + std::string(shareLinkHost) + "/";
    if (!text.starts_with(prefix)) return std::nullopt;
    text.remove_prefix(prefix.size());
    if (text.ends_with('/')) text.remove_suffix(1);

    auto segments = split(text, '/');
    if (segments.size() != 2) return std::nullopt;
    auto kind = kindFromRawValue(segments[0]);
    if (!kind || !isValidId(segments[1])) return std::nullopt;
    return SpotifyURI(*kind, std::string(segments[1]));
}

std::string SpotifyURI::description() const {
    return "spotify:" + std::string(rawValue(kind_)) + ":" + id_;
}

Json SpotifyURI::toJson() const {
    return Json{{"kind", rawValue(kind_)}, {"id", id_}};
}

Decoded<SpotifyURI> SpotifyURI::fromJson(const Json& value) {
    ORVEL_TRY(std::string kindText, json::requiredString(value, "kind"));
    auto kind = kindFromRawValue(kindText);
    if (!kind) {
        return std::unexpected(
            DecodingError::dataCorrupted("Cannot initialize Kind from invalid String value " + kindText)
                .at("kind"));
    }
    ORVEL_TRY(std::string id, json::requiredString(value, "id"));
    return SpotifyURI(*kind, std::move(id));
}

}  // namespace orvel
