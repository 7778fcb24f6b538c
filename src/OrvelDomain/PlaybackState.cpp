#include "PlaybackState.h"

#include <cmath>

namespace orvel {

namespace {

constexpr double semanticToleranceSeconds = 3.0;

// Seconds that pass from `from` to `to`, never negative. A gap that is not a number carries
// nothing forward; an infinite one saturates.
Duration forwardGap(Date from, Date to) {
    double gap = to.secondsSince(from);
    if (!(gap > 0)) return Duration();
    if (std::isinf(gap)) return Duration::seconds(1e300);
    return Duration::seconds(gap);
}

// The 128-bit sum without signed overflow: both operands here are far from the limits in
// practice, but a position comes from outside and the gap from two clocks.
Duration saturatingSum(Duration a, Duration b) {
    Duration::Attoseconds result;
    if (__builtin_add_overflow(a.attoseconds(), b.attoseconds(), &result)) {
        return b.attoseconds() > 0 ? Duration::seconds(1e300) : Duration::seconds(-1e300);
    }
    return Duration::fromAttoseconds(result);
}

}  // namespace

const NowPlaying* PlaybackState::nowPlaying() const {
    return visit([](const Paused& p) { return &p.nowPlaying; }, [](const Playing& p) { return &p.nowPlaying; },
                 [](const Stopped&) -> const NowPlaying* { return nullptr; });
}

std::optional<Duration> PlaybackState::elapsed(Date at) const {
    return visit([](const Paused& p) -> std::optional<Duration> { return p.elapsed; },
                 [at](const Playing& p) -> std::optional<Duration> {
                     Duration position = saturatingSum(p.elapsed, forwardGap(p.sampledAt, at));
                     if (const NowPlaying::Track* t = p.nowPlaying.asTrack()) {
                         if (const auto& length = t->track.duration(); length && *length < position) return *length;
                     }
                     return position;
                 },
                 [](const Stopped&) -> std::optional<Duration> { return std::nullopt; });
}

bool PlaybackState::isSemanticallyEquivalent(const PlaybackState& other) const {
    if (isStopped() && other.isStopped()) return true;
    if (const Paused* a = asPaused()) {
        const Paused* b = other.asPaused();
        return b != nullptr && a->nowPlaying == b->nowPlaying && a->elapsed == b->elapsed;
    }
    const Playing* a = asPlaying();
    const Playing* b = other.asPlaying();
    if (a == nullptr || b == nullptr || a->nowPlaying != b->nowPlaying) return false;
    double gap = b->sampledAt.secondsSince(a->sampledAt);
    // A gap that is not a number leaves the difference not a number, which never matches.
    double carried = a->elapsed.inSeconds() + (gap < 0 ? 0.0 : gap);
    double difference = std::fabs(b->elapsed.inSeconds() - carried);
    return difference <= semanticToleranceSeconds;
}

}  // namespace orvel
