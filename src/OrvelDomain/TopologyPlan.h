#pragma once

// The planner's answer: the ordered steps that reach a wanted grouping, together with the wanted
// speakers that the grouping does not list (left out of the steps), or why it cannot be reached.

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "Overloaded.h"
#include "SpeakerUUID.h"
#include "TopologyPlanFailure.h"
#include "TopologyStep.h"

namespace orvel {

class TopologyPlan {
public:
    struct Steps {
        std::vector<TopologyStep> steps;
        std::set<SpeakerUUID> skipped;
        friend bool operator==(const Steps&, const Steps&) = default;
    };
    struct Impossible {
        TopologyPlanFailure failure;
        friend bool operator==(const Impossible&, const Impossible&) = default;
    };

    static TopologyPlan steps(std::vector<TopologyStep> steps, std::set<SpeakerUUID> skipped = {}) {
        return TopologyPlan(Steps{std::move(steps), std::move(skipped)});
    }
    static TopologyPlan impossible(TopologyPlanFailure failure) {
        return TopologyPlan(Impossible{std::move(failure)});
    }

    bool isSteps() const { return std::holds_alternative<Steps>(value_); }
    bool isImpossible() const { return std::holds_alternative<Impossible>(value_); }
    const Steps* asSteps() const { return std::get_if<Steps>(&value_); }
    const Impossible* asImpossible() const { return std::get_if<Impossible>(&value_); }
    std::size_t caseIndex() const { return value_.index(); }

    std::string description() const;
    std::size_t hashValue() const;

    friend bool operator==(const TopologyPlan&, const TopologyPlan&) = default;

private:
    explicit TopologyPlan(std::variant<Steps, Impossible> value) : value_(std::move(value)) {}
    std::variant<Steps, Impossible> value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel

template <>
struct std::hash<orvel::TopologyPlan> {
    std::size_t operator()(const orvel::TopologyPlan& plan) const noexcept { return plan.hashValue(); }
};
