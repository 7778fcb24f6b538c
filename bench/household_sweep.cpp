// The household controller against a fake household of 32 speakers in 8 groups of 4, all on
// loopback (127.202.250.*):
// - a full sweep (the first one: device descriptions and household values as well as topology,
//   volumes and playback; the telemetry pages follow with the second), and a steady sweep (what
//   every later one reads), each with its wall time and the requests it sent;
// - a grouping command from send() to its outcome when the speakers regroup at once.
// Discovery runs through seams that find nothing; the seed is the first speaker.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QHostAddress>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include "SonosProtocolBoundary/SonosHousehold.h"
#include "testing/ManualClock.h"
#include "common/WaitFor.h"
#include "fakes/FakeHousehold.h"

using namespace orvel;

namespace {

constexpr int speakerCount = 32;
constexpr int groupSize = 4;

class NoInterfaces final : public NetworkInterfaces {
public:
    std::vector<InterfaceAddress> ipv4Addresses() const override { return {}; }
};
class NoSSDP final : public SSDPSearcher {
public:
    QCoro::Task<std::vector<SSDPReply>> search(QByteArray, std::chrono::milliseconds) override { co_return {}; }
};
class NoProbes final : public ConnectProber {
public:
    QCoro::Task<bool> canConnect(SpeakerAddress, std::uint16_t, std::chrono::milliseconds) override { co_return false; }
};

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "bench_household_sweep";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// One household for the whole run: 8 groups of 4, each coordinator playing its queue.
fakes::FakeHousehold& household() {
    static fakes::FakeHousehold* fake = [] {
        application();
        auto* made = new fakes::FakeHousehold(QHostAddress(QStringLiteral("127.202.250.2")), speakerCount);
        made->setRecording(true);
        const QStringList ids = made->speakerIds();
        for (int g = 0; g < speakerCount / groupSize; ++g) {
            made->model().setGroup(ids.mid(g * groupSize, groupSize));
            QList<fakes::FakeTrack> queue;
            for (int t = 1; t <= 10; ++t) {
                fakes::FakeTrack track;
                track.uri = QStringLiteral("x-file-cifs://nas/%1/%2.mp3").arg(g).arg(t);
                track.title = QStringLiteral("Track %1").arg(t);
                track.creator = QStringLiteral("Band %1").arg(g);
                track.durationSeconds = 200;
                queue << track;
            }
            made->model().setQueue(ids[g * groupSize], queue);
            fakes::FakePlayback& playback = made->model().editPlayback(ids[g * groupSize]);
            playback.currentUri = QStringLiteral("x-rincon-queue:") + ids[g * groupSize] + QStringLiteral("#0");
            playback.trackNumber = 1 + g % 10;
            playback.transportState = g % 2 == 0 ? QStringLiteral("PLAYING") : QStringLiteral("PAUSED_PLAYBACK");
        }
        // Each speaker hears its nearest neighbours; the household has a name and an account.
        for (int i = 0; i < speakerCount; ++i) {
            fakes::FakeSpeaker& speaker = made->model().editSpeaker(ids[i]);
            speaker.noiseFloor = -95;
            for (int j = std::max(0, i - 3); j <= std::min(speakerCount - 1, i + 3); ++j) {
                if (j != i) speaker.radio.append({ids[j], 50 - 10 * std::abs(i - j)});
            }
        }
        made->model().setAccounts({fakes::FakeAccount{}});
        made->model().setSystemProperty(QStringLiteral("Orvella_SystemName"), QStringLiteral("Bench House"));
        if (!made->start()) {
            std::fprintf(stderr, "fake household: %s\n", qPrintable(made->errorString()));
            std::abort();
        }
        return made;
    }();
    return *fake;
}

std::string seed() { return household().address(household().speakerId(0)).toString().toStdString(); }

struct Controller {
    QTemporaryDir folder;
    std::unique_ptr<SonosHousehold> household;

    explicit Controller(Clock* clock) {
        SonosHousehold::Environment environment;
        environment.clock = clock;
        environment.interfaces = std::make_shared<NoInterfaces>();
        environment.ssdp = std::make_shared<NoSSDP>();
        environment.prober = std::make_shared<NoProbes>();
        household = std::make_unique<SonosHousehold>(std::vector<std::string>{seed()},
                                                     SonosHousehold::Configuration::standard(), folder.path(),
                                                     std::move(environment));
    }
    ~Controller() {
        waitUntil([&] { return !household->isBusy(); });
        household.reset();
    }
};

void fullSweep(benchmark::State& state) {
    fakes::FakeHousehold& fake = household();
    double requests = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ManualClock clock;
        auto controller = std::make_unique<Controller>(&clock);
        const auto before = fake.requests().size();
        state.ResumeTiming();

        auto stream = controller->household->snapshots();
        if (!waitUntil([&] { return controller->household->completedSweeps() >= 1; })) state.SkipWithError("no sweep");

        state.PauseTiming();
        requests += double(fake.requests().size() - before);
        stream.leave();
        controller.reset();
        fake.clearRequests();
        state.ResumeTiming();
    }
    state.counters["requests"] = benchmark::Counter(requests, benchmark::Counter::kAvgIterations);
}

void steadySweep(benchmark::State& state) {
    fakes::FakeHousehold& fake = household();
    ManualClock clock;
    Controller controller(&clock);
    auto stream = controller.household->snapshots();
    waitUntil([&] { return controller.household->completedSweeps() >= 1; });
    double requests = 0;
    for (auto _ : state) {
        const auto sweeps = controller.household->completedSweeps();
        const auto before = fake.requests().size();
        clock.advance(std::chrono::seconds(2));
        if (!waitUntil([&] { return controller.household->completedSweeps() > sweeps; })) state.SkipWithError("no sweep");
        requests += double(fake.requests().size() - before);
        state.PauseTiming();
        fake.clearRequests();
        state.ResumeTiming();
    }
    state.counters["requests"] = benchmark::Counter(requests, benchmark::Counter::kAvgIterations);
}

void groupToOutcome(benchmark::State& state) {
    fakes::FakeHousehold& fake = household();
    fake.setGroupingDelay(std::chrono::milliseconds(0));
    Controller controller(nullptr);
    const QStringList ids = fake.speakerIds();
    const SpeakerUUID member = *SpeakerUUID::make(ids[1].toStdString());
    const GroupID into(*SpeakerUUID::make(ids[groupSize].toStdString()));
    double requests = 0;
    for (auto _ : state) {
        const auto before = fake.requests().size();
        auto outcome = waitForTask(controller.household->send(SonosCommand::group(member, into)));
        if (!outcome || !*outcome || !(*outcome)->isApplied()) state.SkipWithError("the join did not apply");
        requests += double(fake.requests().size() - before);

        state.PauseTiming();
        waitForTask(controller.household->send(SonosCommand::group(member, GroupID(*SpeakerUUID::make(ids[0].toStdString())))));
        fake.clearRequests();
        state.ResumeTiming();
    }
    state.counters["requests"] = benchmark::Counter(requests, benchmark::Counter::kAvgIterations);
}

}  // namespace

BENCHMARK(fullSweep)->Name("household/full_sweep/32_speakers_8_groups")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(steadySweep)->Name("household/steady_sweep/32_speakers_8_groups")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(groupToOutcome)->Name("household/send_group_to_outcome/no_convergence_delay")->Unit(benchmark::kMillisecond)->UseRealTime();
