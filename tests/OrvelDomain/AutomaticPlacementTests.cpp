#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "FloorplanFixtures.h"
#include "OrvelDomain/FloorplanLayout.h"

using namespace orvel;
using namespace orvel::floorplanTesting;
namespace layout = orvel::FloorplanLayout;

namespace {

std::vector<long long> chainIds(const std::vector<Speaker>& chain) {
    std::vector<long long> out;
    for (const auto& s : chain) out.push_back(number(s.id));
    return out;
}

}  // namespace

TEST(AutomaticPlacement, Coordinates) {
    struct Case {
        const char* what;
        std::vector<Speaker> speakers;
        RFPeerMatrix matrix;
        std::vector<std::tuple<long long, double, double>> expected;
    };
    const Case cases[] = {
        {"a single speaker sits in the middle", {speaker(1, "Den")}, {}, {{1, 0.5, 0.5}}},
        {"living space first, then the bedroom", {speaker(2, "Bedroom"), speaker(1, "Kitchen")}, {},
         {{1, 0.2, 0.5}, {2, 0.8, 0.5}}},
        {"two floors take their spans", {speaker(1, "Upstairs Bath"), speaker(2, "Basement")}, {},
         {{1, 0.5, 0.37}, {2, 0.5, 0.81}}},
        {"no pull across floors in y, none in x from equal x",
         {speaker(1, "Upstairs Bath"), speaker(2, "Basement")}, matrix({{1, 2, strong}}),
         {{1, 0.5, 0.37}, {2, 0.5, 0.81}}},
        {"a strong link pulls 4.8, rounded to 5", {speaker(1, "Kitchen"), speaker(2, "Office")},
         matrix({{1, 2, strong}}), {{1, 0.25, 0.5}, {2, 0.75, 0.5}}},
        {"a moderate link pulls 2.4, rounded to 2", {speaker(1, "Kitchen"), speaker(2, "Office")},
         matrix({{1, 2, moderate}}), {{1, 0.22, 0.5}, {2, 0.78, 0.5}}},
        {"a weak link does not pull", {speaker(1, "Kitchen"), speaker(2, "Office")},
         matrix({{1, 2, weak}}), {{1, 0.2, 0.5}, {2, 0.8, 0.5}}},
        {"equal short names are ordered by identifier", {speaker(2, "Kitchen"), speaker(1, "Kitchen Speaker")}, {},
         {{1, 0.2, 0.5}, {2, 0.8, 0.5}}},
        {"the later speaker with one identifier counts",
         {speaker(1, "Attic"), speaker(2, "Kitchen"), speaker(1, "Basement")}, {},
         {{1, 0.5, 0.81}, {2, 0.5, 0.37}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto coordinates = layout::infer(c.speakers, c.matrix);
        ASSERT_EQ(coordinates.size(), c.expected.size());
        for (const auto& [n, x, y] : c.expected) {
            ASSERT_TRUE(coordinates.contains(id(n))) << n;
            EXPECT_NEAR(coordinates.at(id(n)).x(), x, 1e-12) << n;
            EXPECT_NEAR(coordinates.at(id(n)).y(), y, 1e-12) << n;
        }
    }
    EXPECT_TRUE(layout::infer({}, RFPeerMatrix::empty()).empty());
}

TEST(AutomaticPlacement, SeedGrid) {
    std::vector<Speaker> five;
    for (int i = 1; i <= 5; ++i) five.push_back(speaker(i, "Hall " + std::to_string(i)));
    std::map<SpeakerUUID, std::int64_t> x;
    std::map<SpeakerUUID, std::int64_t> y;
    layout::seedLevel(five, {10, 30}, RFPeerMatrix::empty(), x, y);
    const std::pair<std::int64_t, std::int64_t> expected[] = {{20, 10}, {50, 10}, {80, 10}, {20, 30}, {80, 30}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(x.at(id(i + 1)), expected[i].first) << i;
        EXPECT_EQ(y.at(id(i + 1)), expected[i].second) << i;
    }

    // Ten speakers: four columns, rows of 4, 4 and 2; the middle row halfway down.
    std::vector<Speaker> ten;
    for (int i = 1; i <= 10; ++i) ten.push_back(speaker(i, "Hall " + std::string(1, static_cast<char>('A' + i - 1))));
    x.clear();
    y.clear();
    layout::seedLevel(ten, {20, 80}, RFPeerMatrix::empty(), x, y);
    EXPECT_EQ(x.at(id(2)), 40);
    EXPECT_EQ(y.at(id(5)), 50);
    EXPECT_EQ(x.at(id(10)), 80);
    EXPECT_EQ(y.at(id(10)), 80);

    x.clear();
    layout::seedLevel({}, {20, 80}, RFPeerMatrix::empty(), x, y);
    EXPECT_TRUE(x.empty());
}

TEST(AutomaticPlacement, ChainFollowsGoodLinksThenWings) {
    const std::vector<Speaker> rooms{speaker(4, "Garage"), speaker(3, "Bath"), speaker(2, "Office"), speaker(1, "Kitchen")};
    struct Case { const char* what; RFPeerMatrix matrix; std::vector<long long> chain; };
    const Case cases[] = {
        {"wing order without links", {}, {1, 2, 3, 4}},
        {"a strong link leads", matrix({{1, 4, strong}}), {1, 4, 2, 3}},
        {"a moderate link leads", matrix({{1, 3, moderate}, {3, 4, moderate}}), {1, 3, 4, 2}},
        {"the strongest leads", matrix({{1, 3, moderate}, {1, 4, strong}}), {1, 4, 2, 3}},
        {"a weak link does not lead", matrix({{1, 3, weak}}), {1, 2, 3, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(chainIds(layout::chainByRFAndZone(rooms, c.matrix)), c.chain);
    }
    EXPECT_TRUE(layout::chainByRFAndZone({}, RFPeerMatrix::empty()).empty());
}

TEST(AutomaticPlacement, WingRank) {
    struct Case { const char* name; int rank; };
    const Case cases[] = {
        {"Kitchen", 0}, {"DINING ROOM", 0}, {"Great Room", 0}, {"Family Den", 0}, {"Living Room Speaker", 0},
        {"Master Bedroom", 1}, {"Guest Suite", 1}, {"Nursery", 1}, {"Home Office", 1}, {"Study", 1},
        {"Garage", 2}, {"", 2}, {"Bath", 2},
        {"Kitchen Office", 0},  // living spaces are tested first
    };
    for (const auto& c : cases) EXPECT_EQ(layout::semanticWingRank(c.name), c.rank) << c.name;
}

// No step of the layout depends on the order speakers or nodes arrive in.
TEST(FloorplanLayout, SameResultWhateverTheInputOrder) {
    const char* names[] = {"Kitchen", "Attic", "Garage", "Loft", "Den", "Office", "Living Room", "Bath", "Patio", "Hall",
                           "kitchen Speaker", "Office Soundbar"};
    std::vector<Speaker> speakers;
    std::vector<FloorplanNode> nodes;
    for (int i = 0; i < 12; ++i) {
        speakers.push_back(speaker(100 - i, names[i]));
        nodes.push_back(node(speakers.back(), i % 3 == 0 ? FloorLevel::upper() : FloorLevel::main(), 0.1 + 0.11 * (i % 4),
                             0.2 + 0.25 * (i / 4)));
    }
    RFPeerMatrix m;
    for (int i = 0; i < 12; ++i) {
        for (int j = i + 1; j < 12; ++j) m.record(id(100 - i), id(100 - j), (i * 11 + j * 17) % 60, 0);
    }
    const auto placed = layout::infer(speakers, m);
    const auto floors = layout::classifyFloors(speakers, m);
    const auto rooms = layout::clusterRooms(nodes, m);
    EXPECT_EQ(placed.size(), 12u);
    std::mt19937 shuffle(11);
    for (int round = 0; round < 5; ++round) {
        std::shuffle(speakers.begin(), speakers.end(), shuffle);
        std::shuffle(nodes.begin(), nodes.end(), shuffle);
        EXPECT_EQ(layout::infer(speakers, m), placed);
        EXPECT_EQ(layout::classifyFloors(speakers, m), floors);
        EXPECT_EQ(layout::clusterRooms(nodes, m), rooms);
    }
}

TEST(AutomaticPlacement, ManyFloorsStayOnTheMap) {
    // Ten numbered floors: the spans past the eighth run below the map and clamp to its bottom.
    std::vector<Speaker> speakers;
    for (int floor = 1; floor <= 10; ++floor) speakers.push_back(speaker(floor, "Floor " + std::to_string(floor)));
    auto coordinates = layout::infer(speakers, RFPeerMatrix::empty());
    ASSERT_EQ(coordinates.size(), 10u);
    EXPECT_NEAR(coordinates.at(id(10)).y(), 0.13, 1e-12);  // top floor: span 10...16, middle 13
    EXPECT_EQ(coordinates.at(id(2)).y(), 1.0);             // span 106...106
    EXPECT_EQ(coordinates.at(id(1)).y(), 1.0);
}
