#pragma once

// The one way a long-lived object ties the tasks it starts to its own life. The owner holds a
// LifetimeGuard and ends it first thing in its destructor; every task takes a Token by value
// instead of `this`, checks it after every co_await, and hands its ended() token to any sleep or
// wait, so a task that sleeps or waits wakes at once when the owner goes and ends instead of
// outliving it. The token reads the owner's pointer through a slot the guard empties, so it
// never keeps the owner alive (a QPointer would still be set while the owner's members are
// being destroyed). Everything here lives on one thread.
//
//   QCoro::Task<> Owner::refreshLater(LifetimeGuard<Owner>::Token self, Clock& clock) {
//       auto slept = co_await sleepFor(clock, 1s, self.ended());
//       if (!slept || !self) co_return;
//       self->refresh();
//   }

#include <memory>

#include "CancellationToken.h"

namespace orvel {

template <class Owner>
class LifetimeGuard {
public:
    class Token {
    public:
        // A token of no owner: always empty.
        Token() = default;

        Owner* get() const { return slot_ ? *slot_ : nullptr; }
        Owner* operator->() const { return get(); }
        Owner& operator*() const { return *get(); }
        explicit operator bool() const { return get() != nullptr; }

        // Cancelled when the owner goes.
        CancellationToken ended() const { return ended_; }

    private:
        friend class LifetimeGuard;
        Token(std::shared_ptr<Owner*> slot, CancellationToken ended)
            : slot_(std::move(slot)), ended_(std::move(ended)) {}
        std::shared_ptr<Owner*> slot_;
        CancellationToken ended_;
    };

    explicit LifetimeGuard(Owner* owner) : slot_(std::make_shared<Owner*>(owner)) {}
    ~LifetimeGuard() { end(); }
    LifetimeGuard(const LifetimeGuard&) = delete;
    LifetimeGuard& operator=(const LifetimeGuard&) = delete;

    Token token() const { return Token(slot_, source_.token()); }
    CancellationToken ended() const { return source_.token(); }
    bool hasEnded() const { return *slot_ == nullptr; }

    // Empties every token, then wakes every task waiting on ended(); later calls do nothing.
    // Woken tasks run inside this call and find the owner gone.
    void end() {
        *slot_ = nullptr;
        source_.cancel();
    }

private:
    std::shared_ptr<Owner*> slot_;
    CancellationSource source_;
};

}  // namespace orvel
