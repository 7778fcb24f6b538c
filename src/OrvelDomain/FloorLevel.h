#pragma once

// A floor of the house: a rank (higher is higher up; the main floor is 0) and the title the
// map shows on its band. Ordered by rank, then by title, so two floors order equal only when
// they are equal. Also holds the guess of a floor from a single room's name.

#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "Json.h"

namespace orvel {

class FloorLevel {
public:
    FloorLevel(std::int64_t rank, std::string title) : rank_(rank), title_(std::move(title)) {}

    static FloorLevel top();    // 2, "Top Floor"
    static FloorLevel upper();  // 1, "Upper Floor"
    static FloorLevel main();   // 0, "Main Floor"
    static FloorLevel lower();  // -1, "Lower Floor"
    // Rank n, titled "Floor n".
    static FloorLevel numbered(std::int64_t n);

    std::int64_t rank() const { return rank_; }
    const std::string& title() const { return title_; }
    // "<rank>-<title>", e.g. "-1-Lower Floor": the floor's key in lists of floors.
    std::string id() const;

    // How high a room is, guessed from its name alone, ignoring case: an explicit
    // "floor N"/"level N" gives N - 1; otherwise keywords give 2 (attic, penthouse, ...),
    // 1 (upstairs, loft, ...) or -1 (basement, den, garage, ...); anything else 0.
    static std::int64_t semanticElevationTier(std::string_view roomName);
    // The floor of one room seen alone: below 0 is `lower`, 0 and 1 `upper`, 2 and more `top`.
    // Never `main` nor a numbered floor; the household-wide assignment ranks tiers instead.
    static FloorLevel classify(std::string_view roomName);
    // N from the first "floor"/"level" followed by optional white space and decimal digits
    // in an already lower-cased name; nullopt without such a match or when N does not fit in
    // 64 bits. A hand-written scanner: room names arrive from the network, and a backtracking
    // regex engine's recursion is not something to point at them.
    static std::optional<std::int64_t> explicitFloorNumber(std::string_view lowercasedName);

    // {"rank": rank, "title": title}; read back unchecked.
    Json toJson() const;
    static Decoded<FloorLevel> fromJson(const Json& value);

    friend bool operator==(const FloorLevel&, const FloorLevel&) = default;
    friend std::strong_ordering operator<=>(const FloorLevel& a, const FloorLevel& b) {
        if (auto c = a.rank_ <=> b.rank_; c != 0) return c;
        return a.title_.compare(b.title_) <=> 0;
    }

private:
    std::int64_t rank_;
    std::string title_;
};

}  // namespace orvel

template <>
struct std::hash<orvel::FloorLevel> {
    std::size_t operator()(const orvel::FloorLevel& level) const noexcept {
        return std::hash<std::int64_t>{}(level.rank()) * 31 + std::hash<std::string>{}(level.title());
    }
};
