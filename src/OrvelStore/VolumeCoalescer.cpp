#include "VolumeCoalescer.h"

#include <utility>

#include "Support/Sleep.h"

namespace orvel {

VolumeCoalescer::VolumeCoalescer(Clock& clock, Host& host)
    : shared_(std::make_shared<Shared>(Shared{&clock, &host, {}, {}})) {}

VolumeCoalescer::~VolumeCoalescer() { shared_->host = nullptr; }

void VolumeCoalescer::request(DiscreteVolume volume, VolumeTarget target) {
    shared_->host->holdVolume(volume, target, requestHoldSeconds);
    shared_->pending.insert_or_assign(target, volume);
    if (shared_->working.contains(target)) return;
    shared_->working.insert(target);
    // Runs until its first sleep and goes on from the clock's timers; nobody awaits it.
    work(shared_, target, stop_.token());
}

bool VolumeCoalescer::isWorking(const VolumeTarget& target) const { return shared_->working.contains(target); }

std::optional<DiscreteVolume> VolumeCoalescer::pendingVolume(const VolumeTarget& target) const {
    auto found = shared_->pending.find(target);
    if (found == shared_->pending.end()) return std::nullopt;
    return found->second;
}

std::optional<OrvelAlert> VolumeCoalescer::alertAfter(const SonosCommand& command, const Result& result) {
    if (!result) return OrvelAlert::commandFailed(command, result.error());
    if (const auto* partial = result->asPartiallyApplied()) {
        return OrvelAlert::partiallyApplied(command, partial->unreachable);
    }
    return std::nullopt;
}

QCoro::Task<> VolumeCoalescer::work(std::shared_ptr<Shared> shared, VolumeTarget target, CancellationToken stop) {
    // A sleep cut short is only the coalescer going away, which the host check below catches.
    auto firstDelay = sleepFor(*shared->clock, firstSendDelay, stop);
    co_await std::move(firstDelay);
    for (;;) {
        if (!shared->host) co_return;
        auto next = shared->pending.find(target);
        if (next == shared->pending.end()) {
            shared->working.erase(target);
            co_return;
        }
        const DiscreteVolume volume = next->second;
        shared->pending.erase(next);

        const SonosCommand command = SonosCommand::setVolume(volume, target);
        auto sending = shared->host->sendVolume(command);
        const Result result = co_await std::move(sending);
        if (!shared->host) co_return;
        if (auto alert = alertAfter(command, result)) shared->host->report(std::move(*alert));
        // A newer request waiting for its own send is what the user last asked for: showing the
        // value just sent would put the control back a step, and the next step would start from it.
        if (shared->pending.contains(target)) {
            auto gap = sleepFor(*shared->clock, delayBetweenSends, stop);
            co_await std::move(gap);
        } else {
            shared->host->holdVolume(volume, target, sentHoldSeconds);
        }
    }
}

}  // namespace orvel
