#include <gtest/gtest.h>

#include <string>
#include <unordered_set>
#include <vector>

#include "OrvelDomain/GroupStatus.h"
#include "OrvelDomain/HouseholdSnapshot.h"
#include "OrvelDomain/SonosGroup.h"
#include "TopologyFixtures.h"

using namespace orvel;
using orvel::testing::group;
using orvel::testing::sp;
using orvel::testing::topology;

namespace {

Speaker speaker(char id, std::string room, int volume = 20) {
    return Speaker{sp(id), std::move(room), SpeakerModel::one(), ReachabilityState::online("192.168.1.10"),
                   DiscreteVolume::snappingPercent(volume), {}};
}

struct Room {
    char id;
    const char* name;
};

HouseholdSnapshot household(std::initializer_list<Room> rooms, std::string_view grouping) {
    HouseholdSnapshot::SpeakerMap speakers;
    for (const auto& room : rooms) speakers.emplace(sp(room.id), speaker(room.id, room.name));
    return HouseholdSnapshot(Date::sinceReferenceDate(1000), std::move(speakers), topology(grouping), {},
                             RFPeerMatrix::empty(), std::nullopt, std::nullopt);
}

std::vector<std::string> names(const HouseholdSnapshot& snapshot) {
    std::vector<std::string> out;
    for (const auto& g : snapshot.groups()) out.push_back(g.displayName);
    return out;
}

std::string memberRooms(const SonosGroup& g) {
    std::string out;
    for (const auto& member : g.members) out += (out.empty() ? "" : ", ") + member.roomName;
    return out;
}

}  // namespace

TEST(SonosGroup, SpeakersStartWithTheCoordinator) {
    SonosGroup g{group('A'), speaker('A', "Den"), {speaker('C', "Office"), speaker('B', "Bath")},
                 PlaybackState::stopped(), DiscreteVolume::snappingPercent(30), "Den + Bath + Office"};
    std::vector<SpeakerUUID> ids;
    for (const auto& s : g.speakers()) ids.push_back(s.id);
    EXPECT_EQ(ids, (std::vector<SpeakerUUID>{sp('A'), sp('C'), sp('B')}));
}

TEST(SonosGroup, EqualValuesHashAlikeAndEveryFieldCounts) {
    const SonosGroup base{group('A'), speaker('A', "Den"), {speaker('B', "Bath")},
                          PlaybackState::paused(NowPlaying::stream("Radio"), Duration::seconds(std::int64_t{4})),
                          DiscreteVolume::snappingPercent(30), "Den + Bath"};
    SonosGroup renamed = base;
    renamed.displayName = "Den";
    SonosGroup louder = base;
    louder.volume = DiscreteVolume::snappingPercent(31);
    SonosGroup stopped = base;
    stopped.playback = PlaybackState::stopped();
    SonosGroup reordered = base;
    reordered.members = {speaker('B', "Bath"), speaker('C', "Office")};

    std::hash<SonosGroup> hash;
    SonosGroup copy = base;
    EXPECT_EQ(copy, base);
    EXPECT_EQ(hash(copy), hash(base));
    for (const auto* other : {&renamed, &louder, &stopped, &reordered}) EXPECT_NE(*other, base);
    std::unordered_set<SonosGroup> set{base, copy, renamed, louder, stopped, reordered};
    EXPECT_EQ(set.size(), 5u);

    const GroupStatus status{base.playback, base.volume};
    EXPECT_EQ(std::hash<GroupStatus>{}(status), std::hash<GroupStatus>{}(GroupStatus{base.playback, base.volume}));
    EXPECT_NE(status, (GroupStatus{base.playback, louder.volume}));
}

TEST(SonosGroup, NamesAndMemberOrderComeFromTheSnapshot) {
    struct Case {
        const char* name;
        HouseholdSnapshot snapshot;
        std::vector<std::string> groupNames;
    };
    const Case cases[] = {
        {"lone speaker keeps its short name", household({{'A', "Kitchen Speaker"}}, "AA"), {"Kitchen"}},
        {"two speakers together are everywhere", household({{'A', "Kitchen"}, {'B', "Office"}}, "AA BA"),
         {"Everywhere"}},
        {"a third speaker elsewhere breaks everywhere",
         household({{'A', "Kitchen"}, {'B', "Office"}, {'C', "Patio"}}, "AA BA CC"), {"Kitchen + Office", "Patio"}},
        {"a group of every speaker is everywhere",
         household({{'A', "Kitchen"}, {'B', "Office"}, {'C', "Patio"}}, "AA BA CA"), {"Everywhere"}},
        {"a speaker outside the topology still counts as a room",
         household({{'A', "Kitchen"}, {'B', "Office"}, {'C', "Patio"}}, "AA BA"), {"Kitchen + Office"}},
        {"members sorted, coordinator first",
         household({{'E', "Office"}, {'B', "Living Room"}, {'C', "Kitchen"}, {'D', "Den"}, {'F', "Patio"}},
                   "EE BE CE DD FF"),
         {"Den", "Office + Kitchen + Living", "Patio"}},
        {"four labels shorten to a count",
         household({{'A', "Den"}, {'B', "Office"}, {'C', "Bath"}, {'D', "Kitchen"}, {'E', "Patio"}, {'F', "Garage"}},
                   "AA BA CA DA EA FF"),
         {"Den + Bath + 3 more", "Garage"}},
        {"colliding merged names fall back to unmerged",
         household({{'A', "Guest Room"}, {'B', "Guest Speaker"}, {'C', "Den"}}, "AA BA CC"),
         {"Den", "Guest Room + Guest"}},
        {"a member without a speaker is left out of the name",
         household({{'A', "Kitchen Speaker"}, {'C', "Den"}}, "AA BA CC"), {"Den", "Kitchen"}},
        {"a coordinator without a speaker yields no group", household({{'B', "Office"}, {'C', "Den"}}, "AA BA CC"),
         {"Den"}},
        {"no speakers, no groups", household({}, "AA BA"), {}},
    };
    for (const auto& c : cases) EXPECT_EQ(names(c.snapshot), c.groupNames) << c.name;
}

TEST(SonosGroup, MembersSortByShortRoomNameThenId) {
    auto snapshot = household(
        {{'A', "Den"}, {'D', "Office"}, {'B', "Office Speaker"}, {'C', "Bath Soundbar"}, {'E', "Attic"}, {'F', "Zoo"}},
        "AA BA CA DA EA FF");
    ASSERT_EQ(snapshot.groups().size(), 2u);
    const SonosGroup& den = snapshot.groups()[0];
    EXPECT_EQ(den.id, group('A'));
    // "Office Speaker" and "Office" share the short name "Office"; the smaller id goes first.
    EXPECT_EQ(memberRooms(den), "Attic, Bath Soundbar, Office Speaker, Office");
}

TEST(SonosGroup, GroupsSortByNameThenId) {
    auto snapshot = household({{'C', "Den"}, {'A', "Den"}, {'B', "Bath"}, {'D', "attic"}}, "AA BB CC DD");
    std::vector<GroupID> ids;
    for (const auto& g : snapshot.groups()) ids.push_back(g.id);
    // Plain byte order: upper case sorts before lower case.
    EXPECT_EQ(ids, (std::vector<GroupID>{group('B'), group('A'), group('C'), group('D')}));
}
