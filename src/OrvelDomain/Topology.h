#pragma once

// The household's grouping: every listed speaker mapped to the coordinator it follows, a
// coordinator mapped to itself. Only a consistent map makes a topology: every coordinator named
// is itself listed and maps to itself.

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "GroupID.h"
#include "SpeakerUUID.h"
#include "TopologyStep.h"

namespace orvel {

class Topology {
public:
    using CoordinatorMap = std::map<SpeakerUUID, SpeakerUUID>;

    // The same as `empty()`, so a topology can sit in records that are built member by member.
    Topology() = default;
    // Nullopt when a coordinator named in the map is not listed or follows someone else.
    static std::optional<Topology> make(CoordinatorMap coordinatorOf);
    static const Topology& empty();

    const CoordinatorMap& coordinatorOf() const { return coordinatorOf_; }
    bool isEmpty() const { return coordinatorOf_.empty(); }
    bool isListed(const SpeakerUUID& speaker) const { return coordinatorOf_.contains(speaker); }
    // Listed and mapped to itself.
    bool isCoordinator(const SpeakerUUID& speaker) const;
    // The listed speakers other than `coordinator` that follow it, ascending.
    std::set<SpeakerUUID> followers(const SpeakerUUID& coordinator) const;

    std::set<SpeakerUUID> speakers() const;
    // Every coordinator with its followers (itself not included; alone: the empty set).
    std::map<GroupID, std::set<SpeakerUUID>> groups() const;
    // The group the speaker plays in, nullopt when it is not listed.
    std::optional<GroupID> group(const SpeakerUUID& of) const;

    // The grouping predicted after the step. A step that does not fit (a speaker not listed, a
    // coordinator that is none, a delegate that is no follower) changes nothing.
    Topology applying(const TopologyStep& step) const;

    std::size_t hashValue() const;

    friend bool operator==(const Topology&, const Topology&) = default;

private:
    explicit Topology(CoordinatorMap coordinatorOf) : coordinatorOf_(std::move(coordinatorOf)) {}
    static bool isConsistent(const CoordinatorMap& map);
    // The map after `speaker` leaves its group. Its followers stay together under the smallest
    // of them, which is what the speakers themselves do when a coordinator leaves.
    CoordinatorMap coordinatorMapMakingStandalone(const SpeakerUUID& speaker) const;
    Topology adopting(CoordinatorMap map) const;

    CoordinatorMap coordinatorOf_;
};

}  // namespace orvel

template <>
struct std::hash<orvel::Topology> {
    std::size_t operator()(const orvel::Topology& topology) const noexcept { return topology.hashValue(); }
};
