#pragma once

// One regrouping action on the speakers. Each step is sent to the speaker it names first
// (`firstSpeaker()`).

#include <cstddef>
#include <functional>
#include <variant>

#include "Overloaded.h"
#include "SpeakerUUID.h"

namespace orvel {

class TopologyStep {
public:
    // The speaker leaves its group and plays alone.
    struct MakeStandalone {
        SpeakerUUID speaker;
        friend bool operator==(const MakeStandalone&, const MakeStandalone&) = default;
    };
    // Coordinator `from` hands its group to `to`, one of its followers; with `rejoinGroup`
    // it stays on as a follower of `to`, otherwise it leaves and plays alone.
    struct DelegateCoordination {
        SpeakerUUID from;
        SpeakerUUID to;
        bool rejoinGroup = false;
        friend bool operator==(const DelegateCoordination&, const DelegateCoordination&) = default;
    };
    // The speaker leaves its group and follows `coordinator`.
    struct Join {
        SpeakerUUID speaker;
        SpeakerUUID coordinator;
        friend bool operator==(const Join&, const Join&) = default;
    };

    static TopologyStep makeStandalone(SpeakerUUID speaker) {
        return TopologyStep(MakeStandalone{std::move(speaker)});
    }
    static TopologyStep delegateCoordination(SpeakerUUID from, SpeakerUUID to, bool rejoinGroup) {
        return TopologyStep(DelegateCoordination{std::move(from), std::move(to), rejoinGroup});
    }
    static TopologyStep join(SpeakerUUID speaker, SpeakerUUID coordinator) {
        return TopologyStep(Join{std::move(speaker), std::move(coordinator)});
    }

    bool isMakeStandalone() const { return std::holds_alternative<MakeStandalone>(value_); }
    bool isDelegateCoordination() const { return std::holds_alternative<DelegateCoordination>(value_); }
    bool isJoin() const { return std::holds_alternative<Join>(value_); }
    const MakeStandalone* asMakeStandalone() const { return std::get_if<MakeStandalone>(&value_); }
    const DelegateCoordination* asDelegateCoordination() const {
        return std::get_if<DelegateCoordination>(&value_);
    }
    const Join* asJoin() const { return std::get_if<Join>(&value_); }
    std::size_t caseIndex() const { return value_.index(); }

    // The speaker that carries the step out: the one leaving, delegating or joining.
    const SpeakerUUID& firstSpeaker() const;

    // Readable form for logs and test failures: "join(RINCON_…, coordinator: RINCON_…)".
    std::string description() const;

    std::size_t hashValue() const;

    friend bool operator==(const TopologyStep&, const TopologyStep&) = default;

private:
    explicit TopologyStep(std::variant<MakeStandalone, DelegateCoordination, Join> value)
        : value_(std::move(value)) {}
    std::variant<MakeStandalone, DelegateCoordination, Join> value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel

template <>
struct std::hash<orvel::TopologyStep> {
    std::size_t operator()(const orvel::TopologyStep& step) const noexcept { return step.hashValue(); }
};
