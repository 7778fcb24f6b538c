// Assembling a household snapshot (sanitizing the group status and deriving the named groups)
// and comparing two snapshots semantically, for households of 8, 32 and 128 speakers. Both run
// once per sweep, every two seconds, on the controller; the comparison also runs in the store.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "OrvelDomain/HouseholdSnapshot.h"

using namespace orvel;

namespace {

const Date T = Date::sinceReferenceDate(700'000'000.0);

SpeakerUUID speakerID(int n) {
    char text[25];
    std::snprintf(text, sizeof text, "RINCON_%012X01400", static_cast<unsigned>(n));
    return *SpeakerUUID::make(text);
}

const char* const rooms[] = {"Living Room", "Kitchen",       "Office Speaker", "Bedroom",
                             "Bath",        "Den Soundbar",  "Patio",          "Garage"};

NowPlaying trackFor(int group) {
    std::vector<QueueItem> upNext;
    for (int i = 0; i < 5; ++i) {
        upNext.emplace_back(std::nullopt, "Next " + std::to_string(i), "Band", "Album", std::nullopt,
                            Duration::seconds(std::int64_t{200}), group * 10 + i + 2, std::nullopt);
    }
    NowPlayingTrack track("Song " + std::to_string(group), "Band", "Album", "http://127.0.1.20:1400/art.jpg",
                          Duration::seconds(std::int64_t{240}), group * 10 + 1, std::nullopt, std::nullopt,
                          std::move(upNext), std::nullopt);
    return NowPlaying::track(std::move(track));
}

// One sweep's inputs: groups of up to four speakers, every other group playing its own track,
// the rest paused or stopped, a radio matrix over neighbours, and a few presets.
struct Inputs {
    HouseholdSnapshot::SpeakerMap speakers;
    Topology topology;
    HouseholdSnapshot::StatusMap status;
    RFPeerMatrix rf;
    std::vector<PresetPill> presets;
};

Inputs makeInputs(int count, double sampledAfter, double elapsedOffset) {
    Inputs in;
    Topology::CoordinatorMap coordinators;
    for (int n = 0; n < count; ++n) {
        SpeakerUUID id = speakerID(n);
        SpeakerUUID coordinator = speakerID(n - n % 4);
        coordinators.emplace(id, coordinator);
        std::string room = std::string(rooms[n % 8]) + " " + std::to_string(n / 8);
        in.speakers.emplace(id, Speaker{id, room, SpeakerModel::one(), ReachabilityState::online("127.0.1.20", -50, -90),
                                        DiscreteVolume::snappingPercent(n % 100), {}});
        if (n > 0) in.rf.record(speakerID(n - 1), id, 10 + n % 40, 12 + n % 40);
    }
    in.topology = *Topology::make(std::move(coordinators));
    for (int g = 0; g * 4 < count; ++g) {
        GroupID id(speakerID(g * 4));
        PlaybackState playback = g % 3 == 0   ? PlaybackState::playing(trackFor(g), Duration::seconds(30.0 + elapsedOffset),
                                                                      T.addingSeconds(sampledAfter))
                                 : g % 3 == 1 ? PlaybackState::paused(trackFor(g), Duration::seconds(std::int64_t{12}))
                                              : PlaybackState::stopped();
        in.status.insert_or_assign(id, GroupStatus{std::move(playback), DiscreteVolume::snappingPercent(40)});
    }
    for (int p = 0; p < 4; ++p) {
        char uuid[37];
        std::snprintf(uuid, sizeof uuid, "00000000-0000-4000-8000-%012X", static_cast<unsigned>(p));
        in.presets.emplace_back(*PresetID::make(uuid), "Preset " + std::to_string(p), speakerID(p),
                                std::vector<SpeakerUUID>{speakerID(p + 1), speakerID(p + 2)});
    }
    return in;
}

HouseholdSnapshot build(const Inputs& in, Date observedAt) {
    return HouseholdSnapshot(observedAt, in.speakers, in.topology, in.status, in.rf, in.presets, "Home");
}

// Includes copying the inputs into the snapshot, as a sweep hands over what it read.
void BM_BuildSnapshot(benchmark::State& state) {
    const Inputs in = makeInputs(static_cast<int>(state.range(0)), 0, 0);
    std::size_t groups = 0;
    for (auto _ : state) {
        HouseholdSnapshot snapshot = build(in, T);
        groups = snapshot.groups().size();
        benchmark::DoNotOptimize(snapshot);
    }
    state.counters["speakers"] = static_cast<double>(state.range(0));
    state.counters["groups"] = static_cast<double>(groups);
}

// The copies alone, to tell assembly from copying.
void BM_CopyInputs(benchmark::State& state) {
    const Inputs in = makeInputs(static_cast<int>(state.range(0)), 0, 0);
    for (auto _ : state) {
        Inputs copy = in;
        benchmark::DoNotOptimize(copy);
    }
}

// The common case of an unchanged household: two sweeps two seconds apart whose playing
// positions moved with the clock. Equivalent snapshots are compared in full.
void BM_SemanticallyEquivalent(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const HouseholdSnapshot first = build(makeInputs(count, 0, 0), T);
    const HouseholdSnapshot second = build(makeInputs(count, 2, 2.1), T.addingSeconds(2));
    bool equivalent = false;
    for (auto _ : state) {
        equivalent = first.isSemanticallyEquivalent(second);
        benchmark::DoNotOptimize(equivalent);
    }
    state.counters["equivalent"] = equivalent ? 1 : 0;
}

}  // namespace

BENCHMARK(BM_BuildSnapshot)->Arg(8)->Arg(32)->Arg(128);
BENCHMARK(BM_CopyInputs)->Arg(8)->Arg(32)->Arg(128);
BENCHMARK(BM_SemanticallyEquivalent)->Arg(8)->Arg(32)->Arg(128);
