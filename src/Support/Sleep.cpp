#include "Sleep.h"

#include <coroutine>
#include <utility>

namespace orvel {

namespace {

// Suspends until the clock's timer or the token, whichever comes first, and disarms the other
// before resuming, so the coroutine resumes exactly once. The callbacks point at this awaiter,
// which lives in the suspended coroutine's frame until that resumption.
class SleepAwaiter {
public:
    SleepAwaiter(Clock& clock, Clock::Instant deadline, CancellationToken token)
        : clock_(clock), deadline_(deadline), token_(std::move(token)) {}

    bool await_ready() {
        cancelled_ = token_.isCancelled();
        return cancelled_ || clock_.monotonicNow() >= deadline_;
    }

    void await_suspend(std::coroutine_handle<> handle) {
        timer_ = clock_.scheduleAt(deadline_, [this, handle] {
            registration_.reset();
            handle.resume();
        });
        registration_ = token_.onCancel([this, handle] {
            cancelled_ = true;
            timer_.cancel();
            handle.resume();
        });
    }

    std::expected<void, Cancelled> await_resume() const {
        if (cancelled_) return std::unexpected(Cancelled{});
        return {};
    }

private:
    Clock& clock_;
    Clock::Instant deadline_;
    CancellationToken token_;
    Clock::Timer timer_;
    CancellationRegistration registration_;
    bool cancelled_ = false;
};

}  // namespace

// Awaiters are named locals here and elsewhere: g++ 12 may destroy some temporaries of a
// co_await expression twice.

QCoro::Task<> sleepUntil(Clock& clock, Clock::Instant deadline) {
    SleepAwaiter sleep(clock, deadline, CancellationToken());
    co_await std::move(sleep);
}

QCoro::Task<> sleepFor(Clock& clock, std::chrono::nanoseconds delay) {
    SleepAwaiter sleep(clock, clock.monotonicNow() + delay, CancellationToken());
    co_await std::move(sleep);
}

QCoro::Task<std::expected<void, Cancelled>> sleepUntil(Clock& clock, Clock::Instant deadline, CancellationToken token) {
    SleepAwaiter sleep(clock, deadline, std::move(token));
    co_return co_await std::move(sleep);
}

QCoro::Task<std::expected<void, Cancelled>> sleepFor(Clock& clock, std::chrono::nanoseconds delay, CancellationToken token) {
    SleepAwaiter sleep(clock, clock.monotonicNow() + delay, std::move(token));
    co_return co_await std::move(sleep);
}

}  // namespace orvel
