#pragma once

// Runs coroutines from tests: `start` begins a task and keeps its result; `finish` spins the
// event loop until the result is there, for at most a bounded time.

#include <chrono>
#include <memory>
#include <optional>

#include <QTest>

#include <gtest/gtest.h>
#include <qcoro/qcorotask.h>

namespace orvel::testing {

inline constexpr std::chrono::milliseconds waitBound{10'000};

template <class T>
class Started {
public:
    explicit Started(std::shared_ptr<std::optional<T>> result) : result_(std::move(result)) {}
    bool isDone() const { return result_->has_value(); }
    const std::shared_ptr<std::optional<T>>& state() const { return result_; }

private:
    std::shared_ptr<std::optional<T>> result_;
};

template <class T>
Started<T> start(QCoro::Task<T> task) {
    auto result = std::make_shared<std::optional<T>>();
    // The driver holds the result by a shared pointer, so it may outlive the test's wait.
    [](QCoro::Task<T> running, std::shared_ptr<std::optional<T>> out) -> QCoro::Task<> {
        out->emplace(co_await std::move(running));
    }(std::move(task), result);
    return Started<T>(result);
}

// Waits until `condition` holds, spinning the event loop; false after the bound.
template <class Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds bound = waitBound) {
    return QTest::qWaitFor(condition, static_cast<int>(bound.count()));
}

template <class T>
T finish(const Started<T>& started) {
    const bool done = waitUntil([&] { return started.isDone(); });
    if (!done) {
        ADD_FAILURE() << "task did not finish in time";
        std::abort();  // the result cannot be made up; a hang is a failure
    }
    return std::move(**started.state());
}

template <class T>
T run(QCoro::Task<T> task) {
    return finish(start(std::move(task)));
}

inline void run(QCoro::Task<> task) {
    auto done = std::make_shared<bool>(false);
    [](QCoro::Task<> running, std::shared_ptr<bool> flag) -> QCoro::Task<> {
        co_await std::move(running);
        *flag = true;
    }(std::move(task), done);
    if (!waitUntil([&] { return *done; })) {
        ADD_FAILURE() << "task did not finish in time";
        std::abort();
    }
}

}  // namespace orvel::testing
