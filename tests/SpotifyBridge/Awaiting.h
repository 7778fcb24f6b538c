#pragma once

// Runs a coroutine to its end from a test, within the shared bounded wait.

#include <gtest/gtest.h>
#include <qcoro/qcorotask.h>

#include "common/WaitFor.h"

namespace orvel::testing {

// The task's result; a failure and a default value when it does not finish in time.
template <class T>
T run(QCoro::Task<T> task) {
    auto result = waitForTask(std::move(task));
    if (!result) {
        ADD_FAILURE() << "the task did not finish in time";
        return T{};
    }
    return std::move(*result);
}

inline void run(QCoro::Task<> task) { EXPECT_TRUE(waitForTask(std::move(task))) << "the task did not finish in time"; }

}  // namespace orvel::testing
