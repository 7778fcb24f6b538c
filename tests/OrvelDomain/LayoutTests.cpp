// The floor-plan layout: properties over seeded households of 1 to 128 speakers (finite, on the
// map, independent of input order, ending on hostile numbers), then one worked example per rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <tuple>

#include "OrvelDomain/AcousticCurveRouter.h"
#include "OrvelDomain/FloorBandLayout.h"
#include "OrvelDomain/FloorplanLayout.h"
#include "common/Households.h"

using namespace orvel;
using namespace orvel::testing;
namespace layout = orvel::FloorplanLayout;
namespace router = orvel::AcousticCurveRouter;
using router::LayoutRoomSpec;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Strengths that fall in each radio band.
constexpr std::int64_t weak = 10;
constexpr std::int64_t moderate = 25;
constexpr std::int64_t strong = 40;

Speaker room(int n, std::string name, int satellites = 0) { return speaker(sp(n), std::move(name), {.satellites = satellites}); }

FloorplanNode node(Speaker s, FloorLevel level, double x, double y) {
    return FloorplanNode{std::move(s), std::move(level), RoomCoordinate::clamping(x, y), Placement::inferred, std::nullopt};
}

RFPeerMatrix matrix(std::initializer_list<std::tuple<int, int, std::int64_t>> readings) {
    RFPeerMatrix m;
    for (const auto& [a, b, strength] : readings) m.record(sp(a), sp(b), strength, 0);
    return m;
}

bool finite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Names from every tier, repeated rooms and non-ASCII case; satellites and readings at random.
struct Household {
    std::vector<Speaker> speakers;
    RFPeerMatrix matrix;
    std::vector<FloorplanNode> nodes;  // inferred, in groups of up to four
};

Household household(int count, unsigned seed) {
    static const char* names[] = {"Kitchen", "Living Room", "Bedroom", "Office", "Bath",  "Attic", "Basement",
                                  "Loft",    "Garage",      "Den",     "Floor 3", "Hall", "kitchen Speaker", "K\xC3\xBC" "che"};
    std::mt19937 random(seed);
    Household h;
    for (int i = 0; i < count; ++i) {
        h.speakers.push_back(room(i + 1, names[random() % std::size(names)], random() % 5 == 0 ? 1 : 0));
    }
    for (int i = 0; i < count; ++i) {
        for (int j = i + 1; j < count; ++j) {
            if (random() % 3 == 0) h.matrix.record(sp(i + 1), sp(j + 1), static_cast<std::int64_t>(random() % 80), 0);
        }
    }
    const auto coordinates = layout::infer(h.speakers, h.matrix);
    const auto floors = layout::classifyFloors(h.speakers, h.matrix);
    for (int i = 0; i < count; ++i) {
        const Speaker& s = h.speakers[static_cast<std::size_t>(i)];
        h.nodes.push_back({s, floors.at(s.id), coordinates.at(s.id), Placement::inferred, GroupID(sp(i - i % 4 + 1))});
    }
    return h;
}

// Each cluster as "title: n n n", in the order given.
std::vector<std::string> summary(const std::vector<FloorplanRoomCluster>& clusters) {
    std::vector<std::string> out;
    for (const auto& c : clusters) {
        std::string line = c.title + ":";
        for (const auto& n : c.nodes) line += " " + std::to_string(number(n.id()));
        out.push_back(line);
    }
    return out;
}

// No two footprints overlap.
bool apart(const std::vector<Rect>& footprints) {
    for (std::size_t i = 0; i < footprints.size(); ++i) {
        for (std::size_t j = i + 1; j < footprints.size(); ++j) {
            const Rect overlap = footprints[i].intersection(footprints[j]);
            if (overlap.width() > 1e-6 && overlap.height() > 1e-6) return false;
        }
    }
    return true;
}

}  // namespace

