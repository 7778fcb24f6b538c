#include "OrvelStore.h"

#include <limits>

namespace orvel {

OrvelStore::OrvelStore(const LoadedFiles& loaded, OrvelFiles files, std::shared_ptr<SonosControl> sonos,
                       std::shared_ptr<SpotifySource> spotify, std::vector<PresetPill> initialPresets, Clock& clock,
                       QObject* parent)
    : QObject(parent),
      state_(loaded, std::move(initialPresets)),
      sonos_(std::move(sonos)),
      spotify_(std::move(spotify)),
      files_(std::move(files)),
      written_(state_.persisted()),
      clock_(&clock) {}

OrvelStore::~OrvelStore() {
    // First of all: from here on every task that resumes finds the store gone.
    lifetime_.end();
}

void OrvelStore::setState(OrvelState next) {
    if (next == state_) return;
    state_ = std::move(next);
    emit stateChanged();
}

CommandTicket OrvelStore::beginCommand(SonosCommand command) {
    OrvelState next = state_;
    const CommandTicket ticket = next.begin(std::move(command));
    setState(std::move(next));
    return ticket;
}

void OrvelStore::finishCommand(CommandTicket ticket, const CommandResult& result) {
    reduceState([&](OrvelState& state) { state.finish(ticket, result, clock_->now()); });
    watchSettling();
}

void OrvelStore::watchSettling() {
    const std::optional<Date> end = state_.settlingRunsOutAt();
    if (!end) {
        settlingTimer_.cancel();
        return;
    }
    const double seconds = std::max(0.0, end->secondsSince(clock_->now()));
    const auto delay = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::duration<double>(seconds));
    settlingTimer_ = clock_->schedule(delay, [self = ref()] {
        if (!self) return;
        const Date now = self->clock_->now();
        self->reduceState([&](OrvelState& state) { state.endSettling(now); });
        self->watchSettling();
    });
}

double OrvelStore::secondsSince(const std::optional<Clock::Instant>& since) const {
    if (!since) return std::numeric_limits<double>::infinity();
    return std::chrono::duration<double>(clock_->monotonicNow() - *since).count();
}

}  // namespace orvel
