#include "TopologyTarget.h"

#include <algorithm>

#include "HashCombine.h"

namespace orvel {

bool TopologyTarget::isSatisfied(const Topology& by, const std::set<SpeakerUUID>& ignoring) const {
    return visit(
        [&](const MemberOf& m) {
            if (by.isEmpty()) return false;
            const SpeakerUUID& coordinator = m.group.coordinator;
            // An ignored member cannot be checked; the group it should be in must still exist.
            if (ignoring.contains(m.member)) return by.isCoordinator(coordinator);
            auto group = by.group(m.member);
            return group && group->coordinator == coordinator;
        },
        [&](const Standalone& s) {
            if (ignoring.contains(s.speaker)) return true;
            return by.isCoordinator(s.speaker) && by.followers(s.speaker).empty();
        },
        [&](const ExactGroup& e) {
            if (!by.isCoordinator(e.coordinator)) return false;
            std::set<SpeakerUUID> followers = by.followers(e.coordinator);
            for (const auto& wanted : e.members) {
                if (wanted == e.coordinator || ignoring.contains(wanted)) continue;
                if (!followers.contains(wanted)) return false;
            }
            return std::ranges::all_of(followers, [&](const SpeakerUUID& follower) {
                return e.members.contains(follower) || ignoring.contains(follower);
            });
        });
}

std::string TopologyTarget::description() const {
    return visit(
        [](const MemberOf& m) {
            return "memberOf(" + m.group.description() + ", member: " + m.member.rawValue() + ")";
        },
        [](const Standalone& s) { return "standalone(" + s.speaker.rawValue() + ")"; },
        [](const ExactGroup& e) {
            std::string out = "exactGroup(coordinator: " + e.coordinator.rawValue() + ", members: [";
            bool first = true;
            for (const auto& id : e.members) {
                if (!first) out += ", ";
                first = false;
                out += id.rawValue();
            }
            return out + "])";
        });
}

std::size_t TopologyTarget::hashValue() const {
    std::size_t seed = 0;
    hashCombine(seed, caseIndex());
    visit(
        [&seed](const MemberOf& m) {
            hashCombine(seed, m.group);
            hashCombine(seed, m.member);
        },
        [&seed](const Standalone& s) { hashCombine(seed, s.speaker); },
        [&seed](const ExactGroup& e) {
            hashCombine(seed, e.coordinator);
            hashCombine(seed, e.members.size());
            for (const auto& id : e.members) hashCombine(seed, id);
        });
    return seed;
}

}  // namespace orvel
