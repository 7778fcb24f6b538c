#include <gtest/gtest.h>

#include "FloorplanFixtures.h"
#include "OrvelDomain/FloorplanLayout.h"

using namespace orvel;
using namespace orvel::floorplanTesting;
namespace layout = orvel::FloorplanLayout;

namespace {

// Each cluster as "title: n n n".
std::vector<std::string> summary(const std::vector<FloorplanRoomCluster>& clusters) {
    std::vector<std::string> out;
    for (const auto& c : clusters) {
        std::string line = c.title + ":";
        for (const auto& n : c.nodes) line += " " + std::to_string(number(n.id()));
        out.push_back(line);
    }
    return out;
}

const FloorLevel mainFloor = FloorLevel::main();

}  // namespace

TEST(RoomClustering, ByNameAndByCloseStrongLinks) {
    using Lines = std::vector<std::string>;
    struct Case {
        const char* what;
        std::vector<FloorplanNode> nodes;
        RFPeerMatrix matrix;
        Lines clusters;
    };
    const Case cases[] = {
        {"no nodes", {}, {}, {}},
        {"short names equal ignoring case, far apart",
         {node(speaker(1, "Kitchen Speaker"), mainFloor, 0.1, 0.1), node(speaker(2, "kitchen"), mainFloor, 0.9, 0.9)}, {},
         {"Kitchen: 1 2"}},
        {"the anchor is first in reading order and titles the room",
         {node(speaker(1, "Kitchen Speaker"), mainFloor, 0.9, 0.9), node(speaker(2, "kitchen"), mainFloor, 0.1, 0.1)}, {},
         {"kitchen: 2 1"}},
        {"case folding beyond ASCII",
         {node(speaker(1, "K\xC3\xBC" "che"), mainFloor, 0.1, 0.1), node(speaker(2, "K\xC3\x9C" "CHE Soundbar"), mainFloor, 0.9, 0.9)}, {},
         {"K\xC3\xBC" "che: 1 2"}},
        {"close with a strength above 51",
         {node(speaker(1, "TV"), mainFloor, 0.3, 0.5), node(speaker(2, "Sofa"), mainFloor, 0.5, 0.5)},
         matrix({{1, 2, 52}}), {"TV: 1 2"}},
        {"close with a strength of 51",
         {node(speaker(1, "TV"), mainFloor, 0.3, 0.5), node(speaker(2, "Sofa"), mainFloor, 0.5, 0.5)},
         matrix({{1, 2, 51}}), {"TV: 1", "Sofa: 2"}},
        {"0.23 apart",
         {node(speaker(1, "TV"), mainFloor, 0.3, 0.5), node(speaker(2, "Sofa"), mainFloor, 0.53, 0.5)},
         matrix({{1, 2, 80}}), {"TV: 1", "Sofa: 2"}},
        {"close without a recorded strength",
         {node(speaker(1, "TV"), mainFloor, 0.3, 0.5), node(speaker(2, "Sofa"), mainFloor, 0.31, 0.5)}, {},
         {"TV: 1", "Sofa: 2"}},
        {"candidates are compared with the anchor only",
         {node(speaker(1, "A"), mainFloor, 0.1, 0.5), node(speaker(2, "B"), mainFloor, 0.3, 0.5),
          node(speaker(3, "C"), mainFloor, 0.5, 0.5)},
         matrix({{1, 2, 60}, {2, 3, 60}, {1, 3, 60}}), {"A: 1 2", "C: 3"}},
        {"equal names on different floors, top floor first",
         {node(speaker(1, "Hall"), FloorLevel::lower(), 0.5, 0.5), node(speaker(2, "Hall"), FloorLevel::upper(), 0.5, 0.5)}, {},
         {"Hall: 2", "Hall: 1"}},
        {"y 0.12 apart is one row: x decides",
         {node(speaker(1, "A"), mainFloor, 0.8, 0.5), node(speaker(2, "B"), mainFloor, 0.2, 0.62)}, {},
         {"B: 2", "A: 1"}},
        {"y 0.13 apart are two rows",
         {node(speaker(1, "A"), mainFloor, 0.8, 0.5), node(speaker(2, "B"), mainFloor, 0.2, 0.63)}, {},
         {"A: 1", "B: 2"}},
        {"nearly on top of each other: identifier decides",
         {node(speaker(2, "A"), mainFloor, 0.5, 0.5), node(speaker(1, "B"), mainFloor, 0.53, 0.55)}, {},
         {"B: 1", "A: 2"}},
        {"a second node of one speaker is skipped",
         {node(speaker(1, "A"), mainFloor, 0.1, 0.1), node(speaker(1, "B"), mainFloor, 0.9, 0.9)}, {},
         {"A: 1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(summary(layout::clusterRooms(c.nodes, c.matrix)), c.clusters);
    }
}

TEST(RoomClustering, IdsTitlesAndLevels) {
    auto single = layout::clusterRooms({node(speaker(7, "Office Speaker"), mainFloor, 0.5, 0.5)}, RFPeerMatrix::empty());
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0].id, "0-" + id(7).rawValue());
    EXPECT_EQ(single[0].title, "Office");
    EXPECT_EQ(single[0].level, mainFloor);

    auto pair = layout::clusterRooms({node(speaker(3, "Den"), FloorLevel::lower(), 0.5, 0.5),
                                      node(speaker(4, "den Speaker"), FloorLevel::lower(), 0.1, 0.9)},
                                     RFPeerMatrix::empty());
    ASSERT_EQ(pair.size(), 1u);
    EXPECT_EQ(pair[0].id, "-1-" + id(3).rawValue() + "+" + id(4).rawValue());
    EXPECT_EQ(pair[0].title, "Den");
}

TEST(RoomClustering, AClusterHoldsTheSatellitesOfItsNodesInOrder) {
    Speaker a = speaker(1, "Living", 2);
    Speaker b = speaker(2, "Living", 1);
    FloorplanRoomCluster cluster{"0-x", "Living", mainFloor, {node(a, mainFloor, 0.5, 0.5), node(b, mainFloor, 0.5, 0.5)}};
    std::vector<BondedSatellite> expected = a.bondedSatellites;
    expected.insert(expected.end(), b.bondedSatellites.begin(), b.bondedSatellites.end());
    EXPECT_EQ(cluster.bondedSatellites(), expected);
}
