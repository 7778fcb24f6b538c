#pragma once

// Collapses concurrent requests for the same work into one run: the first run() starts the
// operation, and every run() that arrives while it is in flight waits for that same outcome
// instead of starting another (a token refresh that many callers need at once). A run() after
// the outcome starts a new flight. Errors reach every waiter: an error value inside T as it
// is, an exception rethrown in each.
//
//   SingleFlight<std::expected<Token, AuthError>> refresh;
//   auto fetch = [client] { return refreshToken(client); };
//   auto token = co_await refresh.run(std::move(fetch));
//
// (g++ 12 destroys a lambda or brace-initialised temporary inside a co_await expression twice,
// so the lambda is a named local first.)

#include <QCoroTask>

#include <concepts>
#include <coroutine>
#include <exception>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace orvel {

template <std::copy_constructible T>
class SingleFlight {
    struct Waiter {
        std::coroutine_handle<> handle;  // null while the caller has not suspended yet
        std::optional<T> value;
        std::exception_ptr error;
        bool done = false;
    };

    struct State {
        bool running = false;
        std::vector<Waiter*> waiters;  // in arrival order
    };

public:
    bool isRunning() const { return state_->running; }

    // `start` is called only when no flight is running and must return QCoro::Task<T>.
    template <typename Start>
    QCoro::Task<T> run(Start start) {
        return join(state_, std::move(start));
    }

private:
    class WaitAwaiter {
    public:
        explicit WaitAwaiter(Waiter& waiter) : waiter_(waiter) {}
        bool await_ready() const { return waiter_.done; }
        void await_suspend(std::coroutine_handle<> handle) { waiter_.handle = handle; }
        void await_resume() const {}

    private:
        Waiter& waiter_;
    };

    template <typename Start>
    static QCoro::Task<T> join(std::shared_ptr<State> state, Start start) {
        Waiter waiter;
        // Registered before the flight starts, which may finish without suspending.
        state->waiters.push_back(&waiter);
        if (!state->running) {
            state->running = true;
            fly(state, std::move(start));
        }
        WaitAwaiter outcome(waiter);
        co_await std::move(outcome);
        if (waiter.error) std::rethrow_exception(waiter.error);
        co_return std::move(*waiter.value);
    }

    // Runs the operation in a frame of its own, so the flight does not depend on any one
    // caller; `start` and its captures live here until the outcome is handed out.
    template <typename Start>
    static QCoro::Task<> fly(std::shared_ptr<State> state, Start start) {
        std::optional<T> value;
        std::exception_ptr error;
        try {
            auto started = start();
            value.emplace(co_await std::move(started));
        } catch (...) {
            error = std::current_exception();
        }
        // Reset before anyone resumes, so a waiter that asks again starts a new flight.
        auto waiters = std::exchange(state->waiters, {});
        state->running = false;
        for (auto* waiter : waiters) {
            if (value) waiter->value.emplace(*value);
            waiter->error = error;
            waiter->done = true;
        }
        // A resumed caller finishes and frees its waiter: read each handle before resuming.
        for (auto* waiter : waiters) {
            if (auto handle = waiter->handle) handle.resume();
        }
    }

    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace orvel
