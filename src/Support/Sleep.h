#pragma once

// Sleeping in a coroutine on an injected clock. Unlike QCoro::sleepFor (a coarse timer that may
// wake up to 5% early) these never return before the deadline on the clock's monotonic time.
// The cancellable forms return at once when their token is cancelled. The clock must outlive
// the sleep.

#include <QCoroTask>

#include <chrono>
#include <expected>

#include "CancellationToken.h"
#include "Clock.h"

namespace orvel {

QCoro::Task<> sleepUntil(Clock& clock, Clock::Instant deadline);
QCoro::Task<> sleepFor(Clock& clock, std::chrono::nanoseconds delay);

QCoro::Task<std::expected<void, Cancelled>> sleepUntil(Clock& clock, Clock::Instant deadline, CancellationToken token);
QCoro::Task<std::expected<void, Cancelled>> sleepFor(Clock& clock, std::chrono::nanoseconds delay, CancellationToken token);

}  // namespace orvel
