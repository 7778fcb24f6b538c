// How a command travels from an intent to the speakers: volume is shown at once and coalesced
// per target; every other command runs as in flight under a ticket, so its expected effect shows
// until the household answers, and transport commands also ask for the Spotify details again.
// Also the host through which the volume coalescing and the playback tasks reach the store.

#include <utility>

#include "OrvelStore.h"
#include "PlaybackIntents.h"

namespace orvel {

class OrvelStore::IntentHost final : public PlaybackHost, public VolumeCoalescer::Host {
public:
    explicit IntentHost(StoreRef self) : self_(std::move(self)) {}

    // ---- Playback ---------------------------------------------------------------------------
    bool isAvailable() const override { return bool(self_); }
    void send(SonosCommand command) override {
        if (self_) self_->send(std::move(command));
    }
    QCoro::Task<CommandResult> perform(SonosCommand command) override {
        return OrvelStore::perform(self_, std::move(command));
    }
    QCoro::Task<ContextResult> currentContext() override { return context(self_); }
    QCoro::Task<> pauseSourcePlayback() override { return pause(self_); }
    QCoro::Task<bool> resumeSourcePlayback() override { return resume(self_); }
    void setAlert(std::optional<OrvelAlert> alert) override {
        if (!self_) return;
        self_->reduceState([&](OrvelState& state) {
            if (alert) {
                state.report(std::move(*alert));
            } else {
                state.dismissAlert();
            }
        });
    }

    // ---- Volume -----------------------------------------------------------------------------
    QCoro::Task<VolumeCoalescer::Result> sendVolume(SonosCommand command) override {
        return sendUntracked(self_, std::move(command));
    }
    void holdVolume(DiscreteVolume volume, const VolumeTarget& target, double seconds) override {
        if (!self_) return;
        const Date now = self_->clock().now();
        self_->reduceState([&](OrvelState& state) { state.setOptimisticVolume(volume, target, now, seconds); });
    }
    void report(OrvelAlert alert) override {
        if (!self_) return;
        self_->reduceState([&](OrvelState& state) { state.report(std::move(alert)); });
    }

private:
    // Each holds its port for the whole await, so the store going away meanwhile leaves the
    // port intact. The tasks check that the store is there before every call; the answers for
    // a store already gone only keep these safe on their own.
    static QCoro::Task<ContextResult> context(StoreRef self) {
        if (!self) co_return std::unexpected(SpotifyBridgeError::notConnected());
        const std::shared_ptr<SpotifySource> spotify = self->spotifyPort();
        auto reading = spotify->currentContext();
        co_return co_await std::move(reading);
    }
    static QCoro::Task<> pause(StoreRef self) {
        if (!self) co_return;
        const std::shared_ptr<SpotifySource> spotify = self->spotifyPort();
        auto pausing = spotify->pauseSourcePlayback();
        co_await std::move(pausing);
    }
    static QCoro::Task<bool> resume(StoreRef self) {
        if (!self) co_return false;
        const std::shared_ptr<SpotifySource> spotify = self->spotifyPort();
        auto resuming = spotify->resumeSourcePlayback();
        co_return co_await std::move(resuming);
    }
    static QCoro::Task<CommandResult> sendUntracked(StoreRef self, SonosCommand command) {
        if (!self) co_return std::unexpected(SonosCommandError::speakerRejected("store closed"));
        const std::shared_ptr<SonosControl> sonos = self->sonosPort();
        auto sending = sonos->send(std::move(command));
        co_return co_await std::move(sending);
    }

    StoreRef self_;
};

std::shared_ptr<OrvelStore::IntentHost> OrvelStore::makeIntentHost(StoreRef self) {
    return std::make_shared<IntentHost>(std::move(self));
}

VolumeCoalescer::Host& OrvelStore::volumeHost() const { return *intentHost_; }

std::shared_ptr<PlaybackHost> OrvelStore::playbackHost() const { return intentHost_; }

QCoro::Task<OrvelStore::CommandResult> OrvelStore::perform(StoreRef self, SonosCommand command) {
    if (!self) co_return std::unexpected(SonosCommandError::speakerRejected("store closed"));
    const CommandTicket ticket = self->beginCommand(command);
    const std::shared_ptr<SonosControl> sonos = self->sonosPort();
    auto sending = sonos->send(std::move(command));
    CommandResult result = co_await std::move(sending);
    if (self) self->finishCommand(ticket, result);
    co_return result;
}

void OrvelStore::send(SonosCommand command) {
    if (const auto* volume = command.asSetVolume()) {
        setVolume(volume->volume, volume->target);
        return;
    }
    if (isTransportCommand(command)) schedulePostTransportSpotifyRefresh();
    // Started here rather than on a later turn, so the command is in flight when the intent
    // returns and the next intent already sees its expected effect. Nobody awaits it: the
    // alert is its only report.
    perform(ref(), std::move(command));
}

void OrvelStore::setVolume(DiscreteVolume volume, const VolumeTarget& target) { volumes_.request(volume, target); }

void OrvelStore::toggleMute(const SpeakerUUID& speaker) {
    if (auto command = mute_.toggle(state_.speakers(), speaker)) send(std::move(*command));
}

void OrvelStore::playQueueItem(const QueueItem& item, const GroupID& on) {
    if (auto command = queueItemCommand(item, on)) send(std::move(*command));
    // Also when nothing was sent: the user looked at the queue, so it is worth reading again.
    schedulePostTransportSpotifyRefresh();
}

}  // namespace orvel
