#include "OrvelUI/playback/ActiveDockGroup.h"

#include <algorithm>
#include <functional>

#include "OrvelUI/playback/ActiveHubGroups.h"

namespace orvel {

namespace {

std::optional<SonosGroup> firstWhere(std::span<const SonosGroup> groups,
                                     const std::function<bool(const SonosGroup&)>& matches) {
    const auto found = std::ranges::find_if(groups, matches);
    if (found == groups.end()) return std::nullopt;
    return *found;
}

bool hasSatellites(const SonosGroup& group) {
    if (!group.coordinator.bondedSatellites.empty()) return true;
    return std::ranges::any_of(group.members, [](const Speaker& s) { return !s.bondedSatellites.empty(); });
}

std::optional<SonosGroup> sidebarChoice(std::span<const SonosGroup> groups,
                                        const std::optional<SidebarDestination>& selection) {
    const auto* selected = selection ? selection->asGroup() : nullptr;
    if (!selected) return std::nullopt;
    const auto found = std::ranges::find_if(groups, [&](const SonosGroup& g) { return g.id == selected->id; });
    if (found == groups.end() || !isActiveHubCandidate(*found, groups)) return std::nullopt;
    return *found;
}

std::optional<SonosGroup> activeChoice(std::span<const SonosGroup> active,
                                       const std::optional<GroupID>& dockSelectedGroupID) {
    if (active.empty()) return std::nullopt;
    if (dockSelectedGroupID) {
        if (auto picked = firstWhere(active, [&](const SonosGroup& g) { return g.id == *dockSelectedGroupID; })) {
            return picked;
        }
    }
    if (auto playing = firstWhere(active, [](const SonosGroup& g) { return g.playback.isPlaying(); })) return playing;
    if (auto loaded = firstWhere(active, [](const SonosGroup& g) { return !g.playback.isStopped(); })) return loaded;
    return active.front();
}

std::optional<SonosGroup> phoneFallback(std::span<const SonosGroup> groups,
                                        const std::optional<GroupID>& dockSelectedGroupID) {
    if (dockSelectedGroupID) {
        if (auto picked = firstWhere(groups, [&](const SonosGroup& g) { return g.id == *dockSelectedGroupID; })) {
            return picked;
        }
    }
    if (auto loaded = firstWhere(groups, [](const SonosGroup& g) { return g.playback.nowPlaying() != nullptr; })) {
        return loaded;
    }
    if (auto multiRoom = firstWhere(groups, [](const SonosGroup& g) { return !g.members.empty(); })) return multiRoom;
    if (auto satellites = firstWhere(groups, hasSatellites)) return satellites;
    if (groups.empty()) return std::nullopt;
    return groups.front();
}

}  // namespace

std::optional<SonosGroup> activeDockGroup(std::span<const SonosGroup> groups,
                                          const std::optional<SidebarDestination>& selection,
                                          const std::optional<GroupID>& dockSelectedGroupID, bool phoneLayout) {
    if (auto chosen = sidebarChoice(groups, selection)) return chosen;
    const std::vector<SonosGroup> active = deduplicatedActiveHubGroups(groups);
    if (!active.empty()) return activeChoice(active, dockSelectedGroupID);
    if (phoneLayout) return phoneFallback(groups, dockSelectedGroupID);
    return std::nullopt;
}

}  // namespace orvel
