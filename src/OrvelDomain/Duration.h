#pragma once

// A signed span of time counted in attoseconds in 128 bits. JSON: [high, low], the signed
// upper and the unsigned lower 64-bit halves.

#include <chrono>
#include <compare>
#include <cstdint>
#include <string>

#include "Json.h"

namespace orvel {

class Duration {
public:
    __extension__ typedef __int128 Attoseconds;
    __extension__ typedef unsigned __int128 UnsignedAttoseconds;
    static constexpr Attoseconds perSecond = 1'000'000'000'000'000'000;

    constexpr Duration() = default;
    static constexpr Duration fromAttoseconds(Attoseconds value) { return Duration(value); }
    static constexpr Duration fromComponents(std::int64_t high, std::uint64_t low) {
        auto bits = (static_cast<UnsignedAttoseconds>(static_cast<std::uint64_t>(high)) << 64) | low;
        return Duration(static_cast<Attoseconds>(bits));
    }
    static constexpr Duration seconds(std::int64_t s) { return Duration(Attoseconds(s) * perSecond); }
    static constexpr Duration milliseconds(std::int64_t ms) {
        return Duration(Attoseconds(ms) * (perSecond / 1000));
    }
    // Seconds from a double, rounded to the attosecond. A non-finite value gives zero and a
    // value beyond the 128-bit range saturates, so no conversion is ever undefined.
    static Duration seconds(double s);
    static Duration fromChrono(std::chrono::nanoseconds ns) {
        return Duration(Attoseconds(ns.count()) * 1'000'000'000);
    }

    constexpr Attoseconds attoseconds() const { return value_; }
    constexpr std::int64_t high() const { return static_cast<std::int64_t>(value_ >> 64); }
    constexpr std::uint64_t low() const { return static_cast<std::uint64_t>(value_); }
    // Whole seconds (towards negative infinity) and the remaining attoseconds, as Swift's
    // `components` gives them.
    double inSeconds() const;
    // Nanoseconds, saturated to the 64-bit range.
    std::chrono::nanoseconds toChrono() const;
    std::string description() const;  // "1.5 seconds"

    constexpr Duration operator+(Duration o) const { return Duration(value_ + o.value_); }
    constexpr Duration operator-(Duration o) const { return Duration(value_ - o.value_); }
    constexpr Duration operator-() const { return Duration(-value_); }

    Json toJson() const;
    static Decoded<Duration> fromJson(const Json& value);

    friend constexpr bool operator==(Duration, Duration) = default;
    friend constexpr auto operator<=>(Duration a, Duration b) { return a.value_ <=> b.value_; }

private:
    constexpr explicit Duration(Attoseconds value) : value_(value) {}
    Attoseconds value_ = 0;
};

}  // namespace orvel

template <>
struct std::hash<orvel::Duration> {
    std::size_t operator()(orvel::Duration d) const noexcept {
        return std::hash<std::uint64_t>{}(d.low()) ^ (std::hash<std::int64_t>{}(d.high()) << 1);
    }
};
