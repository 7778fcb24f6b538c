#pragma once

// A household controller against a fake household, for the controller's tests. Every test
// starts its own speakers on 127.202.<block>.2 and up (the fake household's own tests use
// 127.201.*, the protocol readers 127.77.*); the blocks each file uses are listed at its top.
//
// Discovery runs only through seams that find nothing, so the seeds are the only way to the
// speakers and nothing ever leaves loopback. With the manual clock the sweep loop moves only
// when a test advances time; the network itself runs on the real event loop, so tests wait on
// conditions with bounded time-outs.

#include <gtest/gtest.h>

#include <QCoroTask>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <expected>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "OrvelDomain/HouseholdSnapshot.h"
#include "SonosProtocolBoundary/SonosHousehold.h"
#include "Support/CancellationToken.h"
#include "Support/FileWriter.h"
#include "testing/ManualClock.h"
#include "common/WaitFor.h"
#include "fakes/FakeHousehold.h"
#include "SonosProtocolBoundary/DiscoveryStubs.h"

namespace orvel::testing {

using CommandResult = std::expected<CommandOutcome, SonosCommandError>;

// Keeps every snapshot a subscription delivers, until the test leaves.
class Subscription {
public:
    explicit Subscription(SnapshotStream stream) : log_(std::make_shared<Log>()) {
        consume(std::move(stream), log_, stop_.token());
    }
    // The consumer stops iterating; its stream is dropped.
    ~Subscription() { stop_.cancel(); }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

    const std::vector<HouseholdSnapshot>& snapshots() const { return log_->snapshots; }
    std::size_t count() const { return log_->snapshots.size(); }
    const HouseholdSnapshot& last() const { return log_->snapshots.back(); }
    // The stream ended without the consumer leaving.
    bool endedByProducer() const { return log_->endedByProducer; }
    bool waitForCount(std::size_t n) { return waitUntil([&] { return log_->snapshots.size() >= n; }); }

private:
    struct Log {
        std::vector<HouseholdSnapshot> snapshots;
        bool endedByProducer = false;
    };
    static QCoro::Task<> consume(SnapshotStream stream, std::shared_ptr<Log> log, CancellationToken stop) {
        while (auto snapshot = co_await stream.next(stop)) log->snapshots.push_back(std::move(*snapshot));
        log->endedByProducer = !stop.isCancelled();
    }

    std::shared_ptr<Log> log_;
    CancellationSource stop_;
};

inline QHostAddress blockAddress(int block, int host) {
    return QHostAddress(QStringLiteral("127.202.%1.%2").arg(block).arg(host));
}

struct RigOptions {
    int speakers = 4;
    bool manualClock = true;
    SonosHouseholdConfiguration configuration = SonosHouseholdConfiguration::standard();
    std::chrono::milliseconds readLimit{3000};
    std::chrono::milliseconds commandLimit{5000};
};

class HouseholdRig {
public:
    HouseholdRig(int block, RigOptions options = {})
        : fake(blockAddress(block, 2), options.speakers), options_(options) {}
    // Work still under way would otherwise outlive the manual clock and the fake speakers.
    ~HouseholdRig() {
        if (!controller) return;
        waitUntil([&] { return !controller->isBusy(); });
        controller.reset();
    }

    // Starts the fake speakers; the controller is made by makeController().
    bool startFake() { return fake.start(); }

    SonosHousehold& makeController(std::vector<std::string> seeds = {}) {
        if (seeds.empty()) seeds.push_back(ip(0));
        SonosHousehold::Environment environment;
        environment.clock = options_.manualClock ? &clock : nullptr;
        environment.interfaces = std::make_shared<NoInterfaces>();
        environment.ssdp = ssdp;
        environment.prober = std::make_shared<NoProbes>();
        environment.sweepReadLimits = {options_.readLimit, options_.readLimit};
        environment.commandLimits = {options_.commandLimit, options_.commandLimit};
        controller = std::make_unique<SonosHousehold>(std::move(seeds), options_.configuration, folder.path(),
                                                      std::move(environment));
        return *controller;
    }

    QString id(int index) const { return fake.speakerId(index); }
    SpeakerUUID uuid(int index) const { return *SpeakerUUID::make(id(index).toStdString()); }
    GroupID group(int index) const { return GroupID(uuid(index)); }
    std::string ip(int index) const { return fake.address(id(index)).toString().toStdString(); }

    // Sweeps finished so far; waits for the next ones to finish.
    bool waitForSweeps(std::uint64_t total) { return waitUntil([&] { return controller->completedSweeps() >= total; }); }
    // Waits until no sweep or command is under way and the sweep loop sleeps on the clock.
    bool settle() { return waitUntil([&] { return !controller->isBusy() && clock.pendingTimerCount() > 0; }); }
    // Moves the manual clock by one sweep interval and waits for that sweep.
    bool nextSweep() {
        if (!settle()) return false;
        const auto before = controller->completedSweeps();
        clock.advance(options_.configuration.sweepInterval);
        return waitForSweeps(before + 1) && settle();
    }

    qsizetype requestCount(const QString& target) const { return fake.requestLog().count(target); }

    // The lines written so far: the log's lines go through the file writer, so what was queued
    // before this call is let through first.
    QStringList logLines() const {
        const QFuture<void> drained = FileWriter::shared().submit([] {});
        if (!waitUntil([&] { return drained.isFinished(); })) return {};
        QFile file(QDir(folder.path()).filePath(QStringLiteral("network-debug.log")));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    std::optional<CommandResult> send(SonosCommand command) { return waitForTask(controller->send(std::move(command))); }
    // Sends without waiting; the result is there once the command ends.
    std::shared_ptr<std::optional<CommandResult>> sendInBackground(SonosCommand command) {
        auto result = std::make_shared<std::optional<CommandResult>>();
        auto run = [](SonosHousehold& h, SonosCommand c, std::shared_ptr<std::optional<CommandResult>> out) -> QCoro::Task<> {
            *out = co_await h.send(std::move(c));
        };
        run(*controller, std::move(command), result);
        return result;
    }

    fakes::FakeHousehold fake;
    ManualClock clock;
    QTemporaryDir folder;
    std::shared_ptr<NoSSDP> ssdp = std::make_shared<NoSSDP>();
    std::unique_ptr<SonosHousehold> controller;

private:
    RigOptions options_;
};

// A started fake household with a controller on it; fails the test when the fake cannot bind.
#define START_HOUSEHOLD(rig, block, ...)                                                  \
    HouseholdRig rig(block __VA_OPT__(, ) __VA_ARGS__);                                   \
    ASSERT_TRUE(rig.startFake()) << rig.fake.errorString().toStdString()

inline std::optional<CommandResult> succeeded(CommandOutcome outcome) { return CommandResult(std::move(outcome)); }
inline std::optional<CommandResult> failed(SonosCommandError error) { return CommandResult(std::unexpect, std::move(error)); }

}  // namespace orvel::testing

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace orvel {

inline void PrintTo(const std::expected<CommandOutcome, SonosCommandError>& result, std::ostream* os) {
    *os << (result ? result->description() : "error " + result.error().description());
}

}  // namespace orvel
