// The household controller reading and saving preset strings as large as a reply may be (the
// escaped reply within the 4 MiB cap): one preset with a 4 MB name, as many presets as fit (about
// 18,000), the same with one unreadable entry in the middle, and 8 presets beside them as the
// well-behaved household. For each, the first sweep (which reads the list), then a save of the
// same list with one preset added:
// - read_stall_ms, save_stall_ms: the longest time the event loop did not turn (the largest gap
//   of a 2 ms timer) while reading or saving; save_ms the save's whole time;
// - rss_before_mb, read_peak_mb: resident memory before the read and its peak during it;
//   save_rss_before_mb, save_peak_mb the same for the save.
// The speakers run in a child process (forked before this process starts Qt), so neither their
// memory nor their work on large replies is counted. Addresses: 127.202.251.*.

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "OrvelDomain/PresetPill.h"
#include "OrvelDomain/SonosCommand.h"
#include "SonosProtocolBoundary/DiscoveryStubs.h"
#include "SonosProtocolBoundary/SOAPRequest.h"
#include "SonosProtocolBoundary/SonosHousehold.h"
#include "common/WaitFor.h"
#include "fakes/FakeHousehold.h"

using namespace orvel;

namespace {

constexpr std::size_t replyCap = 4 * 1024 * 1024;
// What the rest of a GetString reply takes besides the escaped value.
constexpr std::size_t envelopeRoom = 1024;

enum Shape { longName, manyPresets, manyWithOneBad, few, shapeCount };
const char* const shapeNames[] = {"one_4MB_name", "many_presets", "many_presets_one_bad", "8_presets"};

QHostAddress speakerAddress(int shape) { return QHostAddress(QStringLiteral("127.202.251.%1").arg(2 + shape)); }
std::string speakerId(int shape) { return "RINCON_000E58A0FF0" + std::to_string(shape) + "01400"; }

PresetPill numbered(int shape, int n, std::string name) {
    char id[37];
    std::snprintf(id, sizeof id, "%08X-8B86-4011-B42D-00C04FC964FF", static_cast<unsigned>(n));
    return PresetPill(*PresetID::make(id), std::move(name), *SpeakerUUID::make(speakerId(shape)), std::set<SpeakerUUID>{});
}

// The stored text, its entries as many as fit the reply cap, and its readable presets.
struct Stored {
    std::string text;
    std::vector<PresetPill> presets;
};

Stored stored(int shape) {
    Stored out;
    std::vector<std::string> entries;
    std::size_t escaped = 2 + envelopeRoom;
    auto add = [&](std::string entry) {
        const std::size_t size = xmlEscaped(entry).size() + 1;
        if (escaped + size > replyCap) return false;
        escaped += size;
        entries.push_back(std::move(entry));
        return true;
    };
    auto addPreset = [&](int n, std::string name) {
        PresetPill preset = numbered(shape, n, std::move(name));
        const std::string listed = presetListToJsonText({preset});
        if (!add(listed.substr(1, listed.size() - 2))) return false;
        out.presets.push_back(std::move(preset));
        return true;
    };
    switch (shape) {
    case longName:
        addPreset(0, std::string(replyCap - 2 * envelopeRoom, 'n'));
        break;
    case manyPresets:
    case manyWithOneBad:
        for (int n = 0; addPreset(n, "Preset " + std::to_string(n)); ++n) {
            if (shape == manyWithOneBad && n == 8000) add(R"({"id": {"rawValue": "written by something else"}})");
        }
        break;
    default:
        for (int n = 0; n < 8; ++n) addPreset(n, "Preset " + std::to_string(n));
    }
    out.text = "[";
    for (const auto& entry : entries) out.text += (out.text.size() > 1 ? "," : "") + entry;
    out.text += "]";
    return out;
}

// The speakers, one per shape, in a child process that ends with this one.
void startSpeakers() {
    static bool started = false;
    if (started) return;
    started = true;
    int ready[2];
    if (pipe(ready) != 0) std::abort();
    if (fork() == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        close(ready[0]);
        int argc = 1;
        char name[] = "bench_preset_string_speakers";
        char* argv[] = {name, nullptr};
        QCoreApplication app(argc, argv);
        std::vector<std::unique_ptr<fakes::FakeHousehold>> households;
        for (int shape = 0; shape < shapeCount; ++shape) {
            auto household = std::make_unique<fakes::FakeHousehold>(speakerAddress(shape), 1);
            household->setRecording(false);
            household->model().setSystemProperty(QStringLiteral("Orvella_Presets_v1"), QString::fromStdString(stored(shape).text));
            if (!household->start()) {
                std::fprintf(stderr, "fake household: %s\n", qPrintable(household->errorString()));
                _exit(1);
            }
            households.push_back(std::move(household));
        }
        (void)!write(ready[1], "r", 1);
        app.exec();
        _exit(0);
    }
    close(ready[1]);
    char byte = 0;
    if (read(ready[0], &byte, 1) != 1) std::abort();
    close(ready[0]);
}

QCoreApplication& application() {
    startSpeakers();
    static int argc = 1;
    static char name[] = "bench_preset_string";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

double statusMB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::stod(line.substr(std::string(field).size())) / 1024.0;
    }
    return 0;
}

