#include <gtest/gtest.h>

#include "FloorplanFixtures.h"
#include "OrvelDomain/FloorplanLayout.h"

using namespace orvel;
using namespace orvel::floorplanTesting;
namespace layout = orvel::FloorplanLayout;

namespace {

std::map<SpeakerUUID, FloorLevel> floorsOf(std::initializer_list<std::pair<long long, FloorLevel>> entries) {
    std::map<SpeakerUUID, FloorLevel> out;
    for (const auto& [n, level] : entries) out.insert_or_assign(id(n), level);
    return out;
}

}  // namespace

TEST(FloorAssignment, ByNameTiers) {
    struct Case {
        const char* what;
        std::vector<Speaker> speakers;
        std::map<SpeakerUUID, FloorLevel> expected;
    };
    const Case cases[] = {
        {"no speakers", {}, {}},
        {"a den alone is lower", {speaker(1, "Den")}, floorsOf({{1, FloorLevel::lower()}})},
        {"an attic alone is only upper", {speaker(1, "Attic")}, floorsOf({{1, FloorLevel::upper()}})},
        {"one plain tier is main",
         {speaker(1, "Kitchen"), speaker(2, "Bedroom")},
         floorsOf({{1, FloorLevel::main()}, {2, FloorLevel::main()}})},
        {"two tiers are upper and lower whatever their values",
         {speaker(1, "Upstairs Bath"), speaker(2, "Basement")},
         floorsOf({{1, FloorLevel::upper()}, {2, FloorLevel::lower()}})},
        {"a basement and a ground floor: the ground floor shows as upper",
         {speaker(1, "Kitchen"), speaker(2, "Cellar")},
         floorsOf({{1, FloorLevel::upper()}, {2, FloorLevel::lower()}})},
        {"three tiers",
         {speaker(1, "Loft"), speaker(2, "Kitchen"), speaker(3, "Garage")},
         floorsOf({{1, FloorLevel::upper()}, {2, FloorLevel::main()}, {3, FloorLevel::lower()}})},
        {"four tiers are numbered from the top",
         {speaker(1, "Attic"), speaker(2, "Loft"), speaker(3, "Hall"), speaker(4, "Garage")},
         floorsOf({{1, FloorLevel::numbered(4)}, {2, FloorLevel::numbered(3)}, {3, FloorLevel::numbered(2)},
                   {4, FloorLevel::numbered(1)}})},
        {"explicit floor numbers rank too",
         {speaker(1, "Floor 12"), speaker(2, "Floor 3"), speaker(3, "Level 1"), speaker(4, "Floor 0"), speaker(5, "Floor 3 Bath")},
         floorsOf({{1, FloorLevel::numbered(4)}, {2, FloorLevel::numbered(3)}, {3, FloorLevel::numbered(2)},
                   {4, FloorLevel::numbered(1)}, {5, FloorLevel::numbered(3)}})},
        {"the later of two speakers with one identifier counts",
         {speaker(1, "Attic"), speaker(2, "Kitchen"), speaker(1, "Basement")},
         floorsOf({{1, FloorLevel::lower()}, {2, FloorLevel::upper()}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(layout::classifyFloors(c.speakers, RFPeerMatrix::empty()), c.expected);
    }
}

TEST(FloorAssignment, ByRadioClusters) {
    const std::vector<Speaker> four{speaker(1, "Kitchen"), speaker(2, "Bedroom"), speaker(3, "Bath"), speaker(4, "Hall")};
    struct Case {
        const char* what;
        std::vector<Speaker> speakers;
        RFPeerMatrix matrix;
        std::map<SpeakerUUID, FloorLevel> expected;
    };
    const auto allMain = floorsOf({{1, FloorLevel::main()}, {2, FloorLevel::main()}, {3, FloorLevel::main()}, {4, FloorLevel::main()}});
    auto withFifth = four;
    withFifth.push_back(speaker(5, "Study"));
    const Case cases[] = {
        {"two groups with a weak link between them",
         four, matrix({{1, 2, strong}, {3, 4, strong}, {2, 4, weak}}),
         floorsOf({{1, FloorLevel::upper()}, {2, FloorLevel::upper()}, {3, FloorLevel::lower()}, {4, FloorLevel::lower()}})},
        {"moderate links group as well as strong ones",
         four, matrix({{1, 3, moderate}, {2, 4, moderate}, {1, 4, weak}}),
         floorsOf({{1, FloorLevel::upper()}, {3, FloorLevel::upper()}, {2, FloorLevel::lower()}, {4, FloorLevel::lower()}})},
        {"no weak link between the groups: one floor",
         four, matrix({{1, 2, strong}, {3, 4, strong}}), allMain},
        {"a good link between the groups joins them",
         four, matrix({{1, 2, strong}, {3, 4, strong}, {2, 4, weak}, {1, 3, moderate}}), allMain},
        {"a fifth speaker without a good link: one floor",
         withFifth, matrix({{1, 2, strong}, {3, 4, strong}, {2, 4, weak}, {5, 1, weak}}),
         floorsOf({{1, FloorLevel::main()}, {2, FloorLevel::main()}, {3, FloorLevel::main()}, {4, FloorLevel::main()},
                   {5, FloorLevel::main()}})},
        {"fewer than four speakers never split by radio",
         {speaker(1, "Kitchen"), speaker(2, "Bedroom"), speaker(3, "Bath")},
         matrix({{1, 2, strong}, {2, 3, weak}}),
         floorsOf({{1, FloorLevel::main()}, {2, FloorLevel::main()}, {3, FloorLevel::main()}})},
        {"names that disagree take the tier path",
         {speaker(1, "Attic"), speaker(2, "Bedroom"), speaker(3, "Bath"), speaker(4, "Hall")},
         matrix({{1, 2, strong}, {3, 4, strong}, {2, 4, weak}}),
         floorsOf({{1, FloorLevel::upper()}, {2, FloorLevel::lower()}, {3, FloorLevel::lower()}, {4, FloorLevel::lower()}})},
        {"three groups: upper, main, lower by smallest identifier",
         {speaker(5, "A"), speaker(6, "B"), speaker(1, "C"), speaker(2, "D"), speaker(3, "E"), speaker(4, "F")},
         matrix({{1, 2, strong}, {3, 4, strong}, {5, 6, strong}, {2, 3, weak}, {4, 5, weak}, {1, 6, weak}}),
         floorsOf({{1, FloorLevel::upper()}, {2, FloorLevel::upper()}, {3, FloorLevel::main()}, {4, FloorLevel::main()},
                   {5, FloorLevel::lower()}, {6, FloorLevel::lower()}})},
        {"four groups are numbered",
         {speaker(1, "A"), speaker(2, "B"), speaker(3, "C"), speaker(4, "D"), speaker(5, "E"), speaker(6, "F"),
          speaker(7, "G"), speaker(8, "H")},
         matrix({{1, 2, strong}, {3, 4, strong}, {5, 6, strong}, {7, 8, strong}, {1, 3, weak}, {1, 5, weak},
                 {1, 7, weak}, {3, 5, weak}, {3, 7, weak}, {5, 7, weak}}),
         floorsOf({{1, FloorLevel::numbered(4)}, {2, FloorLevel::numbered(4)}, {3, FloorLevel::numbered(3)},
                   {4, FloorLevel::numbered(3)}, {5, FloorLevel::numbered(2)}, {6, FloorLevel::numbered(2)},
                   {7, FloorLevel::numbered(1)}, {8, FloorLevel::numbered(1)}})},
        {"a speaker listed twice still leaves three speakers, one without a good link",
         {speaker(1, "A"), speaker(1, "A"), speaker(2, "B"), speaker(3, "C")},
         matrix({{1, 1, strong}, {2, 3, strong}, {1, 2, weak}}),
         floorsOf({{1, FloorLevel::main()}, {2, FloorLevel::main()}, {3, FloorLevel::main()}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(layout::classifyFloors(c.speakers, c.matrix), c.expected);
    }
}

TEST(FloorAssignment, RadioClustersAreOrderedByIdentifier) {
    const auto m = matrix({{4, 3, strong}, {2, 1, strong}, {4, 2, weak}});
    auto clusters = layout::verticalRFClusters({speaker(4, "x"), speaker(2, "x"), speaker(3, "x"), speaker(1, "x")}, m);
    ASSERT_EQ(clusters.size(), 2u);
    EXPECT_EQ(clusters[0], (std::vector{id(1), id(2)}));
    EXPECT_EQ(clusters[1], (std::vector{id(3), id(4)}));
    // Without a good link for every speaker: one cluster of all, in order.
    auto single = layout::verticalRFClusters({speaker(3, "x"), speaker(1, "x"), speaker(2, "x")}, matrix({{1, 2, strong}}));
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0], (std::vector{id(1), id(2), id(3)}));
}

TEST(FloorAssignment, VerticalSpans) {
    using Spans = std::vector<layout::Span>;
    struct Case { std::size_t floors; Spans spans; };
    const Case cases[] = {
        {0, {{20, 80}}},
        {1, {{20, 80}}},
        {2, {{14, 60}, {74, 88}}},
        {3, {{12, 34}, {44, 64}, {76, 90}}},
        {4, {{10, 24}, {30, 44}, {50, 64}, {70, 84}}},
        {5, {{10, 20}, {26, 36}, {42, 52}, {58, 68}, {74, 84}}},
        {7, {{10, 16}, {22, 28}, {34, 40}, {46, 52}, {58, 64}, {70, 76}, {82, 88}}},
        {8, {{10, 16}, {22, 28}, {34, 40}, {46, 52}, {58, 64}, {70, 76}, {82, 88}, {94, 94}}},
        {10, {{10, 16}, {22, 28}, {34, 40}, {46, 52}, {58, 64}, {70, 76}, {82, 88}, {94, 94}, {106, 106}, {118, 118}}},
    };
    for (const auto& c : cases) EXPECT_EQ(layout::verticalSpans(c.floors), c.spans) << c.floors;
}

