#include "OrvelUI/shell/CompactTabsContent.h"

#include <algorithm>
#include "OrvelUI/common/ShownText.h"

namespace orvel {

QString compactTabTitle(AppTab tab, const std::optional<std::string>& networkName) {
    switch (tab) {
    case AppTab::map: return networkName ? shownText(*networkName) : QStringLiteral("Orvella");
    case AppTab::rooms: return QStringLiteral("Rooms");
    case AppTab::settings: return QStringLiteral("Settings");
    }
    return {};
}

PushedGroupPage pushedGroupPage(std::span<const GroupID> path, std::span<const SonosGroup> groups) {
    if (path.empty()) return {};
    const GroupID& id = path.back();
    PushedGroupPage page{QString::fromStdString(id.description()), QStringLiteral("Room"), false};
    const auto group = std::ranges::find_if(groups, [&](const SonosGroup& g) { return g.id == id; });
    if (group != groups.end()) {
        page.title = shownText(group->displayName);
        page.found = true;
    }
    return page;
}

CompactTabsContent CompactTabsContent::of(const RootNavigation& navigation, std::span<const SonosGroup> groups,
                                          const std::optional<std::string>& networkName,
                                          const std::string& speakerCountSummary) {
    const std::vector<GroupID>* path = navigation.path(navigation.activeTab);
    return CompactTabsContent{
        .mapTitle = compactTabTitle(AppTab::map, networkName),
        .speakerCountSummary = QString::fromStdString(speakerCountSummary),
        .mapPage = pushedGroupPage(navigation.mapPath, groups),
        .roomsPage = pushedGroupPage(navigation.roomsPath, groups),
        .onFirstPage = path == nullptr || path->empty(),
    };
}

}  // namespace orvel
