#include "Duration.h"

#include <cmath>
#include <cstdio>

namespace orvel {

namespace {
constexpr Duration::Attoseconds maxAttoseconds =
    static_cast<Duration::Attoseconds>(~static_cast<Duration::UnsignedAttoseconds>(0) >> 1);
constexpr Duration::Attoseconds minAttoseconds = -maxAttoseconds - 1;
}  // namespace

Duration Duration::seconds(double s) {
    if (!std::isfinite(s)) return Duration();
    long double atto = static_cast<long double>(s) * 1e18L;
    // 2^127 as a long double: anything at or beyond it saturates.
    constexpr long double limit = 170141183460469231731687303715884105728.0L;
    if (atto >= limit) return Duration(maxAttoseconds);
    if (atto <= -limit) return Duration(minAttoseconds);
    return Duration(static_cast<Attoseconds>(std::roundl(atto)));
}

double Duration::inSeconds() const {
    Attoseconds whole = value_ / perSecond;
    Attoseconds rest = value_ % perSecond;
    return static_cast<double>(whole) + static_cast<double>(rest) / 1e18;
}

std::chrono::nanoseconds Duration::toChrono() const {
    Attoseconds ns = value_ / 1'000'000'000;
    if (ns > INT64_MAX) return std::chrono::nanoseconds(INT64_MAX);
    if (ns < INT64_MIN) return std::chrono::nanoseconds(INT64_MIN);
    return std::chrono::nanoseconds(static_cast<std::int64_t>(ns));
}

std::string Duration::description() const {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g seconds", inSeconds());
    return buffer;
}

Json Duration::toJson() const { return Json::array({high(), low()}); }

Decoded<Duration> Duration::fromJson(const Json& value) {
    ORVEL_TRY(const Json* array, json::expectArray(value));
    if (array->size() != 2) {
        return std::unexpected(DecodingError::dataCorrupted("Expected [high, low] for a Duration."));
    }
    ORVEL_TRY(std::int64_t high, json::decodeInteger((*array)[0]));
    ORVEL_TRY(std::uint64_t low, json::decodeUnsigned((*array)[1]));
    return fromComponents(high, low);
}

}  // namespace orvel
