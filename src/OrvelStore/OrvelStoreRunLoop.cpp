#include <optional>
#include <utility>

#include "OrvelDomain/FloorplanLayout.h"
#include "OrvelStore.h"
#include "Support/RunDetached.h"

namespace orvel {
namespace {

QCoro::Task<> alreadyRunning() { co_return; }

// Runs away from the GUI thread on plain values.
OrvelState::Layout computeLayout(const OrvelState::LayoutInputs& inputs) {
    auto [coordinates, floors] = FloorplanLayout::inferWithFloors(inputs.speakers, inputs.rf);
    return OrvelState::Layout{std::move(coordinates), std::move(floors)};
}

}  // namespace

QCoro::Task<> OrvelStore::run(CancellationToken stop) {
    if (isRunningLoop_) return alreadyRunning();
    isRunningLoop_ = true;
    return runLoop(ref(), sonos_->snapshots(), std::move(stop));
}

QCoro::Task<> OrvelStore::runLoop(StoreRef self, SonosControl::SnapshotStream snapshots, CancellationToken stop) {
    // Stops when the caller cancels or the store goes, whichever comes first.
    CancellationSource loopStop(stop);
    auto onStoreGone = self.ended().onCancel([&loopStop] { loopStop.cancel(); });
    for (;;) {
        auto waitingForNext = snapshots.next(loopStop.token());
        std::optional<HouseholdSnapshot> snapshot = co_await std::move(waitingForNext);
        if (!self) co_return;
        if (!snapshot) break;
        // One snapshot at a time, persistence included; the stream buffers meanwhile.
        auto handling = handleSnapshot(self, std::move(*snapshot));
        co_await std::move(handling);
        if (!self) co_return;
    }
    self->isRunningLoop_ = false;
}

QCoro::Task<> OrvelStore::handleSnapshot(StoreRef self, HouseholdSnapshot snapshot) {
    auto enriching = enrichWithSpotifyIfNeeded(self, std::move(snapshot));
    HouseholdSnapshot enriched = co_await std::move(enriching);
    if (!self) co_return;

    // Nothing the user could see changed, no optimistic volume ran out and no settling command
    // ends: the state stays as it is, sampling times included.
    {
        const OrvelState& current = self->state_;
        const Date now = self->clock_->now();
        if (current.live() && current.live()->isSemanticallyEquivalent(enriched) &&
            !current.hasExpiredVolumeOverrides(now) && !current.endsSettling(enriched.observedAt(), now)) {
            auto persisting = persistChangedSlicesAsync(self);
            co_await std::move(persisting);
            co_return;
        }
    }

    std::optional<OrvelState::Layout> layout;
    if (auto inputs = self->state_.needsFloorplanReinference(enriched)) {
        auto job = [inputs = std::move(*inputs)] { return computeLayout(inputs); };
        auto working = runDetached(std::move(job));
        layout = co_await std::move(working);
        if (!self) co_return;
    }

    // Read after the awaits, so what the intents changed meanwhile survives.
    self->reduceState([&](OrvelState& state) { state.absorb(enriched, std::move(layout), self->clock_->now()); });
    auto persisting = persistChangedSlicesAsync(self);
    co_await std::move(persisting);
}

}  // namespace orvel
