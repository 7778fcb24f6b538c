#include <gtest/gtest.h>

#include "TopologyFixtures.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

using Step = TopologyStep;

struct PlanCase {
    const char* name;
    const char* topology;
    TopologyTarget target;
    TopologyPlan expected;
};

TopologyPlan dissolved(char coordinator) {
    return TopologyPlan::impossible(TopologyPlanFailure::groupDissolved(group(coordinator)));
}

void expectPlans(const std::vector<PlanCase>& cases) {
    for (const auto& c : cases) {
        Topology from = topology(c.topology);
        TopologyPlan plan = c.target.plan(from);
        EXPECT_EQ(plan, c.expected) << c.name;
        EXPECT_EQ(c.target.plan(from), plan) << c.name << ": planning again differs";
    }
}

// Carrying the steps out must reach the target, apart from the speakers the plan skipped.
void expectPlanReachesTarget(const PlanCase& c) {
    const auto* steps = c.expected.asSteps();
    if (steps == nullptr) return;
    Topology t = topology(c.topology);
    for (const auto& step : steps->steps) {
        Topology next = t.applying(step);
        EXPECT_NE(next, t) << c.name << ": " << step.description() << " changed nothing";
        t = next;
    }
    EXPECT_TRUE(c.target.isSatisfied(t, steps->skipped)) << c.name;
}

TEST(TopologyPlanner, MemberOf) {
    const std::vector<PlanCase> cases{
        {"empty topology", "", TopologyTarget::memberOf(group('A'), sp('B')), dissolved('A')},
        {"group's coordinator not listed", "BB", TopologyTarget::memberOf(group('A'), sp('B')), dissolved('A')},
        {"group's coordinator now follows", "AC BB CC", TopologyTarget::memberOf(group('A'), sp('B')),
         dissolved('A')},
        {"dissolved wins over unlisted member", "BB", TopologyTarget::memberOf(group('A'), sp('Z')),
         dissolved('A')},
        {"member not listed", "AA", TopologyTarget::memberOf(group('A'), sp('Z')),
         TopologyPlan::steps({}, speakers("Z"))},
        {"already a member", "AA BA", TopologyTarget::memberOf(group('A'), sp('B')), TopologyPlan::steps({})},
        {"member is the coordinator", "AA BA", TopologyTarget::memberOf(group('A'), sp('A')),
         TopologyPlan::steps({})},
        {"standalone member joins", "AA BB", TopologyTarget::memberOf(group('A'), sp('B')),
         TopologyPlan::steps({Step::join(sp('B'), sp('A'))})},
        {"follower elsewhere joins", "AA BC CC", TopologyTarget::memberOf(group('A'), sp('B')),
         TopologyPlan::steps({Step::join(sp('B'), sp('A'))})},
        {"coordinator joins without delegating", "AA CC DC EC", TopologyTarget::memberOf(group('A'), sp('C')),
         TopologyPlan::steps({Step::join(sp('C'), sp('A'))})},
    };
    expectPlans(cases);
    for (const auto& c : cases) expectPlanReachesTarget(c);
}

TEST(TopologyPlanner, Standalone) {
    const std::vector<PlanCase> cases{
        {"not listed", "AA", TopologyTarget::standalone(sp('Z')), TopologyPlan::steps({}, speakers("Z"))},
        {"empty topology", "", TopologyTarget::standalone(sp('A')), TopologyPlan::steps({}, speakers("A"))},
        {"already alone", "AA BB", TopologyTarget::standalone(sp('A')), TopologyPlan::steps({})},
        {"coordinator hands over to its smallest follower", "AA DA BA",
         TopologyTarget::standalone(sp('A')),
         TopologyPlan::steps({Step::delegateCoordination(sp('A'), sp('B'), false)})},
        {"follower leaves", "AA BA DA", TopologyTarget::standalone(sp('B')),
         TopologyPlan::steps({Step::makeStandalone(sp('B'))})},
    };
    expectPlans(cases);
    for (const auto& c : cases) expectPlanReachesTarget(c);
}

