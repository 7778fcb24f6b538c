#include "CompactFloorplanMapPresenter.h"

#include <algorithm>

#include "OrvelUI/map/CompactFloorplan.h"
#include "OrvelUI/map/MapRows.h"

namespace orvel {

CompactFloorplanMapPresenter::CompactFloorplanMapPresenter(QObject* parent) : QObject(parent) {}

CompactFloorplanMapPresenter::~CompactFloorplanMapPresenter() = default;

void CompactFloorplanMapPresenter::update(const std::vector<FloorplanNode>& nodes,
                                          const std::vector<SonosGroup>& groups,
                                          const std::vector<SonosGroup>& hubGroups,
                                          const std::optional<SpeakerUUID>& selected) {
    std::vector<MapFloorRow> floors;
    std::map<QString, FloorLists> kept;
    for (const FloorLevel& level : CompactFloorplan::distinctLevels(nodes)) {
        const QString key = QString::fromStdString(level.id());
        FloorLists lists;
        if (auto found = lists_.find(key); found != lists_.end()) {
            lists = std::move(found->second);
            lists_.erase(found);
        } else {
            lists.hubs = std::make_unique<MapHubListModel>();
            lists.rooms = std::make_unique<MapRoomListModel>();
        }

        std::vector<MapHubRow> hubs;
        for (const SonosGroup& group : CompactFloorplan::hubs(hubGroups, nodes, level)) hubs.push_back(mapHubRow(group));
        lists.hubs->setRows(std::move(hubs));

        std::vector<MapRoomRow> rooms;
        for (const FloorplanNode& node : CompactFloorplan::rooms(nodes, level)) {
            const SonosGroup* group = groupOf(node, groups);
            const bool hasHub = group && std::any_of(hubGroups.begin(), hubGroups.end(),
                                                     [&](const SonosGroup& hub) { return hub.id == group->id; });
            rooms.push_back(mapRoomRow(node, MapRoomFlags{group && group->playback.isPlaying(), hasHub,
                                                          selected && *selected == node.id(), false}));
        }
        const std::size_t count = rooms.size();
        lists.rooms->setRows(std::move(rooms));

        floors.push_back(MapFloorRow{key, QString::fromStdString(level.title()),
                                     QString::fromStdString(CompactFloorplan::roomCountText(count)),
                                     lists.hubs.get(), lists.rooms.get()});
        kept.emplace(key, std::move(lists));
    }
    floors_.setRows(std::move(floors));
    // Lists of floors no longer shown go once their delegates have let go of them.
    for (auto& [key, lists] : lists_) {
        lists.hubs.release()->deleteLater();
        lists.rooms.release()->deleteLater();
    }
    lists_ = std::move(kept);
}

}  // namespace orvel
