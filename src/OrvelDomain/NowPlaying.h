#pragma once

// What a group plays: a track, a continuous stream (with its title when known), or the
// television input of a home-theatre speaker.

#include <optional>
#include <string>
#include <variant>

#include "NowPlayingTrack.h"
#include "Overloaded.h"

namespace orvel {

class NowPlaying {
public:
    struct Track {
        NowPlayingTrack track;
        friend bool operator==(const Track&, const Track&) = default;
    };
    struct Stream {
        std::optional<std::string> title;
        friend bool operator==(const Stream&, const Stream&) = default;
    };
    struct TvAudio {
        friend bool operator==(const TvAudio&, const TvAudio&) = default;
    };

    static NowPlaying track(NowPlayingTrack track) { return NowPlaying(Track{std::move(track)}); }
    static NowPlaying stream(std::optional<std::string> title) { return NowPlaying(Stream{std::move(title)}); }
    static NowPlaying tvAudio() { return NowPlaying(TvAudio{}); }

    bool isTrack() const { return std::holds_alternative<Track>(value_); }
    bool isStream() const { return std::holds_alternative<Stream>(value_); }
    bool isTvAudio() const { return std::holds_alternative<TvAudio>(value_); }
    const Track* asTrack() const { return std::get_if<Track>(&value_); }
    const Stream* asStream() const { return std::get_if<Stream>(&value_); }

    // Whether two groups report one playback session. Any two Spotify tracks count as one
    // session (the account plays in one place only); two streams need the same non-blank
    // title; television audio is never shared.
    bool matchesSession(const NowPlaying& other) const;
    bool isSpotifyOrStreaming() const;

    friend bool operator==(const NowPlaying&, const NowPlaying&) = default;

private:
    using Value = std::variant<Track, Stream, TvAudio>;
    explicit NowPlaying(Value value) : value_(std::move(value)) {}
    Value value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel
