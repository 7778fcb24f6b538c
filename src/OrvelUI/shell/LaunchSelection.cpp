#include "OrvelUI/shell/LaunchSelection.h"

#include <algorithm>
#include <string_view>

#include "OrvelDomain/Text.h"

namespace orvel {

namespace {

bool roomNameContains(const Speaker& speaker, std::string_view word) {
    return text::lowercased(speaker.roomName).find(word) != std::string::npos;
}

bool hasSatellites(const Speaker& speaker) { return !speaker.bondedSatellites.empty(); }

template <class Predicate>
std::optional<GroupID> firstGroupWithSpeaker(std::span<const SonosGroup> groups, Predicate&& predicate) {
    for (const SonosGroup& group : groups) {
        if (std::ranges::any_of(group.speakers(), predicate)) return group.id;
    }
    return std::nullopt;
}

std::optional<GroupID> guestRoom(std::span<const SonosGroup> groups) {
    if (auto named = firstGroupWithSpeaker(groups, [](const Speaker& s) { return roomNameContains(s, "guest"); })) {
        return named;
    }
    const auto active = std::ranges::find_if(
        groups, [](const SonosGroup& group) { return group.playback.nowPlaying() != nullptr; });
    return active == groups.end() ? std::nullopt : std::optional(active->id);
}

std::optional<GroupID> livingRoom(std::span<const SonosGroup> groups) {
    return firstGroupWithSpeaker(
        groups, [](const Speaker& s) { return roomNameContains(s, "living") || hasSatellites(s); });
}

std::optional<GroupID> notableGroup(std::span<const SonosGroup> groups) {
    if (auto theatre = firstGroupWithSpeaker(groups, hasSatellites)) return theatre;
    const SonosGroup* largest = nullptr;
    for (const SonosGroup& group : groups) {
        // Strictly larger only, so the first of equally large groups stays.
        const std::size_t count = group.members.size() + 1;  // the coordinator counts
        if (count >= 2 && (largest == nullptr || count > largest->members.size() + 1)) {
            largest = &group;
        }
    }
    if (largest != nullptr) return largest->id;
    return groups.empty() ? std::nullopt : std::optional(groups.front().id);
}

}  // namespace

std::optional<LaunchRule> launchRule(const LaunchInputs& launch) {
    if (launch.requestsGuestRoom()) return LaunchRule::guestRoom;
    if (launch.requestsLivingRoom()) return LaunchRule::livingRoom;
    if (launch.requestsGroup()) return LaunchRule::notableGroup;
    return std::nullopt;
}

std::optional<GroupID> launchTarget(LaunchRule rule, std::span<const SonosGroup> groups) {
    switch (rule) {
        case LaunchRule::guestRoom: return guestRoom(groups);
        case LaunchRule::livingRoom: return livingRoom(groups);
        case LaunchRule::notableGroup: return notableGroup(groups);
    }
    return std::nullopt;
}

}  // namespace orvel