TEST(TopologyPlanner, ExactGroup) {
    auto exact = [](char coordinator, std::string_view members) {
        return TopologyTarget::exactGroup(sp(coordinator), speakers(members));
    };
    const std::vector<PlanCase> cases{
        {"coordinator not listed", "AA", exact('C', "CA"),
         TopologyPlan::impossible(TopologyPlanFailure::coordinatorMissing(sp('C')))},
        {"empty topology", "", exact('C', "C"),
         TopologyPlan::impossible(TopologyPlanFailure::coordinatorMissing(sp('C')))},
        {"extra follower out, standalone in, unlisted skipped", "CC XC ZC YY", exact('C', "CYZQ"),
         TopologyPlan::steps({Step::makeStandalone(sp('X')), Step::join(sp('Y'), sp('C'))}, speakers("Q"))},
        {"coordinator leaves its group first, then its old coordinator joins", "DD CD EE",
         exact('C', "EDC"),
         TopologyPlan::steps({Step::makeStandalone(sp('C')), Step::join(sp('D'), sp('C')),
                              Step::join(sp('E'), sp('C'))})},
        {"extra followers leave in order before any join", "CC HC FC GC AA BB", exact('C', "BA"),
         TopologyPlan::steps({Step::makeStandalone(sp('F')), Step::makeStandalone(sp('G')),
                              Step::makeStandalone(sp('H')), Step::join(sp('A'), sp('C')),
                              Step::join(sp('B'), sp('C'))})},
        {"already satisfied", "CC AC BC", exact('C', "ABC"), TopologyPlan::steps({})},
        {"members without the coordinator", "CC AC", exact('C', "A"), TopologyPlan::steps({})},
        {"alone wanted, group broken up", "CC AC BC", exact('C', ""),
         TopologyPlan::steps({Step::makeStandalone(sp('A')), Step::makeStandalone(sp('B'))})},
        {"member coordinating a group joins and leaves its followers", "CC AA BA DA", exact('C', "AD"),
         TopologyPlan::steps({Step::join(sp('A'), sp('C')), Step::join(sp('D'), sp('C'))})},
        {"only unlisted members", "CC", exact('C', "YZ"), TopologyPlan::steps({}, speakers("YZ"))},
    };
    expectPlans(cases);
    for (const auto& c : cases) expectPlanReachesTarget(c);
}

TEST(TopologyTarget, IsSatisfied) {
    struct Case {
        const char* name;
        const char* topology;
        TopologyTarget target;
        const char* ignoring;
        bool satisfied;
    };
    const Case cases[] = {
        {"member in place", "AA BA", TopologyTarget::memberOf(group('A'), sp('B')), "", true},
        {"member elsewhere", "AA BB", TopologyTarget::memberOf(group('A'), sp('B')), "", false},
        {"member unlisted", "AA", TopologyTarget::memberOf(group('A'), sp('B')), "", false},
        {"ignored member anywhere, group alive", "AA BB", TopologyTarget::memberOf(group('A'), sp('B')), "B",
         true},
        {"ignored member, unlisted", "AA", TopologyTarget::memberOf(group('A'), sp('B')), "B", true},
        {"ignored member, group dissolved", "AB BB", TopologyTarget::memberOf(group('A'), sp('B')), "B",
         false},
        {"member of empty topology, ignored", "", TopologyTarget::memberOf(group('A'), sp('B')), "B", false},

        {"standalone alone", "AA BB", TopologyTarget::standalone(sp('A')), "", true},
        {"standalone with followers", "AA BA", TopologyTarget::standalone(sp('A')), "", false},
        {"standalone following", "AA BA", TopologyTarget::standalone(sp('B')), "", false},
        {"standalone unlisted", "AA", TopologyTarget::standalone(sp('B')), "", false},
        {"standalone ignored on empty topology", "", TopologyTarget::standalone(sp('B')), "B", true},

        {"exact group in place", "CC AC BC", TopologyTarget::exactGroup(sp('C'), speakers("ABC")), "", true},
        {"exact group, follower outside", "CC AC BC XC", TopologyTarget::exactGroup(sp('C'), speakers("AB")), "",
         false},
        {"exact group, ignored follower outside", "CC AC BC XC",
         TopologyTarget::exactGroup(sp('C'), speakers("AB")), "X", true},
        {"exact group, member missing", "CC AC BB", TopologyTarget::exactGroup(sp('C'), speakers("AB")), "",
         false},
        {"exact group, missing member ignored", "CC AC BB", TopologyTarget::exactGroup(sp('C'), speakers("AB")),
         "B", true},
        {"exact group, unlisted member ignored", "CC AC", TopologyTarget::exactGroup(sp('C'), speakers("AZ")), "Z",
         true},
        {"exact group, coordinator follows", "CA AA", TopologyTarget::exactGroup(sp('C'), speakers("A")), "",
         false},
        {"exact group, coordinator unlisted", "AA", TopologyTarget::exactGroup(sp('C'), speakers("")), "C",
         false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.target.isSatisfied(topology(c.topology), speakers(c.ignoring)), c.satisfied) << c.name;
    }
}

TEST(TopologyPlan, ValuesCompareAndHashByCaseAndPayload) {
    auto a = TopologyPlan::impossible(TopologyPlanFailure::coordinatorMissing(sp('A')));
    auto b = TopologyPlan::impossible(TopologyPlanFailure::groupDissolved(group('A')));
    EXPECT_NE(a, b);
    EXPECT_NE(TopologyPlan::steps({}, speakers("A")), TopologyPlan::steps({}));
    EXPECT_EQ(std::hash<TopologyPlan>{}(TopologyPlan::steps({Step::join(sp('A'), sp('B'))})),
              std::hash<TopologyPlan>{}(TopologyPlan::steps({Step::join(sp('A'), sp('B'))})));
    EXPECT_NE(TopologyTarget::standalone(sp('A')), TopologyTarget::exactGroup(sp('A'), {}));
}

}  // namespace
