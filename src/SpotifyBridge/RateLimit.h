#pragma once

// Back-off after "429 Too Many Requests": 5 s doubling per 429 in a row (at most six steps,
// 160 s), at least the server's Retry-After (10 s when it gives none), never more than 300 s.

#include <algorithm>
#include <cstdint>
#include <optional>

namespace orvel::rateLimit {

inline constexpr int maximumConsecutive = 6;
inline constexpr double defaultRetryAfter = 10.0;
inline constexpr double longestWait = 300.0;

// The count after one more 429.
constexpr int nextConsecutiveCount(int count) { return std::clamp(count + 1, 1, maximumConsecutive); }

constexpr double backOff(int consecutiveCount) {
    return 5.0 * static_cast<double>(std::int64_t{1} << (std::clamp(consecutiveCount, 1, maximumConsecutive) - 1));
}

// Seconds to wait after a 429 that made `consecutiveCount` in a row. `retryAfter` must already
// be finite and non-negative (see reply::retryAfterSeconds).
constexpr double wait(int consecutiveCount, std::optional<double> retryAfter) {
    return std::min(std::max(retryAfter.value_or(defaultRetryAfter), backOff(consecutiveCount)), longestWait);
}

}  // namespace orvel::rateLimit