TEST(LayoutProperties, SeededHouseholdsLayOutFiniteOnTheMapAndInAnyOrder) {
    const Rect plot = Rect(0, 0, 1400, 900).insetBy(24, 16);
    for (int count : {1, 2, 3, 5, 8, 13, 21, 34, 55, 89, 128}) {
        SCOPED_TRACE(count);
        Household h = household(count, static_cast<unsigned>(count));
        const auto placed = layout::infer(h.speakers, h.matrix);
        const auto floors = layout::classifyFloors(h.speakers, h.matrix);
        EXPECT_EQ(layout::inferWithFloors(h.speakers, h.matrix), (layout::Inferred{placed, floors}));
        ASSERT_EQ(placed.size(), static_cast<std::size_t>(count));
        for (const auto& [id, c] : placed) EXPECT_TRUE(c.x() >= 0 && c.x() <= 1 && c.y() >= 0 && c.y() <= 1) << c.x() << "," << c.y();
        std::set<SpeakerUUID> clustered;
        const auto clusters = layout::clusterRooms(h.nodes, h.matrix);
        for (const auto& cluster : clusters) {
            for (const auto& n : cluster.nodes) EXPECT_TRUE(clustered.insert(n.id()).second);
        }
        EXPECT_EQ(clustered.size(), static_cast<std::size_t>(count));

        std::map<FloorLevel, std::int64_t> hubs;
        for (std::size_t i = 0; i < h.nodes.size(); i += 4) ++hubs[h.nodes[i].level];
        const auto bands = FloorBandLayout::compute(h.nodes, plot, hubs);
        for (const auto& band : bands) {
            std::vector<LayoutRoomSpec> specs;
            std::map<GroupID, Point> hubCenters;
            for (const auto& n : h.nodes) {
                if (n.level != band.level) continue;
                const bool satellites = !n.speaker.bondedSatellites.empty();
                const Point p = band.point(n.coordinate, satellites);
                EXPECT_TRUE(finite(p) && band.frame.contains(p));
                specs.push_back({n.id(), p, satellites, false});
                // One hub per group, on its coordinator's floor, as counted for the band heights.
                if (GroupID(n.id()) == *n.group) hubCenters.try_emplace(*n.group, router::placeMusicHub({p}, {}, {}, band.safeInnerRect));
            }
            const auto resolved = router::resolveBandCollisions(specs, hubCenters, band.frame);
            std::vector<LayoutRoomSpec> reversed(specs.rbegin(), specs.rend());
            EXPECT_EQ(router::resolveBandCollisions(reversed, hubCenters, band.frame), resolved);
            ASSERT_EQ(resolved.roomCenters.size(), specs.size());
            std::vector<Rect> footprints;
            for (const auto& spec : specs) {
                const Point c = resolved.roomCenters.at(spec.id);
                EXPECT_TRUE(finite(c));
                footprints.push_back(router::nodeObstacleRect(c, spec.hasSatellites));
            }
            for (const auto& [group, center] : resolved.hubCenters) footprints.push_back(router::musicHubRect(center));
            for (const auto& [id, center] : resolved.roomCenters) EXPECT_TRUE(band.frame.contains(center)) << band.level.title();
            EXPECT_TRUE(apart(footprints)) << band.level.title();

            for (const auto& spec : resolved.hubCenters.empty() ? std::vector<LayoutRoomSpec>{} : specs) {
                const auto tether = router::routeTether(router::musicHubRect(resolved.hubCenters.begin()->second),
                                                        router::nodeObstacleRect(resolved.roomCenters.at(spec.id), spec.hasSatellites),
                                                        footprints, plot, 2);
                EXPECT_TRUE(finite(tether.start) && finite(tether.control) && finite(tether.end));
            }
        }

        std::mt19937 shuffle(static_cast<unsigned>(count));
        for (int round = 0; round < 3; ++round) {
            std::shuffle(h.speakers.begin(), h.speakers.end(), shuffle);
            std::shuffle(h.nodes.begin(), h.nodes.end(), shuffle);
            EXPECT_EQ(layout::infer(h.speakers, h.matrix), placed);
            EXPECT_EQ(layout::classifyFloors(h.speakers, h.matrix), floors);
            EXPECT_EQ(summary(layout::clusterRooms(h.nodes, h.matrix)), summary(clusters));
        }
    }
}

