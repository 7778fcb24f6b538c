#pragma once

// The consumers of the household's snapshot stream. Each subscription is its own unbounded
// channel; the registry hands every published snapshot to all of them, notices when a consumer
// leaves (its receiver is dropped or left) and removes it, and tells its owner when the first
// one arrives and when the last one has gone. It never ends a stream itself: a stream ends only
// when its consumer leaves or the registry is destroyed.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "OrvelDomain/HouseholdSnapshot.h"
#include "Support/AsyncChannel.h"
#include "Support/CancellationToken.h"

namespace orvel {

using SnapshotStream = AsyncChannel<HouseholdSnapshot>::Receiver;

class SnapshotSubscribers {
public:
    SnapshotSubscribers();
    ~SnapshotSubscribers();
    SnapshotSubscribers(const SnapshotSubscribers&) = delete;
    SnapshotSubscribers& operator=(const SnapshotSubscribers&) = delete;

    // Called when the count goes from zero to one, and from one to zero. Either may be called
    // from inside subscribe(), publish() or a consumer's leaving.
    void onFirstArrived(std::function<void()> callback);
    void onLastLeft(std::function<void()> callback);

    // A new subscription; it holds `latest` at once when one is given.
    SnapshotStream subscribe(const std::optional<HouseholdSnapshot>& latest);
    // Hands the snapshot to every current subscriber, in subscription order.
    void publish(const HouseholdSnapshot& snapshot);

    std::size_t count() const;

private:
    struct Entry {
        AsyncChannel<HouseholdSnapshot>::Sender sender;
        CancellationRegistration leaving;
    };
    struct State {
        std::map<std::uint64_t, Entry> entries;
        std::uint64_t nextID = 0;
        std::function<void()> firstArrived;
        std::function<void()> lastLeft;
    };
    static void remove(const std::shared_ptr<State>& state, std::uint64_t id);

    // Shared with the leave callbacks, which can fire after the registry is gone.
    std::shared_ptr<State> state_;
};

}  // namespace orvel
