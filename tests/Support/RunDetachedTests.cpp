#include <gtest/gtest.h>

#include <QThread>

#include <atomic>
#include <memory>
#include <stdexcept>

#include "Support/RunDetached.h"
#include "common/WaitFor.h"

using namespace orvel;

namespace {

template <typename T>
QCoro::Task<T> awaited(QFuture<T> future) {
    co_return co_await future;
}

QCoro::Task<> awaited(QFuture<void> future) { co_await future; }

}  // namespace

TEST(RunDetached, TheJobRunsOnThePoolAndItsResultIsAwaitedHere) {
    const auto onWorker = waitForTask(awaited(runDetached([] { return QThread::currentThread() != QCoreApplication::instance()->thread(); })));
    ASSERT_TRUE(onWorker);
    EXPECT_TRUE(*onWorker);
}

TEST(RunDetached, MoveOnlyVoidAndThrowingJobs) {
    auto owned = std::make_unique<int>(41);
    EXPECT_EQ(waitForTask(awaited(runDetached([owned = std::move(owned)] { return *owned + 1; }))), 42);

    std::atomic<bool> ran = false;
    EXPECT_TRUE(waitForTask(awaited(runDetached([&ran] { ran = true; }))));
    EXPECT_TRUE(ran);

    // An exception from the job is rethrown where it is awaited.
    auto failing = runDetached([]() -> int { throw std::runtime_error("corrupt input"); });
    EXPECT_THROW(waitForTask(awaited(std::move(failing))), std::runtime_error);
}
