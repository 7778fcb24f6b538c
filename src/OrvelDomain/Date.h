#pragma once

// An instant, as seconds since 2001-01-01 00:00:00 UTC in a double (the form the JSON files
// use, so a round trip is exact). The difference of two dates is seconds as a double.

#include <chrono>
#include <compare>
#include <functional>

#include "Json.h"

namespace orvel {

class Date {
public:
    // Seconds between the Unix epoch and 2001-01-01 00:00:00 UTC.
    static constexpr double unixOffset = 978307200.0;

    constexpr Date() = default;
    static constexpr Date sinceReferenceDate(double seconds) { return Date(seconds); }
    static constexpr Date fromUnix(double unixSeconds) { return Date(unixSeconds - unixOffset); }
    static Date fromSystemClock(std::chrono::system_clock::time_point time);
    static Date now();

    constexpr double secondsSinceReferenceDate() const { return seconds_; }
    constexpr double unixSeconds() const { return seconds_ + unixOffset; }
    std::chrono::system_clock::time_point toSystemClock() const;

    constexpr Date addingSeconds(double seconds) const { return Date(seconds_ + seconds); }
    // this - other, in seconds.
    constexpr double secondsSince(Date other) const { return seconds_ - other.seconds_; }

    Json toJson() const { return seconds_; }
    static Decoded<Date> fromJson(const Json& value);

    friend constexpr bool operator==(Date, Date) = default;
    friend constexpr auto operator<=>(Date, Date) = default;

private:
    constexpr explicit Date(double seconds) : seconds_(seconds) {}
    double seconds_ = 0;
};

}  // namespace orvel

template <>
struct std::hash<orvel::Date> {
    std::size_t operator()(orvel::Date d) const noexcept {
        return std::hash<double>{}(d.secondsSinceReferenceDate());
    }
};