// The clearance skips obstacles it can rule out by their gaps alone; it must still be the
// smallest signed distance from any of the 17 samples, bit for bit.
TEST(LayoutProperties, CurveClearanceIsTheNearestSampleDistance) {
    std::mt19937 random(11);
    auto coordinate = [&] { return static_cast<double>(random() % 2000) / 2 - 100; };
    for (int round = 0; round < 300; ++round) {
        const AcousticCurveSegment curve{{coordinate(), coordinate()}, {coordinate(), coordinate()}, {coordinate(), coordinate()}};
        std::vector<Rect> obstacles;
        for (unsigned n = random() % 12; n > 0; --n) obstacles.push_back(Rect(coordinate(), coordinate(), 1 + random() % 300, 1 + random() % 200));
        if (obstacles.empty()) continue;
        const double padding = round % 3 == 0 ? 0 : 14;
        double nearest = std::numeric_limits<double>::max();
        for (int k = 0; k <= 16; ++k) {
            const double t = 0.08 + 0.84 * k / 16.0;
            for (const Rect& o : obstacles) {
                nearest = std::min(nearest, router::signedDistance(curve.point(t), std::abs(t - 0.5) < 0.08 ? o.grownBy(padding) : o));
            }
        }
        EXPECT_EQ(router::minObstacleClearance(curve, obstacles, padding), nearest) << round;
    }
}

// The extent holds every point of the curve and reaches as far as the curve does; a curve kept
// inside an area keeps its ends, lies inside and eases its bow no more than it must: it
// touches an edge when it had to move, and is the same curve when it already fitted.
TEST(LayoutProperties, CurvesKeptInsideAnAreaBowAsFarAsTheyMay) {
    std::mt19937 random(5);
    auto coordinate = [&] { return static_cast<double>(random() % 2000) / 4 - 100; };
    auto samples = [](const AcousticCurveSegment& curve) {
        std::vector<Point> points;
        for (int k = 0; k <= 512; ++k) points.push_back(curve.point(k / 512.0));
        return points;
    };
    auto within = [](Point p, const Rect& r, double slack) {
        return p.x >= r.minX() - slack && p.x <= r.maxX() + slack && p.y >= r.minY() - slack && p.y <= r.maxY() + slack;
    };
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE(round);
        const AcousticCurveSegment curve{{coordinate(), coordinate()}, {coordinate(), coordinate()}, {coordinate(), coordinate()}};
        const Rect extent = router::curveExtent(curve);
        const std::vector<Point> points = samples(curve);
        EXPECT_TRUE(std::all_of(points.begin(), points.end(), [&](Point p) { return within(p, extent, 1e-9); }));
        // Each edge is reached: some sample lies on it, up to the spacing of the samples.
        auto reach = [&](auto distanceOf) {
            double nearest = kInf;
            for (Point p : points) nearest = std::min(nearest, distanceOf(p));
            return nearest;
        };
        EXPECT_LT(reach([&](Point p) { return p.x - extent.minX(); }), 0.01);
        EXPECT_LT(reach([&](Point p) { return extent.maxX() - p.x; }), 0.01);
        EXPECT_LT(reach([&](Point p) { return p.y - extent.minY(); }), 0.01);
        EXPECT_LT(reach([&](Point p) { return extent.maxY() - p.y; }), 0.01);

        const Rect ends = Rect(curve.start, Size{0, 0}).unionWith(Rect(curve.end, Size{0, 0}));
        const Rect area = ends.grownBy(static_cast<double>(random() % 60));
        const AcousticCurveSegment kept = router::keptInside(curve, area);
        EXPECT_EQ(kept.start, curve.start);
        EXPECT_EQ(kept.end, curve.end);
        const std::vector<Point> keptPoints = samples(kept);
        EXPECT_TRUE(std::all_of(keptPoints.begin(), keptPoints.end(), [&](Point p) { return within(p, area, 1e-9); }));
        double closest = kInf;
        for (Point p : keptPoints) {
            closest = std::min({closest, p.x - area.minX(), area.maxX() - p.x, p.y - area.minY(), area.maxY() - p.y});
        }
        if (area.contains(extent)) {
            EXPECT_EQ(kept, curve);
        } else {
            EXPECT_LT(closest, 0.01);
        }
    }
    // Bulging 50 above the area's top, the curve is eased until it just touches it.
    const auto kept = router::keptInside({{0, 100}, {200, -200}, {400, 100}}, Rect(-10, 0, 420, 200));
    EXPECT_NEAR(kept.control.x, 200, 1e-9);
    EXPECT_NEAR(kept.control.y, -100, 1e-6);
    // An end outside the area: the straight chord.
    EXPECT_EQ(router::keptInside({{0, 100}, {200, -200}, {400, 100}}, Rect(10, 0, 420, 200)),
              (AcousticCurveSegment{{0, 100}, {200, 100}, {400, 100}}));
}

