// The compact map's rules: its floors and their order, the rooms of a floor in reading order,
// which floor a hub belongs to, the count line and what a dropped text does.

#include <gtest/gtest.h>

#include "MapGeometryFixtures.h"
#include "OrvelUI/map/CompactFloorplan.h"

namespace orvel::testing {
namespace {

std::vector<int> numbers(const std::vector<FloorplanNode>& nodes) {
    std::vector<int> out;
    for (const auto& n : nodes) out.push_back(number(n.id()));
    return out;
}

std::vector<std::string> titles(const std::vector<FloorLevel>& levels) {
    std::vector<std::string> out;
    for (const auto& l : levels) out.push_back(std::to_string(l.rank()) + " " + l.title());
    return out;
}

TEST(CompactFloorplan, FloorsHighestFirstThenGreaterTitleAndMainWhenEmpty) {
    EXPECT_EQ(titles(CompactFloorplan::distinctLevels({})), std::vector<std::string>{"0 Main Floor"});
    const std::vector<FloorplanNode> nodes{
        mapNode(speaker(1, "A"), 0, 0, {}, FloorLevel(0, "Main Floor")),
        mapNode(speaker(2, "B"), 0, 0, {}, FloorLevel(1, "Annex")),
        mapNode(speaker(3, "C"), 0, 0, {}, FloorLevel(1, "Upper Floor")),
        mapNode(speaker(4, "D"), 0, 0, {}, FloorLevel(0, "Main Floor")),
        mapNode(speaker(5, "E"), 0, 0, {}, FloorLevel(-1, "Upper Floor")),
    };
    EXPECT_EQ(titles(CompactFloorplan::distinctLevels(nodes)),
              (std::vector<std::string>{"1 Upper Floor", "1 Annex", "0 Main Floor", "-1 Upper Floor"}));
}

TEST(CompactFloorplan, RoomsReadRowByRowWithAStableInsertionOrder) {
    struct Case {
        const char* name;
        std::vector<std::pair<double, double>> at;  // x, y of rooms 1, 2, …
        std::vector<int> order;
    };
    const Case cases[] = {
        {"sameRowByX", {{0.9, 0.10}, {0.1, 0.18}}, {2, 1}},
        {"rowsApartByY", {{0.1, 0.21}, {0.9, 0.10}}, {2, 1}},
        {"exactlyATenthIsOneRow", {{0.1, 0.1}, {0.9, 0.0}}, {1, 2}},
        // 1 and 3 are two rows apart, 2 is a row with each: the insertion order decides.
        {"chainedRows", {{0.5, 0.16}, {0.9, 0.08}, {0.1, 0.00}}, {3, 1, 2}},
        {"tiesKeepNodeOrder", {{0.5, 0.5}, {0.5, 0.5}, {0.5, 0.5}}, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        std::vector<FloorplanNode> nodes;
        int n = 1;
        for (auto [x, y] : c.at) nodes.push_back(mapNode(speaker(n++, "R"), x, y));
        nodes.push_back(mapNode(speaker(50, "Elsewhere"), 0, 0, {}, FloorLevel::upper()));
        EXPECT_EQ(numbers(CompactFloorplan::rooms(nodes, FloorLevel::main())), c.order) << c.name;
    }
}

TEST(CompactFloorplan, HubStandsOnTheFloorOfItsFirstSpeakerOnTheMap) {
    const Speaker a = speaker(1, "Kitchen"), b = speaker(2, "Loft"), c = speaker(3, "Den"), d = speaker(4, "Ghost");
    // The coordinator of group 4 has no node: its member 2 upstairs decides.
    const std::vector<FloorplanNode> nodes{mapNode(a, 0, 0, gid(1)), mapNode(b, 0, 0, gid(4), FloorLevel::upper()),
                                           mapNode(c, 0, 0, gid(1))};
    const std::vector<SonosGroup> hubs{group({a, c}), group({d, b}), group({speaker(5, "Nowhere")})};
    ASSERT_EQ(CompactFloorplan::hubs(hubs, nodes, FloorLevel::main()).size(), 1u);
    EXPECT_EQ(CompactFloorplan::hubs(hubs, nodes, FloorLevel::main())[0].id, gid(1));
    ASSERT_EQ(CompactFloorplan::hubs(hubs, nodes, FloorLevel::upper()).size(), 1u);
    EXPECT_EQ(CompactFloorplan::hubs(hubs, nodes, FloorLevel::upper())[0].id, gid(4));
}

TEST(CompactFloorplan, RoomCountSingularOnlyForOne) {
    EXPECT_EQ(CompactFloorplan::roomCountText(0), "0 Rooms");
    EXPECT_EQ(CompactFloorplan::roomCountText(1), "1 Room");
    EXPECT_EQ(CompactFloorplan::roomCountText(5), "5 Rooms");
}

TEST(CompactFloorplan, DropTakesTheFirstTextAsAnotherRoom) {
    const std::string other = sp(2).rawValue();
    struct Case {
        const char* name;
        std::vector<std::string> texts;
        std::optional<SpeakerUUID> member;
    };
    const Case cases[] = {
        {"nothing", {}, std::nullopt},
        {"roomName", {"Kitchen"}, std::nullopt},
        {"itself", {sp(1).rawValue()}, std::nullopt},
        {"another", {other}, sp(2)},
        {"onlyTheFirst", {other, sp(3).rawValue()}, sp(2)},
        {"firstNotAnId", {"Kitchen", other}, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(CompactFloorplan::droppedMember(c.texts, sp(1)), c.member) << c.name;
}

}  // namespace
}  // namespace orvel::testing
