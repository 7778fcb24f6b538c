// Proof, at compile time, that a visit over a tagged value must handle every case.

#include "OrvelDomain/PlaybackState.h"

namespace orvel {
namespace {

using Paused = PlaybackState::Paused;
using Playing = PlaybackState::Playing;
using Stopped = PlaybackState::Stopped;

template <class... Cases>
concept visitable = requires(const PlaybackState& state, Cases... cases) { state.visit(cases...); };

constexpr auto onPaused = [](const Paused&) { return 0; };
constexpr auto onPlaying = [](const Playing&) { return 1; };
constexpr auto onStopped = [](const Stopped&) { return 2; };
constexpr auto onAnyOther = [](const auto&) { return 3; };

static_assert(visitable<decltype(onPaused), decltype(onPlaying), decltype(onStopped)>);
static_assert(!visitable<decltype(onPaused), decltype(onPlaying)>, "a visit missing a case is ill-formed");
static_assert(!visitable<decltype(onStopped)>);
static_assert(visitable<decltype(onStopped), decltype(onAnyOther)>, "a generic case covers the rest on purpose");

}  // namespace
}  // namespace orvel
