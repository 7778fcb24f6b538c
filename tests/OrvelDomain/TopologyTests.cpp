#include <gtest/gtest.h>

#include "TopologyFixtures.h"
#include "OrvelDomain/SonosCommand.h"

using namespace orvel;
using namespace orvel::testing;
using Step = TopologyStep;

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
    Topology t = topology("AA BA CC");
    EXPECT_EQ(t.groups(), (std::map<GroupID, std::set<SpeakerUUID>>{{group('A'), speakers("B")}, {group('C'), {}}}));
    EXPECT_EQ(t.speakers(), speakers("ABC"));
    EXPECT_EQ(t.group(sp('B')), group('A'));
    EXPECT_EQ(t.group(sp('Z')), std::nullopt);
    EXPECT_TRUE(Topology::empty().groups().empty());
}

TEST(Topology, ApplyingEachStep) {
    struct Case { const char* name; const char* before; Step step; const char* after; };
    const Case cases[] = {
        // A coordinator that leaves hands its group to its smallest follower.
        {"coordinator made standalone", "AA BA DA", Step::makeStandalone(sp('A')), "AA BB DB"},
        {"follower made standalone", "AA BA DA", Step::makeStandalone(sp('D')), "AA BA DD"},
        {"standalone made standalone", "AA BB", Step::makeStandalone(sp('A')), "AA BB"},
        {"unlisted made standalone", "AA BA", Step::makeStandalone(sp('Z')), "AA BA"},
        {"follower joins", "AA BA CC", Step::join(sp('B'), sp('C')), "AA BC CC"},
        {"coordinator joins, followers stay together", "AA BA DA CC", Step::join(sp('A'), sp('C')), "AC BB DB CC"},
        {"join a follower", "AA EA CC", Step::join(sp('C'), sp('E')), "AA EA CC"},
        {"join itself", "AA BA", Step::join(sp('A'), sp('A')), "AA BA"},
        {"unlisted joins", "AA", Step::join(sp('Z'), sp('A')), "AA"},
        {"join unlisted coordinator", "AA", Step::join(sp('A'), sp('Z')), "AA"},
        {"delegate and leave", "AA BA CA", Step::delegateCoordination(sp('A'), sp('C'), false), "AA BC CC"},
        {"delegate and stay", "AA BA CA", Step::delegateCoordination(sp('A'), sp('C'), true), "AC BC CC"},
        {"delegate to a non-follower", "AA BA CC", Step::delegateCoordination(sp('A'), sp('C'), false), "AA BA CC"},
        {"delegate to itself", "AA BA", Step::delegateCoordination(sp('A'), sp('A'), true), "AA BA"},
        {"delegate from a follower", "AA BA CA", Step::delegateCoordination(sp('B'), sp('C'), false), "AA BA CA"},
        {"delegate to unlisted", "AA BA", Step::delegateCoordination(sp('A'), sp('Z'), false), "AA BA"},
    };
    for (const auto& c : cases) EXPECT_EQ(topology(c.before).applying(c.step), topology(c.after)) << c.name;
    // Steps go to the speaker they name first.
    EXPECT_EQ(Step::delegateCoordination(sp('B'), sp('C'), false).firstSpeaker(), sp('B'));
    EXPECT_EQ(Step::join(sp('D'), sp('E')).firstSpeaker(), sp('D'));
}

struct PlanCase {
    const char* name;
    const char* topology;
    TopologyTarget target;
    TopologyPlan expected;
};

TopologyPlan dissolved(char coordinator) {
    return TopologyPlan::impossible(TopologyPlanFailure::groupDissolved(group(coordinator)));
}

// Each plan is deterministic, and carrying its steps out reaches the target (apart from the
// speakers it skipped), every step changing something.
void expectPlans(const std::vector<PlanCase>& cases) {
    for (const auto& c : cases) {
        Topology t = topology(c.topology);
        EXPECT_EQ(c.target.plan(t), c.expected) << c.name;
        EXPECT_EQ(c.target.plan(t), c.target.plan(t)) << c.name;
        const auto* steps = c.expected.asSteps();
        if (steps == nullptr) continue;
        for (const auto& step : steps->steps) {
            Topology next = t.applying(step);
            EXPECT_NE(next, t) << c.name << ": " << step.description() << " changed nothing";
            t = next;
        }
        EXPECT_TRUE(c.target.isSatisfied(t, steps->skipped)) << c.name;
    }
}

TEST(TopologyPlanner, MemberOf) {
    const auto memberOf = [](char coordinator, char member) { return TopologyTarget::memberOf(group(coordinator), sp(member)); };
    expectPlans({
        {"empty topology", "", memberOf('A', 'B'), dissolved('A')},
        {"group's coordinator not listed", "BB", memberOf('A', 'B'), dissolved('A')},
        {"group's coordinator now follows", "AC BB CC", memberOf('A', 'B'), dissolved('A')},
        {"dissolved wins over unlisted member", "BB", memberOf('A', 'Z'), dissolved('A')},
        {"member not listed", "AA", memberOf('A', 'Z'), TopologyPlan::steps({}, speakers("Z"))},
        {"already a member", "AA BA", memberOf('A', 'B'), TopologyPlan::steps({})},
        {"member is the coordinator", "AA BA", memberOf('A', 'A'), TopologyPlan::steps({})},
        {"standalone member joins", "AA BB", memberOf('A', 'B'), TopologyPlan::steps({Step::join(sp('B'), sp('A'))})},
        {"follower elsewhere joins", "AA BC CC", memberOf('A', 'B'), TopologyPlan::steps({Step::join(sp('B'), sp('A'))})},
        {"coordinator joins without delegating", "AA CC DC EC", memberOf('A', 'C'),
         TopologyPlan::steps({Step::join(sp('C'), sp('A'))})},
    });
}

