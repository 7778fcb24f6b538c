#pragma once

// How the household looks from here: not heard from yet, answering, or gone quiet (with the
// latest time any known speaker was seen, when one was).

#include <cstddef>
#include <functional>
#include <optional>
#include <variant>

#include "OrvelDomain/Date.h"
#include "OrvelDomain/Overloaded.h"

namespace orvel {

class HouseholdConnection {
public:
    struct Away {
        std::optional<Date> lastSeenAt;
        friend bool operator==(const Away&, const Away&) = default;
    };
    struct Searching {
        friend bool operator==(const Searching&, const Searching&) = default;
    };
    struct Live {
        friend bool operator==(const Live&, const Live&) = default;
    };

    static HouseholdConnection away(std::optional<Date> lastSeenAt) {
        return HouseholdConnection(Away{lastSeenAt});
    }
    static HouseholdConnection searching() { return HouseholdConnection(Searching{}); }
    static HouseholdConnection live() { return HouseholdConnection(Live{}); }

    bool isAway() const { return std::holds_alternative<Away>(value_); }
    bool isSearching() const { return std::holds_alternative<Searching>(value_); }
    bool isLive() const { return std::holds_alternative<Live>(value_); }
    const Away* asAway() const { return std::get_if<Away>(&value_); }
    std::size_t caseIndex() const { return value_.index(); }

    friend bool operator==(const HouseholdConnection&, const HouseholdConnection&) = default;

private:
    explicit HouseholdConnection(std::variant<Away, Searching, Live> value) : value_(value) {}
    std::variant<Away, Searching, Live> value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel

template <>
struct std::hash<orvel::HouseholdConnection> {
    std::size_t operator()(const orvel::HouseholdConnection& connection) const noexcept {
        std::size_t seed = std::hash<std::size_t>{}(connection.caseIndex());
        if (const auto* away = connection.asAway(); away && away->lastSeenAt) {
            seed = seed * 31 + std::hash<orvel::Date>{}(*away->lastSeenAt);
        }
        return seed;
    }
};
