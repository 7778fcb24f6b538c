// The store's share of one sweep for a 32-speaker household: absorbing a snapshot that changed
// into the state (copy, absorb, derived views; with and without a new layout), and the whole
// pass of an unchanged sweep through the running store, which must end with no state
// notification and no file write.

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "OrvelStore/FakePorts.h"

using namespace orvel;

namespace {

constexpr int speakerCount = 32;
const Date T = Date::sinceReferenceDate(700'000'000.0);

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "bench_store_absorb";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

SpeakerUUID speakerID(int n) {
    char text[25];
    std::snprintf(text, sizeof text, "RINCON_%012X01400", static_cast<unsigned>(n));
    return *SpeakerUUID::make(text);
}

const char* const rooms[] = {"Living Room", "Kitchen", "Office Speaker", "Bedroom",
                             "Bath",        "Den",     "Patio",          "Garage"};

NowPlaying trackFor(int group) {
    std::vector<QueueItem> upNext;
    for (int i = 0; i < 5; ++i) {
        upNext.emplace_back(std::nullopt, "Next " + std::to_string(i), "Band", "Album", std::nullopt,
                            Duration::seconds(std::int64_t{200}), group * 10 + i + 2, std::nullopt);
    }
    NowPlayingTrack track("Song " + std::to_string(group), "Artist " + std::to_string(group), "Album",
                          "http://127.0.1.20:1400/art.jpg", Duration::seconds(std::int64_t{240}), group * 10 + 1,
                          std::nullopt, std::nullopt, std::move(upNext), std::nullopt);
    return NowPlaying::track(std::move(track));
}

// Groups of four; every third group plays its own track, the others are stopped. `seconds`
// moves the sample and the playing position together, as two sweeps of an unchanged
// household differ; `volumeShift` changes every speaker's volume.
HouseholdSnapshot household(double seconds, int volumeShift = 0, int count = speakerCount) {
    HouseholdSnapshot::SpeakerMap speakers;
    Topology::CoordinatorMap coordinators;
    RFPeerMatrix rf;
    for (int n = 0; n < count; ++n) {
        const SpeakerUUID id = speakerID(n);
        coordinators.emplace(id, speakerID(n - n % 4));
        const std::string room = std::string(rooms[n % 8]) + " " + std::to_string(n / 8);
        speakers.emplace(id, Speaker{id, room, SpeakerModel::one(), ReachabilityState::online("127.0.1.20", -50, -90),
                                     DiscreteVolume::snappingPercent((n + volumeShift) % 100), {}});
        if (n > 0) rf.record(speakerID(n - 1), id, 10 + n % 40, 12 + n % 40);
    }
    HouseholdSnapshot::StatusMap status;
    for (int g = 0; g * 4 < count; ++g) {
        PlaybackState playback = g % 3 == 0 ? PlaybackState::playing(trackFor(g), Duration::seconds(30.0 + seconds),
                                                                      T.addingSeconds(seconds))
                                            : PlaybackState::stopped();
        status.insert_or_assign(GroupID(speakerID(g * 4)), GroupStatus{std::move(playback),
                                                                        DiscreteVolume::snappingPercent(40)});
    }
    return HouseholdSnapshot(T.addingSeconds(seconds), std::move(speakers), *Topology::make(std::move(coordinators)),
                             std::move(status), std::move(rf), std::nullopt, "Home");
}

// The state after a first sweep, the layout computed in place.
OrvelState stateAfterFirstSweep() {
    OrvelState state(LoadedFiles{}, {});
    state.absorb(household(0), std::nullopt, T);
    return state;
}

// A sweep that changed every volume: copy, absorb and compare, as the run loop does, without
// a new layout (the speakers and rooms are the same).
void BM_AbsorbChangedSnapshot(benchmark::State& state) {
    const OrvelState current = stateAfterFirstSweep();
    const HouseholdSnapshot changed = household(2, 1);
    bool differs = false;
    for (auto _ : state) {
        OrvelState next = current;
        next.absorb(changed, std::nullopt, T.addingSeconds(2));
        differs = !(next == current);
        benchmark::DoNotOptimize(next);
    }
    state.counters["speakers"] = speakerCount;
    state.counters["stateChanged"] = differs ? 1 : 0;
}

// The first sweep after start from an empty cache: 32 new speakers, so the layout is inferred.
void BM_AbsorbFirstSnapshot(benchmark::State& state) {
    const OrvelState empty(LoadedFiles{}, {});
    const HouseholdSnapshot first = household(0);
    for (auto _ : state) {
        OrvelState next = empty;
        next.absorb(first, std::nullopt, T);
        benchmark::DoNotOptimize(next);
    }
    state.counters["speakers"] = speakerCount;
}

// One unchanged sweep through the running store: enrichment, the comparison with the live
// snapshot and the persistence check, until the loop waits for the next snapshot.
void BM_UnchangedSweepThroughTheStore(benchmark::State& state) {
    application();
    testing::StoreHarness h;
    h.startLoop();
    if (!h.publishAndSettle(household(0))) {
        state.SkipWithError("the store did not take the first snapshot");
        return;
    }
    // Written by the first sweep; an unchanged sweep must not write them again.
    for (const char* name : {"cached-speakers.json", "floorplan-positions.json"}) {
        std::filesystem::remove(h.dataFolder() / name);
    }
    int notifications = 0;
    QObject::connect(h.store.get(), &OrvelStore::stateChanged, [&notifications] { ++notifications; });

    double seconds = 0;
    std::int64_t sweeps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        seconds += 2;
        h.clock.advance(std::chrono::seconds(2));
        const HouseholdSnapshot sweep = household(seconds);
        state.ResumeTiming();
        if (!h.publishAndSettle(sweep)) {
            state.SkipWithError("the store did not take a snapshot");
            return;
        }
        ++sweeps;
    }
    std::int64_t filesWritten = 0;
    for (const auto& entry : std::filesystem::directory_iterator(h.dataFolder())) {
        filesWritten += entry.is_regular_file() ? 1 : 0;
    }
    state.counters["sweeps"] = static_cast<double>(sweeps);
    state.counters["stateChanged"] = notifications;
    state.counters["filesWritten"] = static_cast<double>(filesWritten);
    state.counters["spotifyFetches"] = h.spotify->contextCalls;
}

}  // namespace

BENCHMARK(BM_AbsorbChangedSnapshot);
BENCHMARK(BM_AbsorbFirstSnapshot);
BENCHMARK(BM_UnchangedSweepThroughTheStore);
