#pragma once

// Where a group's audio comes from. JSON: an object with exactly one member named by the case,
// holding the payload object ({"spotify":{"contextTitle":"..."}}, {"radio":{}}).

#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "Json.h"
#include "Overloaded.h"

namespace orvel {

class PlaybackSource {
public:
    struct Spotify {
        // The playlist or album playing, when known.
        std::optional<std::string> contextTitle;
        friend bool operator==(const Spotify&, const Spotify&) = default;
    };
    struct SonosQueue {
        friend bool operator==(const SonosQueue&, const SonosQueue&) = default;
    };
    struct TvAudio {
        friend bool operator==(const TvAudio&, const TvAudio&) = default;
    };
    struct Radio {
        friend bool operator==(const Radio&, const Radio&) = default;
    };
    struct LineIn {
        friend bool operator==(const LineIn&, const LineIn&) = default;
    };

    static PlaybackSource spotify(std::optional<std::string> contextTitle = std::nullopt) {
        return PlaybackSource(Spotify{std::move(contextTitle)});
    }
    static PlaybackSource sonosQueue() { return PlaybackSource(SonosQueue{}); }
    static PlaybackSource tvAudio() { return PlaybackSource(TvAudio{}); }
    static PlaybackSource radio() { return PlaybackSource(Radio{}); }
    static PlaybackSource lineIn() { return PlaybackSource(LineIn{}); }

    bool isSpotify() const { return std::holds_alternative<Spotify>(value_); }
    bool isSonosQueue() const { return std::holds_alternative<SonosQueue>(value_); }
    bool isTvAudio() const { return std::holds_alternative<TvAudio>(value_); }
    bool isRadio() const { return std::holds_alternative<Radio>(value_); }
    bool isLineIn() const { return std::holds_alternative<LineIn>(value_); }
    const Spotify* asSpotify() const { return std::get_if<Spotify>(&value_); }
    std::size_t caseIndex() const { return value_.index(); }

    // "Playing from Spotify · Daily Mix", "Sonos Queue", "TV Audio", "Radio Stream", "Line-In".
    std::string label() const;
    // "Spotify · Daily Mix", "Queue", "TV", "Radio", "Line-In".
    std::string shortBadge() const;

    Json toJson() const;
    static Decoded<PlaybackSource> fromJson(const Json& value);

    friend bool operator==(const PlaybackSource&, const PlaybackSource&) = default;

private:
    using Value = std::variant<Spotify, SonosQueue, TvAudio, Radio, LineIn>;
    explicit PlaybackSource(Value value) : value_(std::move(value)) {}
    // The trimmed context title when it says more than "Spotify" itself.
    std::optional<std::string> usableContextTitle() const;

    Value value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel

template <>
struct std::hash<orvel::PlaybackSource> {
    std::size_t operator()(const orvel::PlaybackSource& source) const noexcept {
        std::size_t h = source.caseIndex();
        if (const auto* s = source.asSpotify(); s && s->contextTitle) {
            h = h * 31 + std::hash<std::string>{}(*s->contextTitle);
        }
        return h;
    }
};
