#pragma once

// An unbounded first-in-first-out stream of values from one producer to one consumer on the
// same thread. The consumer awaits next() for each value; the stream ends when either side
// leaves. When the producer leaves (finish() or destruction) the consumer still receives what
// was sent before and then the end. When the consumer leaves, what is buffered is dropped,
// send() returns false from then on, and the producer's consumerLeft() token is cancelled, so
// a producer can stop its work as soon as nobody listens.
//
//   auto [sender, receiver] = AsyncChannel<Snapshot>::open();
//   while (auto snapshot = co_await receiver.next()) { ... }

#include <QCoroTask>

#include <coroutine>
#include <deque>
#include <memory>
#include <optional>
#include <utility>

#include "CancellationToken.h"

namespace orvel {

template <typename T>
class AsyncChannel {
    struct Waiter {
        std::coroutine_handle<> handle;
        std::optional<T> value;
    };

    struct State {
        std::deque<T> buffer;
        std::deque<Waiter*> waiters;  // suspended next() calls, oldest first
        bool senderLeft = false;
        bool receiverLeft = false;
        CancellationSource consumerLeft;

        // Ends every pending next() with no value. One at a time: a resumed consumer runs
        // before the next waiter is looked at.
        void endWaiters() {
            while (!waiters.empty()) {
                auto* waiter = waiters.front();
                waiters.pop_front();
                waiter->handle.resume();
            }
        }
    };

public:
    class Sender {
    public:
        Sender(Sender&&) noexcept = default;
        Sender& operator=(Sender&& other) noexcept {
            if (this != &other) {
                finish();
                state_ = std::move(other.state_);
            }
            return *this;
        }
        Sender(const Sender&) = delete;
        Sender& operator=(const Sender&) = delete;
        ~Sender() { finish(); }

        // Delivers or buffers the value; false when the stream has ended and the value was
        // dropped.
        bool send(T value) {
            auto state = state_;
            if (!state || state->senderLeft || state->receiverLeft) return false;
            if (state->waiters.empty()) {
                state->buffer.push_back(std::move(value));
                return true;
            }
            auto* waiter = state->waiters.front();
            state->waiters.pop_front();
            waiter->value.emplace(std::move(value));
            // The consumer runs now, inside send(); it may even destroy this sender.
            waiter->handle.resume();
            return true;
        }

        // Ends the stream after the values already sent.
        void finish() {
            auto state = std::exchange(state_, {});
            if (!state || state->senderLeft) return;
            state->senderLeft = true;
            state->endWaiters();
        }

        bool isConsumerGone() const { return !state_ || state_->receiverLeft; }
        // Whether the consumer is suspended in next(), having taken everything sent so far.
        bool isConsumerWaiting() const { return state_ && !state_->waiters.empty(); }
        // Cancelled when the consumer leaves.
        CancellationToken consumerLeft() const { return state_ ? state_->consumerLeft.token() : CancellationToken(); }

    private:
        friend class AsyncChannel;
        explicit Sender(std::shared_ptr<State> state) : state_(std::move(state)) {}
        std::shared_ptr<State> state_;
    };

    class Receiver {
    public:
        Receiver(Receiver&&) noexcept = default;
        Receiver& operator=(Receiver&& other) noexcept {
            if (this != &other) {
                leave();
                state_ = std::move(other.state_);
            }
            return *this;
        }
        Receiver(const Receiver&) = delete;
        Receiver& operator=(const Receiver&) = delete;
        ~Receiver() { leave(); }

        // The next value, or nothing once the stream has ended or `token` is cancelled.
        QCoro::Task<std::optional<T>> next(CancellationToken token = {}) {
            return receive(state_, std::move(token));
        }

        // Leaves the stream: buffered values are dropped and the producer is told.
        void leave() {
            auto state = std::exchange(state_, {});
            if (!state || state->receiverLeft) return;
            state->receiverLeft = true;
            state->buffer.clear();
            state->endWaiters();
            state->consumerLeft.cancel();
        }

    private:
        friend class AsyncChannel;
        explicit Receiver(std::shared_ptr<State> state) : state_(std::move(state)) {}

        class NextAwaiter {
        public:
            NextAwaiter(State& state, CancellationToken token) : state_(state), token_(std::move(token)) {}

            bool await_ready() {
                if (token_.isCancelled() || state_.receiverLeft) return true;
                if (!state_.buffer.empty()) {
                    waiter_.value.emplace(std::move(state_.buffer.front()));
                    state_.buffer.pop_front();
                    return true;
                }
                return state_.senderLeft;
            }

            void await_suspend(std::coroutine_handle<> handle) {
                waiter_.handle = handle;
                state_.waiters.push_back(&waiter_);
                // Points at this awaiter, which lives in the suspended frame until resumed.
                registration_ = token_.onCancel([this] {
                    std::erase(state_.waiters, &waiter_);
                    waiter_.handle.resume();
                });
            }

            std::optional<T> await_resume() {
                registration_.reset();
                return std::move(waiter_.value);
            }

        private:
            State& state_;
            CancellationToken token_;
            Waiter waiter_;
            CancellationRegistration registration_;
        };

        // A coroutine of its own holding the state, so a pending next() outlives the Receiver.
        static QCoro::Task<std::optional<T>> receive(std::shared_ptr<State> state, CancellationToken token) {
            if (!state) co_return std::nullopt;
            NextAwaiter next(*state, std::move(token));
            co_return co_await std::move(next);
        }

        std::shared_ptr<State> state_;
    };

    static std::pair<Sender, Receiver> open() {
        auto state = std::make_shared<State>();
        return {Sender(state), Receiver(state)};
    }
};

}  // namespace orvel
