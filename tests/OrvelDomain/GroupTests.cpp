#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TopologyFixtures.h"
#include "OrvelDomain/HouseholdSnapshot.h"
#include "OrvelDomain/PresetPill.h"
#include "OrvelDomain/SonosGroup.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

HouseholdSnapshot household(std::initializer_list<std::pair<char, const char*>> rooms, std::string_view grouping) {
    HouseholdSnapshot::SpeakerMap map;
    for (const auto& [id, name] : rooms) map.emplace(sp(id), speaker(sp(id), name));
    return HouseholdSnapshot(Date::sinceReferenceDate(1000), std::move(map), topology(grouping), {}, RFPeerMatrix::empty(),
                             std::nullopt, std::nullopt);
}

std::vector<std::string> names(const HouseholdSnapshot& snapshot) {
    std::vector<std::string> out;
    for (const auto& g : snapshot.groups()) out.push_back(g.displayName);
    return out;
}

const PresetID fixedID = *PresetID::make("E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
}  // namespace

TEST(SonosGroup, NamesAndMemberOrderComeFromTheSnapshot) {
    using Names = std::vector<std::string>;
    struct Case { const char* name; HouseholdSnapshot snapshot; Names groupNames; };
    const Case cases[] = {
        {"lone speaker keeps its short name", household({{'A', "Kitchen Speaker"}}, "AA"), {"Kitchen"}},
        {"two speakers together are everywhere", household({{'A', "Kitchen"}, {'B', "Office"}}, "AA BA"), {"Everywhere"}},
        {"a third speaker elsewhere breaks everywhere",
         household({{'A', "Kitchen"}, {'B', "Office"}, {'C', "Patio"}}, "AA BA CC"), {"Kitchen + Office", "Patio"}},
        {"a group of every speaker is everywhere",
         household({{'A', "Kitchen"}, {'B', "Office"}, {'C', "Patio"}}, "AA BA CA"), {"Everywhere"}},
        {"a speaker outside the topology still counts as a room",
         household({{'A', "Kitchen"}, {'B', "Office"}, {'C', "Patio"}}, "AA BA"), {"Kitchen + Office"}},
        {"members sorted, coordinator first",
         household({{'E', "Office"}, {'B', "Living Room"}, {'C', "Kitchen"}, {'D', "Den"}, {'F', "Patio"}}, "EE BE CE DD FF"),
         {"Den", "Office + Kitchen + Living", "Patio"}},
        {"four labels shorten to a count",
         household({{'A', "Den"}, {'B', "Office"}, {'C', "Bath"}, {'D', "Kitchen"}, {'E', "Patio"}, {'F', "Garage"}},
                   "AA BA CA DA EA FF"),
         {"Den + Bath + 3 more", "Garage"}},
        {"colliding merged names fall back to unmerged",
         household({{'A', "Guest Room"}, {'B', "Guest Speaker"}, {'C', "Den"}}, "AA BA CC"), {"Den", "Guest Room + Guest"}},
        {"a member without a speaker is left out of the name",
         household({{'A', "Kitchen Speaker"}, {'C', "Den"}}, "AA BA CC"), {"Den", "Kitchen"}},
        {"a coordinator without a speaker yields no group", household({{'B', "Office"}, {'C', "Den"}}, "AA BA CC"), {"Den"}},
        {"no speakers, no groups", household({}, "AA BA"), {}},
    };
    for (const auto& c : cases) EXPECT_EQ(names(c.snapshot), c.groupNames) << c.name;
}

