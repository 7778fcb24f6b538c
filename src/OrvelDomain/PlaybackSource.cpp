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
    if (isSpotify()) {
        auto title = usableContextTitle();
        return title ? "Playing from Spotify" + std::string(separator) + *title : "Playing from Spotify";
    }
    if (isSonosQueue()) return "Sonos Queue";
    if (isTvAudio()) return "TV Audio";
    if (isRadio()) return "Radio Stream";
    return "Line-In";
}

std::string PlaybackSource::shortBadge() const {
    if (isSpotify()) {
        auto title = usableContextTitle();
        return title ? "Spotify" + std::string(separator) + *title : "Spotify";
    }
    if (isSonosQueue()) return "Queue";
    if (isTvAudio()) return "TV";
    if (isRadio()) return "Radio";
    return "Line-In";
}

Json PlaybackSource::toJson() const {
    if (const Spotify* s = asSpotify()) {
        Json payload = Json::object();
        if (s->contextTitle) payload["contextTitle"] = *s->contextTitle;
        return json::tagged(caseSpotify, std::move(payload));
    }
    if (isSonosQueue()) return json::tagged(caseSonosQueue);
    if (isTvAudio()) return json::tagged(caseTvAudio);
    if (isRadio()) return json::tagged(caseRadio);
    return json::tagged(caseLineIn);
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
