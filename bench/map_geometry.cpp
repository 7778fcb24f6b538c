// The full map's geometry as the map view asks for it: cold (the layout runs: bands, hubs,
// nudging, collision passes, tethers) and through the memo with an unchanged key (only the key
// is built and compared). The map asks on every hover, selection and pointer move, so a hit
// must cost microseconds and a cold run at 32 speakers must stay well inside one 16 ms frame.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "OrvelDomain/BondedSatellite.h"
#include "OrvelDomain/FloorplanNode.h"
#include "OrvelDomain/PlaybackState.h"
#include "OrvelDomain/RoomCoordinate.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/Speaker.h"
#include "OrvelUI/map/MapGeometry.h"
#include "OrvelUI/map/MapGeometryMemoizer.h"

using namespace orvel;

namespace {

SpeakerUUID speakerID(int n) {
    char text[32];
    std::snprintf(text, sizeof text, "RINCON_%012X01400", static_cast<unsigned>(n));
    return *SpeakerUUID::make(text);
}

Speaker speaker(int n, std::string room, bool withSatellite) {
    std::vector<BondedSatellite> satellites;
    if (withSatellite) {
        satellites.push_back(BondedSatellite{speakerID(0x100000 + n), speakerID(n), SatelliteRole::subwoofer(),
                                             std::nullopt, std::nullopt, true, std::nullopt});
    }
    return Speaker{speakerID(n), std::move(room), SpeakerModel::one(), ReachabilityState::online("127.0.0.1"),
                   DiscreteVolume::snappingPercent(20), std::move(satellites)};
}

struct MapInput {
    std::vector<FloorplanNode> nodes;
    std::vector<SonosGroup> hubGroups;
};

// Floors of eight rooms on a loose grid; every fifth room has a satellite; room i belongs to
// group i mod groups, led by its first room, and every group has a hub.
MapInput household(int speakers, int groups) {
    static const char* rooms[] = {"Kitchen", "Living Room", "Bedroom", "Office", "Bath", "Hall", "Dining", "Study"};
    MapInput in;
    std::vector<std::vector<Speaker>> members(static_cast<std::size_t>(groups));
    for (int i = 0; i < speakers; ++i) {
        Speaker s = speaker(i + 1, std::string(rooms[i % 8]) + " Speaker " + std::to_string(i / 8 + 1), i % 5 == 0);
        const int floor = i / 8;
        const double x = 0.1 + 0.8 * static_cast<double>(i % 4) / 3;
        const double y = (static_cast<double>(floor) + 0.3 + 0.4 * static_cast<double>((i / 4) % 2)) /
                         static_cast<double>((speakers + 7) / 8);
        auto& group = members[static_cast<std::size_t>(i % groups)];
        group.push_back(s);
        in.nodes.push_back(FloorplanNode{s, FloorLevel::numbered(-floor), RoomCoordinate::clamping(x, y),
                                         Placement::inferred, GroupID(group.front().id)});
    }
    for (auto& m : members) {
        const Speaker coordinator = m.front();
        in.hubGroups.push_back(SonosGroup{GroupID(coordinator.id), coordinator,
                                          std::vector<Speaker>(m.begin() + 1, m.end()),
                                          PlaybackState::playing(NowPlaying::stream("Radio"), Duration(), Date()),
                                          DiscreteVolume::snappingPercent(20), coordinator.roomName});
    }
    return in;
}

void report(benchmark::State& state, const PrecomputedMapGeometry& geometry, const MapGeometryMemoizer& memo) {
    std::size_t tethers = 0;
    for (const auto& [group, list] : geometry.tethersByGroup) tethers += list.size();
    state.counters["speakers"] = static_cast<double>(state.range(0));
    state.counters["groups"] = static_cast<double>(state.range(1));
    state.counters["bands"] = static_cast<double>(geometry.bands.size());
    state.counters["tethers"] = static_cast<double>(tethers);
    state.counters["layouts/ask"] =
        static_cast<double>(memo.computeCount()) / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
}

// Every ask changes the viewport width by a whole point, so every ask runs the layout.
void BM_MapGeometryCold(benchmark::State& state) {
    const MapInput in = household(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    MapGeometryMemoizer memo;
    double width = 1400;
    std::shared_ptr<const PrecomputedMapGeometry> geometry;
    for (auto _ : state) {
        width = width == 1400 ? 1401 : 1400;
        geometry = memo.memoizedGeometry(in.nodes, in.hubGroups, {width, 900}, {});
        benchmark::DoNotOptimize(geometry);
    }
    report(state, *geometry, memo);
}

// The same input asked again: the key is built and compared, the layout does not run.
void BM_MapGeometryMemoHit(benchmark::State& state) {
    const MapInput in = household(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    MapGeometryMemoizer memo;
    auto geometry = memo.memoizedGeometry(in.nodes, in.hubGroups, {1400, 900}, {});
    for (auto _ : state) {
        geometry = memo.memoizedGeometry(in.nodes, in.hubGroups, {1400, 900}, {});
        benchmark::DoNotOptimize(geometry);
    }
    report(state, *geometry, memo);
}

void households(benchmark::internal::Benchmark* b) {
    b->Args({8, 2})->Args({32, 8})->Args({128, 16})->Args({32, 2})->Args({32, 16});
}

BENCHMARK(BM_MapGeometryCold)->Apply(households)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapGeometryMemoHit)->Apply(households)->Unit(benchmark::kMicrosecond);

}  // namespace