// Each call must return (the suite's time-out catches a hang); band coordinates and rooms placed
// beside a broken one stay finite.
TEST(LayoutProperties, NonFiniteInputEndsWithFinitePositions) {
    const auto nodes = household(6, 7).nodes;
    for (double bad : {kNaN, kInf, -kInf}) {
        SCOPED_TRACE(bad);
        EXPECT_TRUE(std::isfinite(FloorBandLayout::requiredBandHeight(nodes, 1, bad)));
        EXPECT_TRUE(FloorBandLayout::compute(nodes, Rect(0, 0, bad, 800), {}).empty());
        EXPECT_TRUE(FloorBandLayout::compute(nodes, Rect(bad, 0, 1000, 800), {}).empty());

        const FloorBandLayout band = FloorBandLayout::compute({}, Rect(0, 0, 1000, 800), {}).front();
        const RoomCoordinate back = band.coordinate({bad, bad}, false);
        EXPECT_TRUE(std::isfinite(back.x()) && std::isfinite(back.y()));
        EXPECT_TRUE(finite(band.clampPoint({bad, 10}, true)));
        EXPECT_TRUE(finite(band.clampPoint({10, bad}, false)));

        const Point badPoint{bad, 100};
        EXPECT_TRUE(finite(router::nudgedRoomPoint(badPoint, Point{200, 200}, Rect(0, 0, 1000, 1000), 148)));
        EXPECT_TRUE(finite(router::nudgedRoomPoint({100, bad}, std::nullopt, Rect(0, 0, 1000, 1000), 148)));
        router::placeMusicHub({badPoint, {10, 10}}, {Rect(0, 0, 50, 50)}, {}, Rect(0, 0, 1000, 400));
        router::placeMusicHub({{10, 10}}, {}, {}, Rect(0, 0, bad, 400));
        router::routeSegment(badPoint, {400, 100}, {Rect(180, 50, 40, 100)}, Rect(0, 0, 1000, 400), 14);
        router::routeTether(Rect(0, 0, bad, 100), Rect(400, 0, 100, 100), {}, std::nullopt, 2);
        router::routeChain({badPoint, {0, 0}, {300, 0}}, {}, std::nullopt, 14);
        const auto resolved = router::resolveBandCollisions(
            {{sp(1), badPoint, false, false}, {sp(2), {500, 150}, true, false}}, {{GroupID(sp(1)), badPoint}}, Rect(0, 0, 1000, 300));
        EXPECT_TRUE(finite(resolved.roomCenters.at(sp(2))));
        router::resolveBandCollisions({{sp(1), {10, 10}, false, false}, {sp(2), {10, 10}, false, false}}, {}, Rect(0, 0, bad, 300));
    }
}

// The dense index answers every lookup as the matrix does: pairs stored the other way round
// (as a read matrix may hold them) stay unfound, a speaker listed twice shares its answers,
// and a speaker the matrix never heard of has none.
TEST(LayoutProperties, RadioIndexAnswersAsTheMatrix) {
    auto pair = [](int low, int high) { return Json{{"low", sp(low).rawValue()}, {"high", sp(high).rawValue()}}; };
    const auto read = RFPeerMatrix::fromJson(Json{{"bands", Json::array({pair(2, 1), 3, pair(1, 1), 2, pair(1, 3), 1})},
                                                   {"strengths", Json::array({pair(3, 2), 50, pair(1, 3), 12})}});
    ASSERT_TRUE(read.has_value());
    const RFPeerMatrix matrices[] = {*read, household(13, 5).matrix, matrix({{1, 2, strong}, {2, 4, weak}, {3, 1, moderate}})};
    const std::vector<SpeakerUUID> ids{sp(3), sp(1), sp(9), sp(2), sp(1), sp(4), sp(99), sp(13)};
    for (const auto& m : matrices) {
        const RFPeerMatrix::Index index(m, ids);
        for (std::size_t a = 0; a < ids.size(); ++a) {
            for (std::size_t b = 0; b < ids.size(); ++b) {
                EXPECT_EQ(index.band(a, b), m.band(ids[a], ids[b])) << a << "," << b;
                EXPECT_EQ(index.strength(a, b), m.strength(ids[a], ids[b])) << a << "," << b;
            }
        }
    }
}

