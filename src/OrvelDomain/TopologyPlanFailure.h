#pragma once

// Why a wanted grouping cannot be planned.

#include <cstddef>
#include <functional>
#include <string>
#include <variant>

#include "GroupID.h"
#include "Overloaded.h"
#include "SpeakerUUID.h"

namespace orvel {

class TopologyPlanFailure {
public:
    // The wanted coordinator is not part of the household's grouping.
    struct CoordinatorMissing {
        SpeakerUUID speaker;
        friend bool operator==(const CoordinatorMissing&, const CoordinatorMissing&) = default;
    };
    // The group to join no longer exists: its coordinator is gone or now follows another.
    struct GroupDissolved {
        GroupID group;
        friend bool operator==(const GroupDissolved&, const GroupDissolved&) = default;
    };

    static TopologyPlanFailure coordinatorMissing(SpeakerUUID speaker) {
        return TopologyPlanFailure(CoordinatorMissing{std::move(speaker)});
    }
    static TopologyPlanFailure groupDissolved(GroupID group) {
        return TopologyPlanFailure(GroupDissolved{std::move(group)});
    }

    bool isCoordinatorMissing() const { return std::holds_alternative<CoordinatorMissing>(value_); }
    bool isGroupDissolved() const { return std::holds_alternative<GroupDissolved>(value_); }
    const CoordinatorMissing* asCoordinatorMissing() const { return std::get_if<CoordinatorMissing>(&value_); }
    const GroupDissolved* asGroupDissolved() const { return std::get_if<GroupDissolved>(&value_); }
    std::size_t caseIndex() const { return value_.index(); }

    std::string description() const;
    std::size_t hashValue() const;

    friend bool operator==(const TopologyPlanFailure&, const TopologyPlanFailure&) = default;

private:
    explicit TopologyPlanFailure(std::variant<CoordinatorMissing, GroupDissolved> value)
        : value_(std::move(value)) {}
    std::variant<CoordinatorMissing, GroupDissolved> value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel

template <>
struct std::hash<orvel::TopologyPlanFailure> {
    std::size_t operator()(const orvel::TopologyPlanFailure& failure) const noexcept {
        return failure.hashValue();
    }
};
