#pragma once

// A wanted grouping: a speaker inside a given group, a speaker on its own, or one exact group.
// `plan` computes the steps that reach it from a grouping; `isSatisfied` tells whether a
// grouping already meets it.

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <variant>

#include "GroupID.h"
#include "Overloaded.h"
#include "SpeakerUUID.h"
#include "Topology.h"
#include "TopologyPlan.h"

namespace orvel {

class TopologyTarget {
public:
    // `member` plays in the group coordinated by `group`'s coordinator.
    struct MemberOf {
        GroupID group;
        SpeakerUUID member;
        friend bool operator==(const MemberOf&, const MemberOf&) = default;
    };
    // The speaker plays alone.
    struct Standalone {
        SpeakerUUID speaker;
        friend bool operator==(const Standalone&, const Standalone&) = default;
    };
    // `coordinator` leads a group whose other members are exactly `members` (the coordinator
    // may or may not be among them).
    struct ExactGroup {
        SpeakerUUID coordinator;
        std::set<SpeakerUUID> members;
        friend bool operator==(const ExactGroup&, const ExactGroup&) = default;
    };

    static TopologyTarget memberOf(GroupID group, SpeakerUUID member) {
        return TopologyTarget(MemberOf{std::move(group), std::move(member)});
    }
    static TopologyTarget standalone(SpeakerUUID speaker) {
        return TopologyTarget(Standalone{std::move(speaker)});
    }
    static TopologyTarget exactGroup(SpeakerUUID coordinator, std::set<SpeakerUUID> members) {
        return TopologyTarget(ExactGroup{std::move(coordinator), std::move(members)});
    }

    bool isMemberOf() const { return std::holds_alternative<MemberOf>(value_); }
    bool isStandalone() const { return std::holds_alternative<Standalone>(value_); }
    bool isExactGroup() const { return std::holds_alternative<ExactGroup>(value_); }
    const MemberOf* asMemberOf() const { return std::get_if<MemberOf>(&value_); }
    const Standalone* asStandalone() const { return std::get_if<Standalone>(&value_); }
    const ExactGroup* asExactGroup() const { return std::get_if<ExactGroup>(&value_); }
    std::size_t caseIndex() const { return value_.index(); }

    // Whether `by` meets the target when the `ignoring` speakers (typically unreachable ones)
    // are left out of the test.
    bool isSatisfied(const Topology& by, const std::set<SpeakerUUID>& ignoring = {}) const;

    // The ordered steps from `from` to the target. Every list is sorted by identifier, so the
    // same grouping always gives the same plan. Never fails other than by `impossible`.
    TopologyPlan plan(const Topology& from) const;

    std::string description() const;
    std::size_t hashValue() const;

    friend bool operator==(const TopologyTarget&, const TopologyTarget&) = default;

private:
    explicit TopologyTarget(std::variant<MemberOf, Standalone, ExactGroup> value)
        : value_(std::move(value)) {}
    std::variant<MemberOf, Standalone, ExactGroup> value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel

template <>
struct std::hash<orvel::TopologyTarget> {
    std::size_t operator()(const orvel::TopologyTarget& target) const noexcept {
        return target.hashValue();
    }
};
