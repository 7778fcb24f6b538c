#include "TopologyTarget.h"

#include <algorithm>

#include "HashCombine.h"

namespace orvel {

bool TopologyTarget::isSatisfied(const Topology& by, const std::set<SpeakerUUID>& ignoring) const {
    if (const auto* m = asMemberOf()) {
        if (by.isEmpty()) return false;
        const SpeakerUUID& coordinator = m->group.coordinator;
        // An ignored member cannot be checked; the group it should be in must still exist.
        if (ignoring.contains(m->member)) return by.isCoordinator(coordinator);
        auto group = by.group(m->member);
        return group && group->coordinator == coordinator;
    }
    if (const auto* s = asStandalone()) {
        if (ignoring.contains(s->speaker)) return true;
        return by.isCoordinator(s->speaker) && by.followers(s->speaker).empty();
    }
    const auto* e = asExactGroup();
    if (!by.isCoordinator(e->coordinator)) return false;
    std::set<SpeakerUUID> followers = by.followers(e->coordinator);
    for (const auto& wanted : e->members) {
        if (wanted == e->coordinator || ignoring.contains(wanted)) continue;
        if (!followers.contains(wanted)) return false;
    }
    return std::ranges::all_of(followers, [&](const SpeakerUUID& follower) {
        return e->members.contains(follower) || ignoring.contains(follower);
    });
}

std::string TopologyTarget::description() const {
    if (const auto* m = asMemberOf()) {
        return "memberOf(" + m->group.description() + ", member: " + m->member.rawValue() + ")";
    }
    if (const auto* s = asStandalone()) return "standalone(" + s->speaker.rawValue() + ")";
    const auto* e = asExactGroup();
    std::string out = "exactGroup(coordinator: " + e->coordinator.rawValue() + ", members: [";
    bool first = true;
    for (const auto& id : e->members) {
        if (!first) out += ", ";
        first = false;
        out += id.rawValue();
    }
    return out + "])";
}

std::size_t TopologyTarget::hashValue() const {
    std::size_t seed = 0;
    hashCombine(seed, caseIndex());
    if (const auto* m = asMemberOf()) {
        hashCombine(seed, m->group);
        hashCombine(seed, m->member);
    } else if (const auto* s = asStandalone()) {
        hashCombine(seed, s->speaker);
    } else {
        const auto* e = asExactGroup();
        hashCombine(seed, e->coordinator);
        hashCombine(seed, e->members.size());
        for (const auto& id : e->members) hashCombine(seed, id);
    }
    return seed;
}

}  // namespace orvel
