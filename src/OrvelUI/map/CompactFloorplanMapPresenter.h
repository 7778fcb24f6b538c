#pragma once

// The compact map's lists: one row per floor (highest first) with its room count, and for each
// floor a keyed list of its hubs and one of its room tiles, so a tile keeps its hover and drag
// while a sweep changes another. A floor's lists live as long as the floor is shown. The map
// presenter feeds it and takes the tiles' taps, menus and drops. Lives on the GUI thread.

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include "OrvelDomain/FloorplanNode.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelUI/map/MapNodeModels.h"

namespace orvel {

class CompactFloorplanMapPresenter : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the map presenter")
    Q_PROPERTY(orvel::MapFloorListModel* floors READ floors CONSTANT)

public:
    explicit CompactFloorplanMapPresenter(QObject* parent = nullptr);
    ~CompactFloorplanMapPresenter() override;

    MapFloorListModel* floors() { return &floors_; }

    void update(const std::vector<FloorplanNode>& nodes, const std::vector<SonosGroup>& groups,
                const std::vector<SonosGroup>& hubGroups, const std::optional<SpeakerUUID>& selected);

private:
    struct FloorLists {
        std::unique_ptr<MapHubListModel> hubs;
        std::unique_ptr<MapRoomListModel> rooms;
    };

    MapFloorListModel floors_;
    std::map<QString, FloorLists> lists_;
};

}  // namespace orvel
