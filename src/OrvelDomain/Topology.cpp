#include "Topology.h"

#include "HashCombine.h"

namespace orvel {

bool Topology::isConsistent(const CoordinatorMap& map) {
    for (const auto& [speaker, coordinator] : map) {
        auto it = map.find(coordinator);
        if (it == map.end() || it->second != coordinator) return false;
    }
    return true;
}

std::optional<Topology> Topology::make(CoordinatorMap coordinatorOf) {
    if (!isConsistent(coordinatorOf)) return std::nullopt;
    return Topology(std::move(coordinatorOf));
}

const Topology& Topology::empty() {
    static const Topology instance{CoordinatorMap{}};
    return instance;
}

bool Topology::isCoordinator(const SpeakerUUID& speaker) const {
    auto it = coordinatorOf_.find(speaker);
    return it != coordinatorOf_.end() && it->second == speaker;
}

std::set<SpeakerUUID> Topology::followers(const SpeakerUUID& coordinator) const {
    std::set<SpeakerUUID> out;
    for (const auto& [speaker, followed] : coordinatorOf_) {
        if (followed == coordinator && speaker != coordinator) out.insert(speaker);
    }
    return out;
}

std::set<SpeakerUUID> Topology::speakers() const {
    std::set<SpeakerUUID> out;
    for (const auto& entry : coordinatorOf_) out.insert(out.end(), entry.first);
    return out;
}

std::map<GroupID, std::set<SpeakerUUID>> Topology::groups() const {
    std::map<GroupID, std::set<SpeakerUUID>> out;
    for (const auto& [speaker, coordinator] : coordinatorOf_) {
        auto& members = out.try_emplace(GroupID(coordinator)).first->second;
        if (speaker != coordinator) members.insert(speaker);
    }
    return out;
}

std::optional<GroupID> Topology::group(const SpeakerUUID& of) const {
    auto it = coordinatorOf_.find(of);
    if (it == coordinatorOf_.end()) return std::nullopt;
    return GroupID(it->second);
}

Topology::CoordinatorMap Topology::coordinatorMapMakingStandalone(const SpeakerUUID& speaker) const {
    CoordinatorMap map = coordinatorOf_;
    std::set<SpeakerUUID> left = followers(speaker);
    if (!left.empty()) {
        const SpeakerUUID& successor = *left.begin();
        for (const auto& follower : left) map.insert_or_assign(follower, successor);
    }
    map.insert_or_assign(speaker, speaker);
    return map;
}

Topology Topology::adopting(CoordinatorMap map) const {
    if (!isConsistent(map)) return *this;
    return Topology(std::move(map));
}

Topology Topology::applying(const TopologyStep& step) const {
    return step.visit(
        [this](const TopologyStep::MakeStandalone& s) {
            if (!isListed(s.speaker)) return *this;
            return adopting(coordinatorMapMakingStandalone(s.speaker));
        },
        [this](const TopologyStep::DelegateCoordination& d) {
            if (!isCoordinator(d.from) || d.to == d.from) return *this;
            auto to = coordinatorOf_.find(d.to);
            if (to == coordinatorOf_.end() || to->second != d.from) return *this;
            CoordinatorMap map = coordinatorOf_;
            for (auto& [speaker, coordinator] : map) {
                if (coordinator == d.from) coordinator = d.to;
            }
            map.insert_or_assign(d.from, d.rejoinGroup ? d.to : d.from);
            return adopting(std::move(map));
        },
        [this](const TopologyStep::Join& j) {
            if (!isCoordinator(j.coordinator) || j.speaker == j.coordinator || !isListed(j.speaker)) {
                return *this;
            }
            CoordinatorMap map = coordinatorMapMakingStandalone(j.speaker);
            map.insert_or_assign(j.speaker, j.coordinator);
            return adopting(std::move(map));
        });
}

std::size_t Topology::hashValue() const {
    std::size_t seed = coordinatorOf_.size();
    for (const auto& [speaker, coordinator] : coordinatorOf_) {
        hashCombine(seed, speaker);
        hashCombine(seed, coordinator);
    }
    return seed;
}

}  // namespace orvel