TEST(TopologyPlanner, Standalone) {
    const auto standalone = [](char speaker) { return TopologyTarget::standalone(sp(speaker)); };
    expectPlans({
        {"not listed", "AA", standalone('Z'), TopologyPlan::steps({}, speakers("Z"))},
        {"empty topology", "", standalone('A'), TopologyPlan::steps({}, speakers("A"))},
        {"already alone", "AA BB", standalone('A'), TopologyPlan::steps({})},
        {"coordinator hands over to its smallest follower", "AA DA BA", standalone('A'),
         TopologyPlan::steps({Step::delegateCoordination(sp('A'), sp('B'), false)})},
        {"follower leaves", "AA BA DA", standalone('B'), TopologyPlan::steps({Step::makeStandalone(sp('B'))})},
    });
}

TEST(TopologyPlanner, ExactGroup) {
    const auto exact = [](char coordinator, std::string_view members) {
        return TopologyTarget::exactGroup(sp(coordinator), speakers(members));
    };
    const auto missing = TopologyPlan::impossible(TopologyPlanFailure::coordinatorMissing(sp('C')));
    expectPlans({
        {"coordinator not listed", "AA", exact('C', "CA"), missing},
        {"empty topology", "", exact('C', "C"), missing},
        {"extra follower out, standalone in, unlisted skipped", "CC XC ZC YY", exact('C', "CYZQ"),
         TopologyPlan::steps({Step::makeStandalone(sp('X')), Step::join(sp('Y'), sp('C'))}, speakers("Q"))},
        {"coordinator leaves its group first, then its old coordinator joins", "DD CD EE", exact('C', "EDC"),
         TopologyPlan::steps({Step::makeStandalone(sp('C')), Step::join(sp('D'), sp('C')), Step::join(sp('E'), sp('C'))})},
        {"extra followers leave in order before any join", "CC HC FC GC AA BB", exact('C', "BA"),
         TopologyPlan::steps({Step::makeStandalone(sp('F')), Step::makeStandalone(sp('G')), Step::makeStandalone(sp('H')),
                              Step::join(sp('A'), sp('C')), Step::join(sp('B'), sp('C'))})},
        {"already satisfied", "CC AC BC", exact('C', "ABC"), TopologyPlan::steps({})},
        {"members without the coordinator", "CC AC", exact('C', "A"), TopologyPlan::steps({})},
        {"alone wanted, group broken up", "CC AC BC", exact('C', ""),
         TopologyPlan::steps({Step::makeStandalone(sp('A')), Step::makeStandalone(sp('B'))})},
        {"member coordinating a group joins and leaves its followers", "CC AA BA DA", exact('C', "AD"),
         TopologyPlan::steps({Step::join(sp('A'), sp('C')), Step::join(sp('D'), sp('C'))})},
        {"only unlisted members", "CC", exact('C', "YZ"), TopologyPlan::steps({}, speakers("YZ"))},
    });
}

TEST(TopologyTarget, IsSatisfied) {
    const auto memberOf = TopologyTarget::memberOf(group('A'), sp('B'));
    const auto aloneA = TopologyTarget::standalone(sp('A'));
    const auto aloneB = TopologyTarget::standalone(sp('B'));
    const auto exactAB = TopologyTarget::exactGroup(sp('C'), speakers("AB"));
    struct Case { const char* name; const char* topology; TopologyTarget target; const char* ignoring; bool satisfied; };
    const Case cases[] = {
        {"member in place", "AA BA", memberOf, "", true},
        {"member elsewhere", "AA BB", memberOf, "", false},
        {"member unlisted", "AA", memberOf, "", false},
        {"ignored member anywhere, group alive", "AA BB", memberOf, "B", true},
        {"ignored member, unlisted", "AA", memberOf, "B", true},
        {"ignored member, group dissolved", "AB BB", memberOf, "B", false},
        {"member of empty topology, ignored", "", memberOf, "B", false},
        {"standalone alone", "AA BB", aloneA, "", true},
        {"standalone with followers", "AA BA", aloneA, "", false},
        {"standalone following", "AA BA", aloneB, "", false},
        {"standalone unlisted", "AA", aloneB, "", false},
        {"standalone ignored on empty topology", "", aloneB, "B", true},
        {"exact group in place", "CC AC BC", TopologyTarget::exactGroup(sp('C'), speakers("ABC")), "", true},
        {"exact group, follower outside", "CC AC BC XC", exactAB, "", false},
        {"exact group, ignored follower outside", "CC AC BC XC", exactAB, "X", true},
        {"exact group, member missing", "CC AC BB", exactAB, "", false},
        {"exact group, missing member ignored", "CC AC BB", exactAB, "B", true},
        {"exact group, unlisted member ignored", "CC AC", TopologyTarget::exactGroup(sp('C'), speakers("AZ")), "Z", true},
        {"exact group, coordinator follows", "CA AA", TopologyTarget::exactGroup(sp('C'), speakers("A")), "", false},
        {"exact group, coordinator unlisted", "AA", TopologyTarget::exactGroup(sp('C'), speakers("")), "C", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.target.isSatisfied(topology(c.topology), speakers(c.ignoring)), c.satisfied) << c.name;
    }
}

}  // namespace
