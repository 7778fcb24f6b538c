#pragma once

// Stand-ins for the store's two ports and a harness that builds a store around them.
//
// FakeSonosControl: every snapshots() call is a subscription the test feeds with publish();
// every send() is recorded and answered by `reply` (default: applied), at once or when the
// test opens its gate.
// FakeSpotifySource: currentContext() answers `context`; calls are counted and can be held at
// a gate too.
// StoreHarness: a ManualClock, both fakes, a temporary data folder and the store.

#include <QCoreApplication>
#include <QTemporaryDir>

#include <QCoroTask>

#include <chrono>
#include <cstddef>
#include <deque>
#include <expected>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "OrvelStore/OrvelStore.h"
#include "Support/AsyncChannel.h"
#include "testing/ManualClock.h"
#include "common/WaitFor.h"

namespace orvel {

// The store's private steps and bookkeeping, for tests.
struct OrvelStorePeer {
    static QCoro::Task<> persistChangedSlices(OrvelStore& store) { return OrvelStore::persistChangedSlicesAsync(store.ref()); }
    static void schedulePostTransportSpotifyRefresh(OrvelStore& store) { store.schedulePostTransportSpotifyRefresh(); }
    static const PersistedSlices& written(const OrvelStore& store) { return store.written_; }
    static const std::map<GroupID, NowPlayingTrack>& lastKnownTracks(const OrvelStore& store) {
        return store.lastKnownTracks_;
    }
    static bool isSpotifyRefreshRunning(const OrvelStore& store) { return store.inFlightSpotifyRefresh_; }
    static const std::shared_ptr<SonosControl>& sonos(const OrvelStore& store) { return store.sonos_; }
};

}  // namespace orvel

namespace orvel::testing {

// Holds calls until the test lets them through, oldest first. Calls still waiting when the gate
// goes are let through with `false`.
class Gate {
public:
    void close() { closed_ = true; }
    // Lets every waiting call through, oldest first, and every later one pass at once.
    void open() {
        closed_ = false;
        while (!waiting_.empty()) {
            auto sender = std::move(waiting_.front());
            waiting_.pop_front();
            sender.send(true);
        }
    }
    std::size_t waitingCount() const { return waiting_.size(); }

    // True when let through, false when the gate went away first.
    QCoro::Task<bool> pass() {
        if (!closed_) return passed();
        auto [sender, receiver] = AsyncChannel<bool>::open();
        waiting_.push_back(std::move(sender));
        return wait(std::move(receiver));
    }

private:
    static QCoro::Task<bool> passed() { co_return true; }
    static QCoro::Task<bool> wait(AsyncChannel<bool>::Receiver receiver) {
        auto value = co_await receiver.next();
        co_return value.value_or(false);
    }

    bool closed_ = false;
    std::deque<AsyncChannel<bool>::Sender> waiting_;
};

class FakeSonosControl final : public SonosControl {
public:
    // ---- Snapshots --------------------------------------------------------------------------
    SnapshotStream snapshots() override {
        auto [sender, receiver] = AsyncChannel<HouseholdSnapshot>::open();
        if (latest_) sender.send(*latest_);
        subscribers_.push_back(std::move(sender));
        ++subscriptionsMade;
        return std::move(receiver);
    }
    // Delivers to every subscriber still listening, and to later ones as their first value.
    void publish(const HouseholdSnapshot& snapshot) {
        latest_ = snapshot;
        for (auto& subscriber : subscribers_) subscriber.send(snapshot);
    }
    // Ends every subscription (a later one starts afresh).
    void finishStreams() {
        for (auto& subscriber : subscribers_) subscriber.finish();
        subscribers_.clear();
    }
    std::size_t subscriptionCount() const { return subscribers_.size(); }
    // Whether some subscriber is waiting for its next snapshot, having handled every earlier one.
    bool isLoopWaiting() const {
        for (const auto& subscriber : subscribers_) {
            if (subscriber.isConsumerWaiting()) return true;
        }
        return false;
    }
    std::size_t listeningCount() const {
        std::size_t count = 0;
        for (const auto& subscriber : subscribers_) count += subscriber.isConsumerGone() ? 0 : 1;
        return count;
    }

