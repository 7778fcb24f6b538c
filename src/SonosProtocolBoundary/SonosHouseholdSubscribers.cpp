#include "SonosHouseholdSubscribers.h"

#include <utility>
#include <vector>

namespace orvel {

SnapshotSubscribers::SnapshotSubscribers() : state_(std::make_shared<State>()) {}

SnapshotSubscribers::~SnapshotSubscribers() {
    // Destroying the senders ends the streams; no callback may reach an owner that is going.
    state_->firstArrived = nullptr;
    state_->lastLeft = nullptr;
    auto entries = std::exchange(state_->entries, {});
}

void SnapshotSubscribers::onFirstArrived(std::function<void()> callback) { state_->firstArrived = std::move(callback); }

void SnapshotSubscribers::onLastLeft(std::function<void()> callback) { state_->lastLeft = std::move(callback); }

SnapshotStream SnapshotSubscribers::subscribe(const std::optional<HouseholdSnapshot>& latest) {
    auto [sender, receiver] = AsyncChannel<HouseholdSnapshot>::open();
    // Buffered: nobody waits on the new receiver yet.
    if (latest) sender.send(*latest);
    const std::uint64_t id = state_->nextID++;
    const CancellationToken left = sender.consumerLeft();
    auto& entry = state_->entries.emplace(id, Entry{std::move(sender), CancellationRegistration()}).first->second;
    entry.leaving = left.onCancel([weak = std::weak_ptr(state_), id] {
        if (auto state = weak.lock()) remove(state, id);
    });
    if (state_->entries.size() == 1 && state_->firstArrived) {
        auto arrived = state_->firstArrived;
        arrived();
    }
    return std::move(receiver);
}

void SnapshotSubscribers::remove(const std::shared_ptr<State>& state, std::uint64_t id) {
    auto it = state->entries.find(id);
    if (it == state->entries.end()) return;
    // Moved out first: the sender may be the one whose send() is running further up the stack.
    Entry gone = std::move(it->second);
    state->entries.erase(it);
    if (state->entries.empty() && state->lastLeft) {
        auto lastLeft = state->lastLeft;
        lastLeft();
    }
}

void SnapshotSubscribers::publish(const HouseholdSnapshot& snapshot) {
    auto state = state_;
    std::vector<std::uint64_t> ids;
    ids.reserve(state->entries.size());
    for (const auto& [id, entry] : state->entries) ids.push_back(id);
    // A consumer runs inside send() and may leave, or subscribe anew, before the next one.
    for (std::uint64_t id : ids) {
        auto it = state->entries.find(id);
        if (it == state->entries.end()) continue;
        it->second.sender.send(snapshot);
    }
}

std::size_t SnapshotSubscribers::count() const { return state_->entries.size(); }

}  // namespace orvel
