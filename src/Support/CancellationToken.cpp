#include "CancellationToken.h"

#include <utility>

namespace orvel {

void detail::CancellationState::cancel() {
    if (cancelled) return;
    cancelled = true;
    // One at a time from the map, not from a copy: a callback may drop other registrations
    // (their owners can die in it), and those must then not be called.
    while (!callbacks.empty()) {
        auto callback = std::move(callbacks.begin()->second);
        callbacks.erase(callbacks.begin());
        callback();
    }
}

CancellationRegistration::CancellationRegistration(std::weak_ptr<detail::CancellationState> state, std::uint64_t id)
    : state_(std::move(state)), id_(id) {}

CancellationRegistration::CancellationRegistration(CancellationRegistration&& other) noexcept
    : state_(std::exchange(other.state_, {})), id_(other.id_) {}

CancellationRegistration& CancellationRegistration::operator=(CancellationRegistration&& other) noexcept {
    if (this != &other) {
        reset();
        state_ = std::exchange(other.state_, {});
        id_ = other.id_;
    }
    return *this;
}

CancellationRegistration::~CancellationRegistration() { reset(); }

void CancellationRegistration::reset() {
    if (auto state = std::exchange(state_, {}).lock()) state->callbacks.erase(id_);
}

CancellationToken::CancellationToken(std::shared_ptr<detail::CancellationState> state) : state_(std::move(state)) {}

bool CancellationToken::isCancelled() const { return state_ && state_->cancelled; }

bool CancellationToken::canBeCancelled() const { return state_ != nullptr; }

CancellationRegistration CancellationToken::onCancel(std::function<void()> callback) const {
    if (!state_) return {};
    if (state_->cancelled) {
        callback();
        return {};
    }
    auto id = state_->nextId++;
    state_->callbacks.emplace(id, std::move(callback));
    return CancellationRegistration(state_, id);
}

CancellationSource::CancellationSource() : state_(std::make_shared<detail::CancellationState>()) {}

CancellationSource::CancellationSource(const CancellationToken& parent) : CancellationSource() {
    // The callback holds the state weakly: the parent may outlive this source.
    parent_ = parent.onCancel([weak = std::weak_ptr(state_)] {
        if (auto state = weak.lock()) state->cancel();
    });
}

CancellationSource::CancellationSource(CancellationSource&&) noexcept = default;

CancellationSource& CancellationSource::operator=(CancellationSource&& other) noexcept {
    if (this != &other) {
        if (state_) state_->cancel();
        state_ = std::move(other.state_);
        parent_ = std::move(other.parent_);
    }
    return *this;
}

CancellationSource::~CancellationSource() {
    parent_.reset();
    if (state_) state_->cancel();
}

CancellationToken CancellationSource::token() const { return CancellationToken(state_); }

void CancellationSource::cancel() {
    if (!state_) return;
    // Kept alive for the duration: a callback may destroy this source.
    auto state = state_;
    state->cancel();
}

bool CancellationSource::isCancelled() const { return state_ && state_->cancelled; }

}  // namespace orvel
