#include <gtest/gtest.h>

#include <QThread>

#include <atomic>
#include <memory>
#include <numeric>
#include <stdexcept>
#include <vector>

#include "Support/RunDetached.h"
#include "common/WaitFor.h"

using namespace orvel;

namespace {

struct Sum {
    long long total = 0;
    bool onWorker = false;
};

QCoro::Task<Sum> sumDetached(std::vector<int> values) {
    auto future = runDetached([values = std::move(values)] {
        return Sum{std::accumulate(values.begin(), values.end(), 0LL),
                   QThread::currentThread() != QCoreApplication::instance()->thread()};
    });
    co_return co_await future;
}

template <typename T>
QCoro::Task<T> awaited(QFuture<T> future) {
    co_return co_await future;
}

QCoro::Task<> awaited(QFuture<void> future) { co_await future; }

}  // namespace

TEST(RunDetached, TheJobRunsOnThePoolAndItsResultIsAwaitedHere) {
    std::vector<int> values(100'000);
    std::iota(values.begin(), values.end(), 1);
    auto sum = waitForTask(sumDetached(std::move(values)));
    ASSERT_TRUE(sum);
    EXPECT_EQ(sum->total, 5'000'050'000LL);
    EXPECT_TRUE(sum->onWorker);
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
