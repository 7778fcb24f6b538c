#pragma once

// A first-in-first-out queue of coroutine operations: each run() waits until every operation
// queued before it has finished, then starts its own, so operations on one lane never
// interleave at their suspension points. The household controller and the Web API client each
// keep one for the work that must not overlap.
//
//   auto send = [client, request] { return client->send(request); };
//   auto reply = co_await lane.run(std::move(send));
//
// (g++ 12 destroys a lambda or brace-initialised temporary inside a co_await expression twice,
// so the lambda is a named local first.)
//
// An operation must not await a later run() on its own lane (that would wait for itself).
// Operations still queued when the lane is destroyed run anyway, so their callers are never
// left suspended; they check their own QPointer as usual.

#include <QCoroTask>

#include <coroutine>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

namespace orvel {

class SerialLane {
    using Job = std::move_only_function<QCoro::Task<>()>;

    struct State {
        std::deque<Job> jobs;
        bool draining = false;
        bool busy = false;
    };

    template <typename R>
    struct Slot {
        std::coroutine_handle<> handle;  // null while the caller has not suspended yet
        std::optional<std::conditional_t<std::is_void_v<R>, std::monostate, R>> value;
        std::exception_ptr error;
        bool done = false;
    };

    template <typename Operation>
    using ResultOf = typename std::invoke_result_t<Operation&>::value_type;

public:
    // The number of operations queued or running.
    std::size_t pendingCount() const { return state_->jobs.size() + (state_->busy ? 1 : 0); }
    bool isIdle() const { return pendingCount() == 0; }

    // `operation` is a callable returning QCoro::Task<R>; it is called when its turn comes and
    // kept alive until its task has finished.
    template <typename Operation>
    QCoro::Task<ResultOf<Operation>> run(Operation operation) {
        return enqueue<ResultOf<Operation>>(state_, std::move(operation));
    }

private:
    template <typename R>
    class SlotAwaiter {
    public:
        explicit SlotAwaiter(Slot<R>& slot) : slot_(slot) {}
        bool await_ready() const { return slot_.done; }
        void await_suspend(std::coroutine_handle<> handle) { slot_.handle = handle; }
        void await_resume() const {}

    private:
        Slot<R>& slot_;
    };

    template <typename R, typename Operation>
    static QCoro::Task<R> enqueue(std::shared_ptr<State> state, Operation operation) {
        Slot<R> slot;
        state->jobs.push_back([&slot, operation = std::move(operation)]() mutable {
            return perform<R>(slot, operation);
        });
        if (!state->draining) drain(state);
        SlotAwaiter<R> turn(slot);
        co_await std::move(turn);
        if (slot.error) std::rethrow_exception(slot.error);
        if constexpr (!std::is_void_v<R>) co_return std::move(*slot.value);
    }

    template <typename R, typename Operation>
    static QCoro::Task<> perform(Slot<R>& slot, Operation& operation) {
        try {
            if constexpr (std::is_void_v<R>) {
                auto operationTask = operation();
                co_await std::move(operationTask);
                slot.value.emplace();
            } else {
                auto operationTask = operation();
                slot.value.emplace(co_await std::move(operationTask));
            }
        } catch (...) {
            slot.error = std::current_exception();
        }
        slot.done = true;
        // The caller runs now; when it finishes, `slot` is gone.
        if (auto handle = slot.handle) handle.resume();
    }

    // One loop runs the jobs in order. Jobs that finish without suspending are taken in the same
    // loop, so a long queue never nests resumptions on the stack.
    static QCoro::Task<> drain(std::shared_ptr<State> state);

    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace orvel
