#pragma once

// Cooperative cancellation for coroutines. A CancellationSource owns the decision; the
// CancellationTokens it hands out let work see it and react (a cancellable sleep wakes at
// once). A source cancels when it is destroyed, so work tied to an object's source ends with
// the object. Everything here lives on one thread.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace orvel {

// The failure of an operation that stopped because its token was cancelled.
struct Cancelled {
    friend bool operator==(Cancelled, Cancelled) = default;
};

namespace detail {
struct CancellationState {
    bool cancelled = false;
    std::map<std::uint64_t, std::function<void()>> callbacks;  // in registration order
    std::uint64_t nextId = 0;
    void cancel();
};
}  // namespace detail

// Keeps a callback registered with a token; destroying it (or reset()) unregisters it.
class CancellationRegistration {
public:
    CancellationRegistration() = default;
    CancellationRegistration(CancellationRegistration&& other) noexcept;
    CancellationRegistration& operator=(CancellationRegistration&& other) noexcept;
    CancellationRegistration(const CancellationRegistration&) = delete;
    CancellationRegistration& operator=(const CancellationRegistration&) = delete;
    ~CancellationRegistration();

    void reset();

private:
    friend class CancellationToken;
    CancellationRegistration(std::weak_ptr<detail::CancellationState> state, std::uint64_t id);
    std::weak_ptr<detail::CancellationState> state_;
    std::uint64_t id_ = 0;
};

class CancellationToken {
public:
    // A token that is never cancelled.
    CancellationToken() = default;

    bool isCancelled() const;
    bool canBeCancelled() const;

    // Calls `callback` once when the token is cancelled, unless the registration is gone by
    // then. On a token that is already cancelled it runs at once.
    [[nodiscard]] CancellationRegistration onCancel(std::function<void()> callback) const;

private:
    friend class CancellationSource;
    explicit CancellationToken(std::shared_ptr<detail::CancellationState> state);
    std::shared_ptr<detail::CancellationState> state_;
};

class CancellationSource {
public:
    CancellationSource();
    // A source that also cancels when `parent` does: an operation's own source under the
    // owner's.
    explicit CancellationSource(const CancellationToken& parent);
    CancellationSource(CancellationSource&&) noexcept;
    CancellationSource& operator=(CancellationSource&&) noexcept;
    CancellationSource(const CancellationSource&) = delete;
    CancellationSource& operator=(const CancellationSource&) = delete;
    ~CancellationSource();

    CancellationToken token() const;
    // Runs the registered callbacks in registration order; later calls do nothing.
    void cancel();
    bool isCancelled() const;

private:
    std::shared_ptr<detail::CancellationState> state_;
    CancellationRegistration parent_;
};

}  // namespace orvel
