#include "OrvelUI/shell/RootNavigation.h"

#include <algorithm>

#include "OrvelUI/shell/LaunchSelection.h"

namespace orvel {

namespace {

bool containsGroup(std::span<const SonosGroup> groups, const GroupID& id) {
    return std::ranges::any_of(groups, [&](const SonosGroup& group) { return group.id == id; });
}

std::optional<GroupID> groupHolding(std::span<const SonosGroup> groups, const SpeakerUUID& speaker) {
    for (const SonosGroup& group : groups) {
        if (std::ranges::any_of(group.speakers(), [&](const Speaker& s) { return s.id == speaker; })) return group.id;
    }
    return std::nullopt;
}

}  // namespace

RootNavigation RootNavigation::initial(const LaunchInputs& launch) {
    RootNavigation navigation;
    navigation.activeTab = appTabNamed(launch.requestedCompactTab().value_or(""));
    return navigation;
}

void RootNavigation::groupListChanged(std::span<const SonosGroup> groups, const LaunchInputs& launch) {
    if (selection && appliedLaunch) {
        if (const auto* group = selection->asGroup(); group != nullptr && !containsGroup(groups, group->id)) {
            selection = SidebarDestination::home();
        }
    }
    applyLaunchSelection(groups, launch);
}

void RootNavigation::applyLaunchSelection(std::span<const SonosGroup> groups, const LaunchInputs& launch) {
    if (appliedLaunch) return;
    if (auto tab = launch.requestedCompactTab()) activeTab = appTabNamed(*tab);
    const std::optional<LaunchRule> rule = launchRule(launch);
    if (!rule) return;
    const std::optional<GroupID> target = launchTarget(*rule, groups);
    if (!target) return;
    selection = SidebarDestination::group(*target);
    if (launch.requestsIOS()) mapPath = {*target};
    appliedLaunch = true;
}

void RootNavigation::offlineListChanged(std::span<const SpeakerUUID> offlineIds, std::span<const SonosGroup> groups) {
    if (!selection) return;
    const auto* speaker = selection->asSpeaker();
    if (speaker == nullptr || std::ranges::find(offlineIds, speaker->id) != offlineIds.end()) return;
    const std::optional<GroupID> holder = groupHolding(groups, speaker->id);
    selection = holder ? SidebarDestination::group(*holder) : SidebarDestination::home();
}

void RootNavigation::openGroup(AppTab from, const GroupID& id) {
    selection = SidebarDestination::group(id);
    if (from == AppTab::rooms) {
        roomsPath = {id};
        return;
    }
    if (from == AppTab::settings) activeTab = AppTab::map;
    mapPath = {id};
}

void RootNavigation::closeGroupPage(AppTab tab) {
    if (tab == AppTab::map) mapPath.clear();
    if (tab == AppTab::rooms) roomsPath.clear();
}

void RootNavigation::dockGroupPicked(const GroupID& id) {
    dockSelectedGroupID = id;
    if (selection && selection->isGroup()) selection = SidebarDestination::group(id);
}

const std::vector<GroupID>* RootNavigation::path(AppTab tab) const {
    switch (tab) {
    case AppTab::map: return &mapPath;
    case AppTab::rooms: return &roomsPath;
    case AppTab::settings: return nullptr;
    }
    return nullptr;
}

}  // namespace orvel
