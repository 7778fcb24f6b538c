#pragma once

// Waiting in tests without timing luck: run the event loop until a condition holds or a
// coroutine finishes, and give up after a bounded time-out (a generous bound that only a
// broken test reaches), so a bug shows as a failure instead of a hung run.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <QCoroTask>

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace orvel {

inline constexpr std::chrono::milliseconds defaultWaitLimit{10'000};

// Runs the event loop until `condition` holds; false if it still does not after `limit`.
inline bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = defaultWaitLimit) {
    QDeadlineTimer deadline(limit);
    // Wakes the loop now and then, so a condition changed by another thread without posting an
    // event is seen too.
    QTimer poll;
    poll.start(std::chrono::milliseconds(2));
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

namespace waiting {
template <typename T>
struct TaskOutcome {
    bool done = false;
    std::optional<T> value;
    std::exception_ptr error;
};

// The outcome is shared: if the wait gives up, this coroutine may still finish later.
template <typename T>
QCoro::Task<> collect(QCoro::Task<T> task, std::shared_ptr<TaskOutcome<T>> outcome) {
    try {
        outcome->value.emplace(co_await task);
    } catch (...) {
        outcome->error = std::current_exception();
    }
    outcome->done = true;
}

inline QCoro::Task<> collect(QCoro::Task<> task, std::shared_ptr<TaskOutcome<bool>> outcome) {
    try {
        co_await task;
        outcome->value.emplace(true);
    } catch (...) {
        outcome->error = std::current_exception();
    }
    outcome->done = true;
}
}  // namespace waiting

// The task's result, or nothing if it has not finished after `limit`. An exception from the
// task is rethrown.
template <typename T>
std::optional<T> waitForTask(QCoro::Task<T> task, std::chrono::milliseconds limit = defaultWaitLimit) {
    auto outcome = std::make_shared<waiting::TaskOutcome<T>>();
    waiting::collect(std::move(task), outcome);
    if (!waitUntil([&] { return outcome->done; }, limit)) return std::nullopt;
    if (outcome->error) std::rethrow_exception(outcome->error);
    return std::move(outcome->value);
}

// Whether the task finished within `limit`.
inline bool waitForTask(QCoro::Task<> task, std::chrono::milliseconds limit = defaultWaitLimit) {
    auto outcome = std::make_shared<waiting::TaskOutcome<bool>>();
    waiting::collect(std::move(task), outcome);
    if (!waitUntil([&] { return outcome->done; }, limit)) return false;
    if (outcome->error) std::rethrow_exception(outcome->error);
    return true;
}

}  // namespace orvel