    // ---- Commands ---------------------------------------------------------------------------
    QCoro::Task<CommandResult> send(SonosCommand command) override {
        sent.push_back(command);
        ++running_;
        return answer(this->alive_, std::move(command));
    }
    // Sends still waiting for their answer.
    std::size_t runningCount() const { return running_; }

    std::size_t subscriptionsMade = 0;
    std::vector<SonosCommand> sent;
    std::function<CommandResult(const SonosCommand&)> reply = [](const SonosCommand&) -> CommandResult {
        return CommandOutcome::applied();
    };
    Gate gate;

private:
    // Runs in a frame of its own; `alive` tells whether the fake still exists when it resumes.
    static QCoro::Task<CommandResult> answer(std::shared_ptr<FakeSonosControl*> alive, SonosCommand command) {
        FakeSonosControl* self = *alive;
        const bool passed = co_await self->gate.pass();
        self = *alive;
        if (!passed || self == nullptr) co_return std::unexpected(SonosCommandError::speakerRejected("fake gone"));
        --self->running_;
        co_return self->reply(command);
    }

    std::optional<HouseholdSnapshot> latest_;
    std::vector<AsyncChannel<HouseholdSnapshot>::Sender> subscribers_;
    std::size_t running_ = 0;
    std::shared_ptr<FakeSonosControl*> alive_ = std::make_shared<FakeSonosControl*>(this);

public:
    ~FakeSonosControl() override { *alive_ = nullptr; }
};

class FakeSpotifySource final : public SpotifySource {
public:
    QCoro::Task<ContextResult> currentContext() override {
        ++contextCalls;
        return answerContext(alive_);
    }
    QCoro::Task<> pauseSourcePlayback() override {
        ++pauseCalls;
        co_return;
    }
    QCoro::Task<bool> resumeSourcePlayback() override {
        ++resumeCalls;
        co_return resumes;
    }

    ContextResult context = std::unexpected(SpotifyBridgeError::notConnected());
    // What resumeSourcePlayback answers.
    bool resumes = false;
    int contextCalls = 0;
    int pauseCalls = 0;
    int resumeCalls = 0;
    // Holds currentContext() calls while closed.
    Gate gate;

    ~FakeSpotifySource() override { *alive_ = nullptr; }

private:
    static QCoro::Task<ContextResult> answerContext(std::shared_ptr<FakeSpotifySource*> alive) {
        FakeSpotifySource* self = *alive;
        const bool passed = co_await self->gate.pass();
        self = *alive;
        if (!passed || self == nullptr) co_return std::unexpected(SpotifyBridgeError::network("fake gone"));
        co_return self->context;
    }

    std::shared_ptr<FakeSpotifySource*> alive_ = std::make_shared<FakeSpotifySource*>(this);
};

// A store on fakes, a manual clock and a fresh data folder.
struct StoreHarness {
    explicit StoreHarness(LoadedFiles loaded = {}, std::vector<PresetPill> initialPresets = {})
        : sonos(std::make_shared<FakeSonosControl>()),
          spotify(std::make_shared<FakeSpotifySource>()),
          store(std::make_unique<OrvelStore>(loaded, OrvelFiles(folder.path().toStdString(), clock), sonos, spotify,
                                             std::move(initialPresets), clock)) {}

    ~StoreHarness() {
        // Anything the store queued for the event loop is dropped with it.
        store.reset();
        QCoreApplication::processEvents();
    }

    std::filesystem::path dataFolder() const { return folder.path().toStdString(); }

    // Starts the run loop; it lives on in the returned outcome.
    void startLoop(CancellationToken stop = {}) {
        loop = std::make_shared<waiting::TaskOutcome<bool>>();
        waiting::collect(store->run(std::move(stop)), loop);
    }
    bool loopEnded() const { return loop && loop->done; }

    // Publishes and waits until the loop has taken the snapshot through every step, file
    // writes included, and waits for the next one.
    bool publishAndSettle(const HouseholdSnapshot& snapshot) {
        sonos->publish(snapshot);
        return settle();
    }
    bool settle() { return waitUntil([&] { return sonos->isLoopWaiting(); }); }

    ManualClock clock;
    QTemporaryDir folder;
    std::shared_ptr<FakeSonosControl> sonos;
    std::shared_ptr<FakeSpotifySource> spotify;
    std::unique_ptr<OrvelStore> store;
    std::shared_ptr<waiting::TaskOutcome<bool>> loop;
};

}  // namespace orvel::testing
