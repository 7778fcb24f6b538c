#pragma once

// The window's navigation state: the selection that drives the detail column, the compact
// tab with its two navigation paths, the dock's picked group, and whether the launch selection
// has chosen its group. The two watchers keep the selection valid as groups and offline
// speakers come and go.

#include <optional>
#include <span>
#include <vector>

#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/Speaker.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelUI/common/SidebarDestination.h"
#include "OrvelUI/shell/AppTab.h"
#include "OrvelUI/shell/LaunchView.h"

namespace orvel {

struct RootNavigation {
    std::optional<SidebarDestination> selection = SidebarDestination::home();
    AppTab activeTab = AppTab::map;
    // Navigation paths of the "Home Map" and "Rooms" tabs.
    std::vector<GroupID> mapPath;
    std::vector<GroupID> roomsPath;
    // Set once the launch selection has chosen a group; never cleared.
    bool appliedLaunch = false;
    std::optional<GroupID> dockSelectedGroupID;

    // Home selected, the compact tab from the launch option (the map without one).
    static RootNavigation initial(const LaunchInputs& launch);

    // The group-list watcher: runs when the window is first shown and after every change of
    // the list of group ids (order included). Once the launch selection has been applied, a
    // selected group that vanished falls back to home; before that it stays selected, so the
    // launch choice is not overtaken by a household still assembling. Then the launch selection
    // is tried.
    void groupListChanged(std::span<const SonosGroup> groups, const LaunchInputs& launch);

    // Chooses the launch option's group once. While pending it re-applies the compact-tab
    // option on every call; in the phone layout the chosen group also opens one level deep on
    // the map tab.
    void applyLaunchSelection(std::span<const SonosGroup> groups, const LaunchInputs& launch);

    // The offline-list watcher, after a change only: a selected offline speaker that is no
    // longer listed (it came back, or is gone) moves the selection to the group holding it,
    // else home.
    void offlineListChanged(std::span<const SpeakerUUID> offlineIds, std::span<const SonosGroup> groups);

    // Opens a group from a compact tab (its map, its list, or the dock on it): the group is
    // selected and its page replaces whatever the tab's path held, one level deep. The settings
    // tab has no path: the window turns to the map tab and opens the group there.
    void openGroup(AppTab from, const GroupID& id);
    // Back to the tab's first page.
    void closeGroupPage(AppTab tab);
    // The dock's group switcher: remembers the pick, and follows it in the selection only while
    // a group is selected.
    void dockGroupPicked(const GroupID& id);
    // The navigation path of a tab; the settings tab has none.
    const std::vector<GroupID>* path(AppTab tab) const;

    friend bool operator==(const RootNavigation&, const RootNavigation&) = default;
};

}  // namespace orvel
