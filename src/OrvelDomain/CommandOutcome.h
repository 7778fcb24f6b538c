#pragma once

// The result of a command that did not fail: carried out, nothing to do, or carried out
// except for speakers that could not be reached.

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <variant>

#include "Overloaded.h"
#include "SpeakerUUID.h"

namespace orvel {

class CommandOutcome {
public:
    struct Applied {
        friend bool operator==(const Applied&, const Applied&) = default;
    };
    struct AlreadySatisfied {
        friend bool operator==(const AlreadySatisfied&, const AlreadySatisfied&) = default;
    };
    struct PartiallyApplied {
        std::set<SpeakerUUID> unreachable;
        friend bool operator==(const PartiallyApplied&, const PartiallyApplied&) = default;
    };

    static CommandOutcome applied() { return CommandOutcome(Applied{}); }
    static CommandOutcome alreadySatisfied() { return CommandOutcome(AlreadySatisfied{}); }
    static CommandOutcome partiallyApplied(std::set<SpeakerUUID> unreachable) {
        return CommandOutcome(PartiallyApplied{std::move(unreachable)});
    }

    bool isApplied() const { return std::holds_alternative<Applied>(value_); }
    bool isAlreadySatisfied() const { return std::holds_alternative<AlreadySatisfied>(value_); }
    bool isPartiallyApplied() const { return std::holds_alternative<PartiallyApplied>(value_); }
    const PartiallyApplied* asPartiallyApplied() const { return std::get_if<PartiallyApplied>(&value_); }
    std::size_t caseIndex() const { return value_.index(); }

    // For logs: "applied", "alreadySatisfied", "partiallyApplied(RINCON_…, …)".
    std::string description() const;
    std::size_t hashValue() const;

    friend bool operator==(const CommandOutcome&, const CommandOutcome&) = default;

private:
    using Value = std::variant<Applied, AlreadySatisfied, PartiallyApplied>;
    explicit CommandOutcome(Value value) : value_(std::move(value)) {}
    Value value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel

template <>
struct std::hash<orvel::CommandOutcome> {
    std::size_t operator()(const orvel::CommandOutcome& outcome) const noexcept { return outcome.hashValue(); }
};