TEST(LayoutAnchors, InferredCoordinates) {
    struct Case { const char* what; std::vector<Speaker> speakers; RFPeerMatrix matrix; std::vector<std::tuple<int, double, double>> expected; };
    const Case cases[] = {
        {"a single speaker sits in the middle", {room(1, "Den")}, {}, {{1, 0.5, 0.5}}},
        {"living space first, then the bedroom", {room(2, "Bedroom"), room(1, "Kitchen")}, {}, {{1, 0.2, 0.5}, {2, 0.8, 0.5}}},
        {"two floors take their spans", {room(1, "Upstairs Bath"), room(2, "Basement")}, {}, {{1, 0.5, 0.37}, {2, 0.5, 0.81}}},
        {"a strong link pulls", {room(1, "Kitchen"), room(2, "Office")}, matrix({{1, 2, strong}}), {{1, 0.25, 0.5}, {2, 0.75, 0.5}}},
        {"a weak link does not", {room(1, "Kitchen"), room(2, "Office")}, matrix({{1, 2, weak}}), {{1, 0.2, 0.5}, {2, 0.8, 0.5}}},
        {"the later speaker with one identifier counts", {room(1, "Attic"), room(2, "Kitchen"), room(1, "Basement")}, {},
         {{1, 0.5, 0.81}, {2, 0.5, 0.37}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto coordinates = layout::infer(c.speakers, c.matrix);
        ASSERT_EQ(coordinates.size(), c.expected.size());
        for (const auto& [n, x, y] : c.expected) {
            EXPECT_NEAR(coordinates.at(sp(n)).x(), x, 1e-12) << n;
            EXPECT_NEAR(coordinates.at(sp(n)).y(), y, 1e-12) << n;
        }
    }
}

TEST(LayoutAnchors, FloorsByNameTiersThenRadio) {
    using Floors = std::map<SpeakerUUID, FloorLevel>;
    const std::vector<Speaker> four{room(1, "Kitchen"), room(2, "Bedroom"), room(3, "Bath"), room(4, "Hall")};
    const Floors allMain{{sp(1), FloorLevel::main()}, {sp(2), FloorLevel::main()}, {sp(3), FloorLevel::main()}, {sp(4), FloorLevel::main()}};
    struct Case { const char* what; std::vector<Speaker> speakers; RFPeerMatrix matrix; Floors expected; };
    const Case cases[] = {
        {"an attic alone is upper", {room(1, "Attic")}, {}, {{sp(1), FloorLevel::upper()}}},
        {"a basement and a ground floor: upper and lower", {room(1, "Kitchen"), room(2, "Cellar")}, {},
         {{sp(1), FloorLevel::upper()}, {sp(2), FloorLevel::lower()}}},
        {"three tiers", {room(1, "Loft"), room(2, "Kitchen"), room(3, "Garage")}, {},
         {{sp(1), FloorLevel::upper()}, {sp(2), FloorLevel::main()}, {sp(3), FloorLevel::lower()}}},
        {"four tiers are numbered from the top, explicit numbers too",
         {room(1, "Floor 12"), room(2, "Floor 3"), room(3, "Level 1"), room(4, "Floor 0")}, {},
         {{sp(1), FloorLevel::numbered(4)}, {sp(2), FloorLevel::numbered(3)}, {sp(3), FloorLevel::numbered(2)}, {sp(4), FloorLevel::numbered(1)}}},
        {"radio: two groups with a weak link between them", four, matrix({{1, 2, strong}, {3, 4, strong}, {2, 4, weak}}),
         {{sp(1), FloorLevel::upper()}, {sp(2), FloorLevel::upper()}, {sp(3), FloorLevel::lower()}, {sp(4), FloorLevel::lower()}}},
        {"radio: no weak link between the groups", four, matrix({{1, 2, strong}, {3, 4, strong}}), allMain},
        {"radio: a good link between the groups joins them", four,
         matrix({{1, 2, strong}, {3, 4, strong}, {2, 4, weak}, {1, 3, moderate}}), allMain},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(layout::classifyFloors(c.speakers, c.matrix), c.expected);
    }
    const auto clusters = layout::verticalRFClusters({room(4, "x"), room(2, "x"), room(3, "x"), room(1, "x")},
                                                     matrix({{4, 3, strong}, {2, 1, strong}, {4, 2, weak}}));
    EXPECT_EQ(clusters, (std::vector<std::vector<SpeakerUUID>>{{sp(1), sp(2)}, {sp(3), sp(4)}}));
}

TEST(LayoutAnchors, ChainAndWings) {
    const std::vector<Speaker> rooms{room(4, "Garage"), room(3, "Bath"), room(2, "Office"), room(1, "Kitchen")};
    struct Case { const char* what; RFPeerMatrix matrix; std::vector<int> chain; };
    const Case cases[] = {
        {"wing order without links", {}, {1, 2, 3, 4}},
        {"the strongest good link leads", matrix({{1, 3, moderate}, {1, 4, strong}}), {1, 4, 2, 3}},
        {"a weak link does not lead", matrix({{1, 3, weak}}), {1, 2, 3, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<int> chain;
        for (const auto& s : layout::chainByRFAndZone(rooms, c.matrix)) chain.push_back(number(s.id));
        EXPECT_EQ(chain, c.chain);
    }
    // Living spaces are tested first.
    EXPECT_EQ(layout::semanticWingRank("Kitchen Office"), layout::semanticWingRank("Kitchen"));
    EXPECT_LT(layout::semanticWingRank("Guest Suite"), layout::semanticWingRank("Garage"));
}

TEST(LayoutAnchors, RoomClusters) {
    const FloorLevel main = FloorLevel::main();
    struct Case { const char* what; std::vector<FloorplanNode> nodes; RFPeerMatrix matrix; std::vector<std::string> clusters; };
    const Case cases[] = {
        {"short names equal ignoring case, beyond ASCII",
         {node(room(1, "K\xC3\xBC" "che"), main, 0.1, 0.1), node(room(2, "K\xC3\x9C" "CHE Soundbar"), main, 0.9, 0.9)}, {},
         {"K\xC3\xBC" "che: 1 2"}},
        {"close with a strength above 51", {node(room(1, "TV"), main, 0.3, 0.5), node(room(2, "Sofa"), main, 0.5, 0.5)},
         matrix({{1, 2, 52}}), {"TV: 1 2"}},
        {"close with a strength of 51", {node(room(1, "TV"), main, 0.3, 0.5), node(room(2, "Sofa"), main, 0.5, 0.5)},
         matrix({{1, 2, 51}}), {"TV: 1", "Sofa: 2"}},
        {"equal names on different floors, top floor first",
         {node(room(1, "Hall"), FloorLevel::lower(), 0.5, 0.5), node(room(2, "Hall"), FloorLevel::upper(), 0.5, 0.5)}, {},
         {"Hall: 2", "Hall: 1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(summary(layout::clusterRooms(c.nodes, c.matrix)), c.clusters);
    }
}

TEST(LayoutAnchors, FloorBands) {
    auto rooms = [](int count, FloorLevel level, int satellites = 0) {
        std::vector<FloorplanNode> out;
        for (int i = 0; i < count; ++i) out.push_back(node(room(i + 1, "Room", i == 0 ? satellites : 0), level, 0.5, 0.5));
        return out;
    };
    EXPECT_DOUBLE_EQ(FloorBandLayout::requiredBandHeight(rooms(3, FloorLevel::main()), 0, 1000), 164);
    EXPECT_DOUBLE_EQ(FloorBandLayout::requiredBandHeight(rooms(3, FloorLevel::main()), 1, 1000), 174);
    // An unusable width counts as the narrowest; an endless one puts everything in one row.
    for (std::int64_t hubs : {0, 1}) {
        EXPECT_DOUBLE_EQ(FloorBandLayout::requiredBandHeight(rooms(3, FloorLevel::main()), hubs, kNaN),
                         FloorBandLayout::requiredBandHeight(rooms(3, FloorLevel::main()), hubs, 100));
    }
    EXPECT_DOUBLE_EQ(FloorBandLayout::requiredBandHeight(rooms(40, FloorLevel::main()), 0, kInf), 164);

    auto nodes = rooms(1, FloorLevel::lower());
    nodes.push_back(node(room(2, "Room"), FloorLevel::upper(), 0.5, 0.5));
    const auto bands = FloorBandLayout::compute(nodes, Rect(10, 20, 1000, 600), {});
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0].level, FloorLevel::upper());
    EXPECT_EQ(bands[0].frame, Rect(10, 20, 1000, 293));
    EXPECT_EQ(bands[1].frame, Rect(10, 327, 1000, 293));

    const FloorBandLayout band = FloorBandLayout::compute({}, Rect(0, 0, 1000, 800), {}).front();
    for (bool satellites : {false, true}) {
        for (double x : {0.0, 0.13, 0.99}) {
            for (double y : {0.2, 0.37, 0.8}) {
                const RoomCoordinate back = band.coordinate(band.point(RoomCoordinate::clamping(x, y), satellites), satellites);
                EXPECT_NEAR(back.x(), x, 1e-12);
                EXPECT_NEAR(back.y(), y, 1e-12);
            }
        }
    }
}

TEST(LayoutAnchors, HubsAndTethers) {
    const Rect bounds(0, 0, 1000, 400);
    // A room near the top: the hub goes below it.
    EXPECT_EQ(router::placeMusicHub({{500, 100}}, {}, {}, bounds), (Point{500, 244}));
    // The ideal spot is taken by a room and an earlier hub: the hub finds a clear one.
    const std::vector<Rect> roomObstacles{router::nodeObstacleRect({600, 344}, false)};
    const std::vector<Rect> hubs{router::musicHubRect({300, 344})};
    const Point hub = router::placeMusicHub({{600, 200}}, roomObstacles, hubs, Rect(0, 0, 1200, 600));
    EXPECT_GE(router::hubClearance(hub, {roomObstacles[0].insetBy(-20, -22), hubs[0].insetBy(-24, -22)}), 0);

    const Rect safe(0, 0, 1000, 1000);
    EXPECT_EQ(router::nudgedRoomPoint({400, 200}, Point{200, 200}, safe, 148), (Point{400, 200}));
    EXPECT_EQ(router::nudgedRoomPoint({200, 20}, Point{200, 20}, safe, 148), (Point{200, 0}));

    struct Case { const char* what; Point start, end; std::vector<Rect> obstacles; std::optional<Rect> bounds; Point control; };
    const Case cases[] = {
        {"long horizontal: bows upwards", {0, 100}, {400, 100}, {}, {}, {200, 72}},
        {"vertical bulges left", {0, 0}, {0, 100}, {}, {}, {-12, 50}},
        {"bows down when up leaves the bounds", {50, 30}, {350, 30}, {}, Rect(0, 0, 400, 200), {200, 58}},
        {"bows around an obstacle", {0, 200}, {400, 200}, {Rect(180, 150, 40, 30)}, {}, {200, 240}},
        {"obstacles around the ends are ignored", {0, 100}, {400, 100}, {Rect(-50, 50, 100, 100)}, {}, {200, 72}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto segment = router::routeSegment(c.start, c.end, c.obstacles, c.bounds, 14);
        EXPECT_NEAR(segment.control.x, c.control.x, 1e-9);
        EXPECT_NEAR(segment.control.y, c.control.y, 1e-9);
    }
    // Nearest next, not sorted next.
    EXPECT_EQ(router::orderedChain({{0, 0}, {50, 200}, {110, 0}}), (std::vector<Point>{{0, 0}, {110, 0}, {50, 200}}));
    const AcousticCurveSegment line{{0, 50}, {200, 50}, {400, 50}};
    const auto clipped = router::clippedSegment(line, Rect(0, 0, 100, 100), Rect(300, 0, 110, 100), 0);
    EXPECT_NEAR(clipped.start.x, 100, 0.01);
    EXPECT_NEAR(clipped.end.x, 300, 0.01);
}

TEST(LayoutAnchors, Collisions) {
    const Rect band(0, 0, 1000, 300);
    const LayoutRoomSpec a{sp(1), {500, 150}, false, false};
    const LayoutRoomSpec b{sp(2), {500, 150}, false, false};
    // Coincident cards split with the smaller identifier on the left, whatever the order.
    for (const auto& rooms : {std::vector{a, b}, std::vector{b, a}}) {
        const auto result = router::resolveBandCollisions(rooms, {}, band);
        EXPECT_NEAR(result.roomCenters.at(a.id).x, 406.8, 1e-9);
        EXPECT_NEAR(result.roomCenters.at(b.id).x, 593.2, 1e-9);
    }
    // A pinned room never moves, even outside the band.
    const LayoutRoomSpec pinned{sp(3), {-400, 900}, false, true};
    EXPECT_EQ(router::resolveBandCollisions({pinned, b}, {}, band).roomCenters.at(pinned.id), pinned.center);
    // A band too short for the clamp falls back to shelves.
    EXPECT_EQ(router::resolveBandCollisions({{sp(1), {10, 10}, false, false}}, {}, Rect(0, 0, 300, 120)).roomCenters.at(sp(1)),
              (Point{150, 91}));
    // Shelves: rows by position, each centred, hubs among the rooms by x.
    const auto packed = router::deterministicShelfPack(
        {{sp(2), {300, 105}, false, false}, {sp(3), {120, 300}, false, false}, {sp(1), {100, 100}, false, false}},
        {{GroupID(sp(7)), {600, 110}}}, Rect(0, 0, 700, 400), 20, 42, 24, 24);
    EXPECT_EQ(packed.roomCenters.at(sp(1)), (Point{239, 131}));
    EXPECT_EQ(packed.roomCenters.at(sp(3)), (Point{140, 286}));
    EXPECT_EQ(packed.hubCenters.at(GroupID(sp(7))), (Point{461, 286}));
    // Shelves taller than the band: the rooms' rows first, nothing overlapping, the rest below.
    std::vector<LayoutRoomSpec> crowd;
    for (int i = 1; i <= 14; ++i) crowd.push_back({sp(i), {350, 100}, i % 3 == 0, false});
    const auto crowded = router::deterministicShelfPack(crowd, {{GroupID(sp(1)), {350, 60}}, {GroupID(sp(2)), {100, 60}}},
                                                        Rect(0, 0, 700, 400), 20, 42, 24, 24);
    std::vector<Rect> footprints;
    double lowestRoom = 0;
    for (const auto& spec : crowd) {
        footprints.push_back(router::nodeObstacleRect(crowded.roomCenters.at(spec.id), spec.hasSatellites));
        lowestRoom = std::max(lowestRoom, crowded.roomCenters.at(spec.id).y);
    }
    for (const auto& [group, center] : crowded.hubCenters) {
        footprints.push_back(router::musicHubRect(center));
        EXPECT_GT(center.y, lowestRoom);
    }
    EXPECT_TRUE(apart(footprints));
}

TEST(LayoutAnchors, RectangleRules) {
    const Rect r(0, 0, 10, 10);
    // contains(point) is half-open, contains(rect) closed.
    EXPECT_TRUE(r.contains(Point{0, 0}));
    EXPECT_FALSE(r.contains(Point{10, 5}));
    EXPECT_FALSE(r.contains(Point{kNaN, 5}));
    EXPECT_TRUE(r.contains(Rect(10, 10, 0, 0)));
    // Inset past its size: the null rectangle, which nothing contains or meets.
    EXPECT_FALSE(r.insetBy(5, 5).isNull());
    EXPECT_TRUE(r.insetBy(6, 0).isNull());
    EXPECT_TRUE(r.insetBy(kNaN, 0).isNull());
    EXPECT_FALSE(r.intersects(Rect::null()));
    // Intersection is closed: a shared edge meets.
    EXPECT_EQ(r.intersection(Rect(10, 0, 5, 10)), Rect(10, 0, 0, 10));
    EXPECT_EQ(Rect::null().unionWith(Rect(1, 1, 2, 2)), Rect(1, 1, 2, 2));
    // Equality on the standardised form.
    EXPECT_EQ(Rect(10, 10, -10, -10), r);
}
