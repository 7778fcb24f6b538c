// The floor-plan engine runs on every change of the speaker set (layout) and on every map
// redraw that changes its inputs (geometry); both must stay far below one 16 ms frame at 32
// speakers.

#include <benchmark/benchmark.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "OrvelDomain/AcousticCurveRouter.h"
#include "OrvelDomain/FloorBandLayout.h"
#include "OrvelDomain/FloorplanLayout.h"
#include "common/Households.h"

using namespace orvel;
using namespace orvel::testing;
namespace router = orvel::AcousticCurveRouter;

namespace {

// A household whose names all sit on one tier, so the radio decides the floors: speakers come
// in floors of eight that hear each other strongly and the other floors weakly. Every pair has
// a reading (a dense matrix).
struct Household {
    std::vector<Speaker> speakers;
    RFPeerMatrix matrix;
};

Household household(int count) {
    static const char* rooms[] = {"Kitchen", "Living Room", "Bedroom", "Office", "Bath", "Hall", "Dining", "Study"};
    Household h;
    for (int i = 0; i < count; ++i) {
        h.speakers.push_back(speaker(sp(i + 1), std::string(rooms[i % 8]) + " " + std::to_string(i / 8 + 1), {.satellites = i % 5 == 0 ? 1 : 0}));
    }
    for (int i = 0; i < count; ++i) {
        for (int j = i + 1; j < count; ++j) {
            bool sameFloor = i / 8 == j / 8;
            std::int64_t strength = sameFloor ? 30 + (i * 7 + j * 3) % 40 : 1 + (i + j) % 18;
            h.matrix.record(sp(i + 1), sp(j + 1), strength, 0);
        }
    }
    return h;
}

std::vector<FloorplanNode> nodesOf(const Household& h) {
    auto [coordinates, floors] = FloorplanLayout::inferWithFloors(h.speakers, h.matrix);
    std::vector<FloorplanNode> nodes;
    for (std::size_t i = 0; i < h.speakers.size(); ++i) {
        const Speaker& s = h.speakers[i];
        // Groups of four rooms, led by the first.
        nodes.push_back({s, floors.at(s.id), coordinates.at(s.id), Placement::inferred, GroupID(h.speakers[i - i % 4].id)});
    }
    return nodes;
}

void BM_LayoutInference(benchmark::State& state) {
    const Household h = household(static_cast<int>(state.range(0)));
    std::size_t floors = 0;
    std::size_t clusters = 0;
    for (auto _ : state) {
        auto [coordinates, levels] = FloorplanLayout::inferWithFloors(h.speakers, h.matrix);
        std::vector<FloorplanNode> nodes;
        nodes.reserve(h.speakers.size());
        for (const auto& s : h.speakers) {
            nodes.push_back({s, levels.at(s.id), coordinates.at(s.id), Placement::inferred, std::nullopt});
        }
        auto rooms = FloorplanLayout::clusterRooms(nodes, h.matrix);
        benchmark::DoNotOptimize(rooms);
        std::set<FloorLevel> distinct;
        for (const auto& [id, level] : levels) distinct.insert(level);
        floors = distinct.size();
        clusters = rooms.size();
    }
    state.counters["speakers"] = static_cast<double>(h.speakers.size());
    state.counters["floors"] = static_cast<double>(floors);
    state.counters["rooms"] = static_cast<double>(clusters);
}
BENCHMARK(BM_LayoutInference)->Arg(8)->Arg(32)->Arg(128)->Unit(benchmark::kMicrosecond);

// What the map does per redraw: bands, one hub per playing group placed clear of rooms and
// earlier hubs, rooms nudged off their hub, then the collision pass per band.
struct MapGeometry {
    std::vector<FloorBandLayout> bands;
    std::map<GroupID, Point> hubs;
    std::map<SpeakerUUID, Point> points;
};

MapGeometry mapGeometry(const std::vector<FloorplanNode>& nodes, Rect plot) {
    auto bandOf = [](const std::vector<FloorBandLayout>& bands, const FloorLevel& level) -> const FloorBandLayout* {
        for (const auto& b : bands) {
            if (b.level == level) return &b;
        }
        return nullptr;
    };
    std::map<GroupID, std::vector<const FloorplanNode*>> groups;
    for (const auto& n : nodes) groups[*n.group].push_back(&n);
    std::map<FloorLevel, std::int64_t> hubCounts;
    for (const auto& [g, members] : groups) ++hubCounts[members.front()->level];

    MapGeometry out;
    out.bands = FloorBandLayout::compute(nodes, plot, hubCounts);
    std::map<SpeakerUUID, Point> base;
    std::vector<Rect> roomObstacles;
    for (const auto& n : nodes) {
        bool satellites = !n.speaker.bondedSatellites.empty();
        Point p = bandOf(out.bands, n.level)->point(n.coordinate, satellites);
        base.insert_or_assign(n.id(), p);
        roomObstacles.push_back(router::nodeObstacleRect(p, satellites));
    }
    std::vector<Rect> placed;
    for (const auto& [g, members] : groups) {
        std::vector<Point> connected;
        for (const auto* m : members) connected.push_back(base.at(m->id()));
        const Rect& frame = bandOf(out.bands, members.front()->level)->frame;
        Rect bounds(frame.minX() + 16, frame.minY() + 38, std::max(frame.width() - 32, 80.0), std::max(frame.height() - 46, 60.0));
        Point hub = router::placeMusicHub(connected, roomObstacles, placed, bounds);
        out.hubs.insert_or_assign(g, hub);
        placed.push_back(router::musicHubRect(hub));
    }
    for (const auto& n : nodes) {
        const FloorBandLayout* band = bandOf(out.bands, n.level);
        Point b = base.at(n.id());
        std::optional<Point> nearest;
        for (const auto& [g, h] : out.hubs) {
            if (!nearest || distance(h, b) < distance(*nearest, b)) nearest = h;
        }
        out.points.insert_or_assign(n.id(), router::nudgedRoomPoint(b, nearest, band->safeInnerRect, 148));
    }
    for (const auto& band : out.bands) {
        std::vector<router::LayoutRoomSpec> rooms;
        for (const auto& n : nodes) {
            if (n.level == band.level) rooms.push_back({n.id(), out.points.at(n.id()), !n.speaker.bondedSatellites.empty(), false});
        }
        std::map<GroupID, Point> bandHubs;
        for (const auto& [g, h] : out.hubs) {
            if (band.frame.contains(h)) bandHubs.insert_or_assign(g, h);
        }
        auto resolved = router::resolveBandCollisions(rooms, bandHubs, band.frame);
        for (const auto& [id, p] : resolved.roomCenters) out.points.insert_or_assign(id, p);
        for (const auto& [g, p] : resolved.hubCenters) out.hubs.insert_or_assign(g, p);
    }
    return out;
}

void BM_MapGeometry(benchmark::State& state) {
    const auto nodes = nodesOf(household(static_cast<int>(state.range(0))));
    const Rect plot = Rect(0, 0, 1400, 900).insetBy(24, 16);
    std::size_t bands = 0;
    for (auto _ : state) {
        auto geometry = mapGeometry(nodes, plot);
        benchmark::DoNotOptimize(geometry);
        bands = geometry.bands.size();
    }
    state.counters["rooms"] = static_cast<double>(nodes.size());
    state.counters["bands"] = static_cast<double>(bands);
}
BENCHMARK(BM_MapGeometry)->Arg(32)->Arg(128)->Unit(benchmark::kMicrosecond);

// The tethers of every group drawn on top of that geometry: each room's tether is routed
// around every card, as the map does on a cold recompute.
void BM_Tethers(benchmark::State& state) {
    const auto nodes = nodesOf(household(static_cast<int>(state.range(0))));
    const Rect plot = Rect(0, 0, 1400, 900).insetBy(24, 16);
    const MapGeometry geometry = mapGeometry(nodes, plot);
    std::vector<Rect> obstacles;
    for (const auto& n : nodes) obstacles.push_back(router::nodeObstacleRect(geometry.points.at(n.id()), !n.speaker.bondedSatellites.empty()));
    for (auto _ : state) {
        std::size_t routed = 0;
        for (const auto& n : nodes) {
            Rect hub = router::musicHubRect(geometry.hubs.at(*n.group));
            Rect room = router::nodeObstacleRect(geometry.points.at(n.id()), !n.speaker.bondedSatellites.empty());
            benchmark::DoNotOptimize(router::routeTether(hub, room, obstacles, plot, 2));
            ++routed;
        }
        benchmark::DoNotOptimize(routed);
    }
    state.counters["tethers"] = static_cast<double>(nodes.size());
}
BENCHMARK(BM_Tethers)->Arg(32)->Arg(128)->Unit(benchmark::kMicrosecond);

}  // namespace