// Resident memory now, with the peak from here on measured afresh.
double restartPeak() {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    return statusMB("VmRSS:");
}

// The longest gap between turns of the event loop while it is watched.
class StallWatch {
public:
    StallWatch() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(2);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longest_ = std::max(longest_, clock_.restart());
        });
        clock_.start();
        timer_.start();
    }
    double longestMs() const { return double(longest_); }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

void readAndSave(benchmark::State& state) {
    application();
    const int shape = static_cast<int>(state.range(0));
    state.SetLabel(shapeNames[shape]);
    for (auto _ : state) {
        QTemporaryDir folder;
        SonosHousehold::Environment environment;
        environment.interfaces = std::make_shared<testing::NoInterfaces>();
        environment.ssdp = std::make_shared<testing::NoSSDP>();
        environment.prober = std::make_shared<testing::NoProbes>();
        auto household = std::make_unique<SonosHousehold>(
            std::vector<std::string>{speakerAddress(shape).toString().toStdString()},
            SonosHouseholdConfiguration::standard(), folder.path(), std::move(environment));

        const double before = restartPeak();
        std::optional<StallWatch> watch(std::in_place);
        auto stream = household->snapshots();
        if (!waitUntil([&] { return household->completedSweeps() >= 1; }, std::chrono::seconds(30))) {
            state.SkipWithError("no sweep");
        }
        state.counters["read_stall_ms"] = watch->longestMs();
        state.counters["read_peak_mb"] = statusMB("VmHWM:");
        state.counters["rss_before_mb"] = before;

        // A save that adds one preset writes the whole list back.
        std::vector<PresetPill> presets = stored(shape).presets;
        state.counters["presets"] = double(presets.size());
        presets.push_back(numbered(shape, 0xFFFFFF, "Added"));
        state.counters["save_rss_before_mb"] = restartPeak();
        watch.emplace();
        QElapsedTimer saving;
        saving.start();
        auto saved = waitForTask(household->send(SonosCommand::savePresets(std::move(presets))), std::chrono::seconds(30));
        if (!saved || !*saved) state.SkipWithError("the save failed");
        state.counters["save_stall_ms"] = watch->longestMs();
        state.counters["save_ms"] = double(saving.elapsed());
        state.counters["save_peak_mb"] = statusMB("VmHWM:");
        watch.reset();

        stream.leave();
        waitUntil([&] { return !household->isBusy(); });
        household.reset();
    }
}

}  // namespace

BENCHMARK(readAndSave)
    ->Name("household/preset_string")
    ->ArgName("shape")
    ->DenseRange(0, shapeCount - 1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