TEST(SonosGroup, MembersSortByShortRoomNameThenIdAndGroupsByNameThenId) {
    auto snapshot = household(
        {{'A', "Den"}, {'D', "Office"}, {'B', "Office Speaker"}, {'C', "Bath Soundbar"}, {'E', "Attic"}, {'F', "Zoo"}},
        "AA BA CA DA EA FF");
    ASSERT_EQ(snapshot.groups().size(), 2u);
    const SonosGroup& den = snapshot.groups()[0];
    EXPECT_EQ(den.id, group('A'));
    // "Office Speaker" and "Office" share the short name "Office"; the smaller id goes first.
    std::vector<std::string> rooms;
    for (const auto& member : den.speakers()) rooms.push_back(member.roomName);
    EXPECT_EQ(rooms, (std::vector<std::string>{"Den", "Attic", "Bath Soundbar", "Office Speaker", "Office"}));

    auto sorted = household({{'C', "Den"}, {'A', "Den"}, {'B', "Bath"}, {'D', "attic"}}, "AA BB CC DD");
    std::vector<GroupID> ids;
    for (const auto& g : sorted.groups()) ids.push_back(g.id);
    // Plain byte order: upper case sorts before lower case.
    EXPECT_EQ(ids, (std::vector<GroupID>{group('B'), group('A'), group('C'), group('D')}));
}

TEST(PresetID, RandomAndCanonicalText) {
    auto a = PresetID::random();
    EXPECT_NE(a, PresetID::random());
    EXPECT_EQ(PresetID::make(a.rawValue()), a);
    EXPECT_EQ(PresetID::make("e621e1f8-c36c-495a-93fc-0c247a3e6e5f"), fixedID);
    EXPECT_EQ(fixedID.rawValue(), "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    for (const char* bad : {"", "E621E1F8C36C495A93FC0C247A3E6E5F", "E621E1F8-C36C-495A-93FC-0C247A3E6E5G",
                            "{E621E1F8-C36C-495A-93FC-0C247A3E6E5F}"}) {
        EXPECT_EQ(PresetID::make(bad), std::nullopt) << bad;
    }
}

TEST(PresetPill, MembersNeverHoldTheCoordinator) {
    PresetPill made(fixedID, "Evening", sp('C'), {sp('B'), sp('A'), sp('B'), sp('C')});
    EXPECT_EQ(made.memberUUIDs(), speakers("AB"));
    EXPECT_EQ(made, PresetPill(fixedID, "Evening", sp('C'), {sp('A'), sp('B')}));
    EXPECT_EQ(PresetPill(fixedID, "x", sp('D'), std::vector<SpeakerUUID>{sp('D'), sp('C')}).memberUUIDs(), speakers("C"));

    auto updated = made.updated(sp('A'), speakers("ABD"));
    EXPECT_EQ(updated, PresetPill(fixedID, "Evening", sp('A'), {sp('B'), sp('D')}));
    EXPECT_EQ(made.renamed(""), PresetPill(fixedID, "", sp('C'), {sp('A'), sp('B')}));
    EXPECT_EQ(made.target(), TopologyTarget::exactGroup(sp('C'), speakers("AB")));
}

TEST(PresetPill, CapturingAGroupTrimsTheNameOrNamesItAfterTheRooms) {
    struct Case { const char* name; std::optional<std::string_view> given; const char* expected; };
    const Case cases[] = {
        {"no name", std::nullopt, "Living Room + Kitchen"},
        {"empty name", "", "Living Room + Kitchen"},
        {"blanks and line breaks only", " \t\n\u00A0\u2028 ", "Living Room + Kitchen"},
        {"blanks around a word", "  Dinner \n", "Dinner"},
        {"inner blanks stay", " Late  Night ", "Late  Night"},
    };
    // The group lists its coordinator among the members; the preset does not.
    const SonosGroup g{group('A'), speaker(sp('A'), "Living Room"),
                       {speaker(sp('B'), "Kitchen"), speaker(sp('A'), "Living Room")}, PlaybackState::stopped(),
                       DiscreteVolume::snappingPercent(20), "Living Room + Kitchen"};
    for (const auto& c : cases) {
        auto preset = PresetPill::capturing(g, c.given);
        EXPECT_EQ(preset.name(), c.expected) << c.name;
        EXPECT_EQ(preset.coordinatorUUID(), sp('A')) << c.name;
        EXPECT_EQ(preset.memberUUIDs(), speakers("B")) << c.name;
    }
    // Every capture is a preset of its own.
    EXPECT_NE(PresetPill::capturing(g).id(), PresetPill::capturing(g).id());
}
