#pragma once

// A group's transport state with the item it holds. A playing state records its position
// together with the instant it was sampled, so the position can be carried forward.

#include <optional>
#include <variant>

#include "Date.h"
#include "Duration.h"
#include "NowPlaying.h"
#include "Overloaded.h"

namespace orvel {

class PlaybackState {
public:
    struct Paused {
        NowPlaying nowPlaying;
        Duration elapsed;
        friend bool operator==(const Paused&, const Paused&) = default;
    };
    struct Playing {
        NowPlaying nowPlaying;
        Duration elapsed;  // the position at `sampledAt`
        Date sampledAt;
        friend bool operator==(const Playing&, const Playing&) = default;
    };
    struct Stopped {
        friend bool operator==(const Stopped&, const Stopped&) = default;
    };

    static PlaybackState paused(NowPlaying nowPlaying, Duration elapsed) {
        return PlaybackState(Paused{std::move(nowPlaying), elapsed});
    }
    static PlaybackState playing(NowPlaying nowPlaying, Duration elapsed, Date sampledAt) {
        return PlaybackState(Playing{std::move(nowPlaying), elapsed, sampledAt});
    }
    static PlaybackState stopped() { return PlaybackState(Stopped{}); }

    bool isPaused() const { return std::holds_alternative<Paused>(value_); }
    bool isPlaying() const { return std::holds_alternative<Playing>(value_); }
    bool isStopped() const { return std::holds_alternative<Stopped>(value_); }
    const Paused* asPaused() const { return std::get_if<Paused>(&value_); }
    const Playing* asPlaying() const { return std::get_if<Playing>(&value_); }

    // The item of a paused or playing state; null when stopped.
    const NowPlaying* nowPlaying() const;
    // The position at `at`: a playing position runs on from its sample (never backwards) and
    // stops at the track's known duration; a paused one stays put. Nullopt when stopped.
    std::optional<Duration> elapsed(Date at) const;

    // Whether `other` shows nothing new: same item, and for playing states positions within
    // 3 s once this state's position is carried forward to `other`'s sample instant. Paused
    // positions must match exactly. Not symmetric when this state was sampled later.
    bool isSemanticallyEquivalent(const PlaybackState& other) const;

    friend bool operator==(const PlaybackState&, const PlaybackState&) = default;

private:
    using Value = std::variant<Paused, Playing, Stopped>;
    explicit PlaybackState(Value value) : value_(std::move(value)) {}
    Value value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel
