#include "PlaybackSource.h"

#include "Text.h"

namespace orvel {

namespace {
constexpr std::string_view separator = " \u00B7 ";
constexpr std::string_view caseSpotify = "spotify";
constexpr std::string_view caseSonosQueue = "sonosQueue";
constexpr std::string_view caseTvAudio = "tvAudio";
constexpr std::string_view caseRadio = "radio";
constexpr std::string_view caseLineIn = "lineIn";
}  // namespace

std::optional<std::string> PlaybackSource::usableContextTitle() const {
    const Spotify* s = asSpotify();
    if (s == nullptr || !s->contextTitle) return std::nullopt;
    std::string title = text::trimmed(*s->contextTitle);
    // A context called "Spotify" would only repeat the service's name.
    if (title.empty() || text::lowercased(title) == "spotify") return std::nullopt;
    return title;
}

std::string PlaybackSource::label() const {
    return visit(
        [this](const Spotify&) {
            auto title = usableContextTitle();
            return title ? "Playing from Spotify" + std::string(separator) + *title : "Playing from Spotify";
        },
        [](const SonosQueue&) -> std::string { return "Sonos Queue"; },
        [](const TvAudio&) -> std::string { return "TV Audio"; },
        [](const Radio&) -> std::string { return "Radio Stream"; },
        [](const LineIn&) -> std::string { return "Line-In"; });
}

std::string PlaybackSource::shortBadge() const {
    return visit(
        [this](const Spotify&) {
            auto title = usableContextTitle();
            return title ? "Spotify" + std::string(separator) + *title : "Spotify";
        },
        [](const SonosQueue&) -> std::string { return "Queue"; },
        [](const TvAudio&) -> std::string { return "TV"; },
        [](const Radio&) -> std::string { return "Radio"; },
        [](const LineIn&) -> std::string { return "Line-In"; });
}

Json PlaybackSource::toJson() const {
    return visit(
        [](const Spotify& spotify) {
            Json payload = Json::object();
            if (spotify.contextTitle) payload["contextTitle"] = *spotify.contextTitle;
            return json::tagged(caseSpotify, std::move(payload));
        },
        [](const SonosQueue&) { return json::tagged(caseSonosQueue); },
        [](const TvAudio&) { return json::tagged(caseTvAudio); },
        [](const Radio&) { return json::tagged(caseRadio); },
        [](const LineIn&) { return json::tagged(caseLineIn); });
}

Decoded<PlaybackSource> PlaybackSource::fromJson(const Json& value) {
    ORVEL_TRY(json::TaggedCase tagged,
              json::decodeTagged(value, {caseSpotify, caseSonosQueue, caseTvAudio, caseRadio, caseLineIn}));
    if (tagged.name == caseSpotify) {
        auto title = json::optionalString(*tagged.payload, "contextTitle");
        if (!title) return std::unexpected(title.error().at(caseSpotify));
        return spotify(std::move(*title));
    }
    if (tagged.name == caseSonosQueue) return sonosQueue();
    if (tagged.name == caseTvAudio) return tvAudio();
    if (tagged.name == caseRadio) return radio();
    return lineIn();
}

}  // namespace orvel
