#pragma once

// What the phone layout's three tabs show around their pages: the titles, the speaker count in
// each tab's bar, the group page open one level deep in the map and rooms tabs, and whether
// the current tab shows its first page (the only page that carries the dock).

#include <optional>
#include <span>
#include <string>

#include <QString>

#include "OrvelDomain/SonosGroup.h"
#include "OrvelUI/shell/AppTab.h"
#include "OrvelUI/shell/RootNavigation.h"

namespace orvel {

// A group page on a tab's navigation path.
struct PushedGroupPage {
    // Empty while the tab shows its first page.
    QString groupId;
    QString title;
    // False once the group is gone: the page stays, with its background only.
    bool found = false;

    friend bool operator==(const PushedGroupPage&, const PushedGroupPage&) = default;
};

struct CompactTabsContent {
    QString mapTitle;
    QString speakerCountSummary;
    PushedGroupPage mapPage;
    PushedGroupPage roomsPage;
    bool onFirstPage = true;

    static CompactTabsContent of(const RootNavigation& navigation, std::span<const SonosGroup> groups,
                                 const std::optional<std::string>& networkName, const std::string& speakerCountSummary);

    friend bool operator==(const CompactTabsContent&, const CompactTabsContent&) = default;
};

// The navigation title of a tab's first page. The map tab is titled by the household's network
// name, "Orvella" when there is none; an empty name gives an empty title.
QString compactTabTitle(AppTab tab, const std::optional<std::string>& networkName);

// The page of the last group on a path: its display name, or "Room" when no group has the id.
PushedGroupPage pushedGroupPage(std::span<const GroupID> path, std::span<const SonosGroup> groups);

}  // namespace orvel
