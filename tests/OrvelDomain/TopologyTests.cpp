#include <gtest/gtest.h>

#include <unordered_set>

#include "TopologyFixtures.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

TEST(Topology, MakeAcceptsOnlyConsistentMaps) {
    struct Case { const char* name; std::vector<std::pair<char, char>> entries; bool valid; };
    const Case cases[] = {
        {"empty", {}, true},
        {"two groups", {{'A', 'A'}, {'B', 'A'}, {'C', 'C'}}, true},
        {"chain through a follower", {{'A', 'B'}, {'B', 'C'}, {'C', 'C'}}, false},
        {"coordinator not listed", {{'A', 'Z'}}, false},
        {"two speakers following each other", {{'A', 'B'}, {'B', 'A'}}, false},
    };
    for (const auto& c : cases) {
        Topology::CoordinatorMap map;
        for (auto [speaker, coordinator] : c.entries) map.emplace(sp(speaker), sp(coordinator));
        EXPECT_EQ(Topology::make(map).has_value(), c.valid) << c.name;
    }
    EXPECT_EQ(Topology(), Topology::empty());
    EXPECT_TRUE(Topology::empty().isEmpty());
}

TEST(Topology, GroupsSpeakersAndLookups) {
    Topology t = topology("AA BA CC");
    std::map<GroupID, std::set<SpeakerUUID>> expected{{group('A'), speakers("B")}, {group('C'), {}}};
    EXPECT_EQ(t.groups(), expected);
    EXPECT_EQ(t.speakers(), speakers("ABC"));
    EXPECT_EQ(t.group(sp('B')), group('A'));
    EXPECT_EQ(t.group(sp('C')), group('C'));
    EXPECT_EQ(t.group(sp('Z')), std::nullopt);
    EXPECT_TRUE(Topology::empty().groups().empty());
}

TEST(Topology, Applying) {
    struct Case { const char* name; const char* before; TopologyStep step; const char* after; };
    const Case cases[] = {
        // A coordinator that leaves hands its group to its smallest follower.
        {"coordinator made standalone", "AA BA DA", TopologyStep::makeStandalone(sp('A')), "AA BB DB"},
        {"follower made standalone", "AA BA DA", TopologyStep::makeStandalone(sp('D')), "AA BA DD"},
        {"standalone made standalone", "AA BB", TopologyStep::makeStandalone(sp('A')), "AA BB"},
        {"unlisted made standalone", "AA BA", TopologyStep::makeStandalone(sp('Z')), "AA BA"},

        {"follower joins", "AA BA CC", TopologyStep::join(sp('B'), sp('C')), "AA BC CC"},
        {"coordinator joins, followers stay together", "AA BA DA CC", TopologyStep::join(sp('A'), sp('C')),
         "AC BB DB CC"},
        {"join a follower", "AA EA CC", TopologyStep::join(sp('C'), sp('E')), "AA EA CC"},
        {"join itself", "AA BA", TopologyStep::join(sp('A'), sp('A')), "AA BA"},
        {"unlisted joins", "AA", TopologyStep::join(sp('Z'), sp('A')), "AA"},
        {"join unlisted coordinator", "AA", TopologyStep::join(sp('A'), sp('Z')), "AA"},

        {"delegate and leave", "AA BA CA", TopologyStep::delegateCoordination(sp('A'), sp('C'), false),
         "AA BC CC"},
        {"delegate and stay", "AA BA CA", TopologyStep::delegateCoordination(sp('A'), sp('C'), true),
         "AC BC CC"},
        {"delegate to a non-follower", "AA BA CC", TopologyStep::delegateCoordination(sp('A'), sp('C'), false),
         "AA BA CC"},
        {"delegate to itself", "AA BA", TopologyStep::delegateCoordination(sp('A'), sp('A'), true), "AA BA"},
        {"delegate from a follower", "AA BA CA", TopologyStep::delegateCoordination(sp('B'), sp('C'), false),
         "AA BA CA"},
        {"delegate to unlisted", "AA BA", TopologyStep::delegateCoordination(sp('A'), sp('Z'), false), "AA BA"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(topology(c.before).applying(c.step), topology(c.after)) << c.name;
    }
}

TEST(Topology, EqualValuesHashAlike) {
    Topology a = topology("AA BA CC");
    Topology b = topology("CC BA AA");
    EXPECT_EQ(a, b);
    EXPECT_EQ(std::hash<Topology>{}(a), std::hash<Topology>{}(b));
    std::unordered_set<Topology> set{a, b, topology("AA BB CC")};
    EXPECT_EQ(set.size(), 2u);
}

TEST(TopologyStep, FirstSpeakerAndIdentity) {
    EXPECT_EQ(TopologyStep::makeStandalone(sp('A')).firstSpeaker(), sp('A'));
    EXPECT_EQ(TopologyStep::delegateCoordination(sp('B'), sp('C'), false).firstSpeaker(), sp('B'));
    EXPECT_EQ(TopologyStep::join(sp('D'), sp('E')).firstSpeaker(), sp('D'));

    // Payloads alike but cases different must not collide in a set.
    std::unordered_set<TopologyStep> steps{
        TopologyStep::delegateCoordination(sp('A'), sp('B'), false),
        TopologyStep::delegateCoordination(sp('A'), sp('B'), true),
        TopologyStep::join(sp('A'), sp('B')),
        TopologyStep::join(sp('A'), sp('B')),
    };
    EXPECT_EQ(steps.size(), 3u);
}

}  // namespace
