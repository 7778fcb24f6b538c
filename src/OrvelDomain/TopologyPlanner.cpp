// The grouping planner: `TopologyTarget::plan`. Kept apart from the target's other members
// because it is the one piece with real decisions in it.

#include "TopologyTarget.h"

namespace orvel {

namespace {

TopologyPlan planMemberOf(const TopologyTarget::MemberOf& target, const Topology& from) {
    const SpeakerUUID& coordinator = target.group.coordinator;
    if (!from.isCoordinator(coordinator)) {
        return TopologyPlan::impossible(TopologyPlanFailure::groupDissolved(target.group));
    }
    auto current = from.group(target.member);
    if (!current) return TopologyPlan::steps({}, {target.member});
    if (current->coordinator == coordinator) return TopologyPlan::steps({});
    // A coordinator that moves leaves its followers together under their smallest member;
    // nothing is delegated first.
    return TopologyPlan::steps({TopologyStep::join(target.member, coordinator)});
}

TopologyPlan planStandalone(const TopologyTarget& whole, const TopologyTarget::Standalone& target,
                            const Topology& from) {
    const SpeakerUUID& speaker = target.speaker;
    if (!from.isListed(speaker)) return TopologyPlan::steps({}, {speaker});
    if (whole.isSatisfied(from)) return TopologyPlan::steps({});
    if (from.isCoordinator(speaker)) {
        // It leads a group: hand the group to its smallest follower so the others keep playing.
        SpeakerUUID successor = *from.followers(speaker).begin();
        return TopologyPlan::steps(
            {TopologyStep::delegateCoordination(speaker, successor, /*rejoinGroup=*/false)});
    }
    return TopologyPlan::steps({TopologyStep::makeStandalone(speaker)});
}

TopologyPlan planExactGroup(const TopologyTarget::ExactGroup& target, const Topology& from) {
    const SpeakerUUID& coordinator = target.coordinator;
    if (!from.isListed(coordinator)) {
        return TopologyPlan::impossible(TopologyPlanFailure::coordinatorMissing(coordinator));
    }
    std::set<SpeakerUUID> wanted = target.members;
    wanted.erase(coordinator);

    std::vector<TopologyStep> steps;
    std::set<SpeakerUUID> skipped;
    if (!from.isCoordinator(coordinator)) steps.push_back(TopologyStep::makeStandalone(coordinator));
    // Sets iterate in identifier order, which makes every list below sorted.
    for (const auto& follower : from.followers(coordinator)) {
        if (!wanted.contains(follower)) steps.push_back(TopologyStep::makeStandalone(follower));
    }
    for (const auto& member : wanted) {
        auto current = from.group(member);
        if (!current) {
            skipped.insert(member);
        } else if (current->coordinator != coordinator) {
            steps.push_back(TopologyStep::join(member, coordinator));
        }
    }
    return TopologyPlan::steps(std::move(steps), std::move(skipped));
}

}  // namespace

TopologyPlan TopologyTarget::plan(const Topology& from) const {
    return visit([&from](const MemberOf& m) { return planMemberOf(m, from); },
                 [this, &from](const Standalone& s) { return planStandalone(*this, s, from); },
                 [&from](const ExactGroup& e) { return planExactGroup(e, from); });
}

}  // namespace orvel
