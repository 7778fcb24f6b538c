#include "MapNodeModels.h"

namespace orvel {

QHash<int, QByteArray> MapRoomListModel::roleNames() const {
    return {{SpeakerId, "speakerId"}, {Name, "name"},         {Model, "speakerModel"},
            {X, "centerX"},                 {Y, "centerY"},               {IsOnline, "isOnline"},
            {Playing, "playing"},     {ConnectedToHub, "connectedToHub"}, {HasSatellites, "hasSatellites"},
            {GroupId, "groupId"},     {IsSelected, "isSelected"},         {DropTarget, "dropTarget"},
            {Chip, "chip"},           {VolumeText, "volumeText"},         {BatteryLevel, "batteryLevel"},
            {BatteryOnCharger, "batteryOnCharger"},                       {Satellites, "satellites"}};
}

QVariant MapRoomListModel::roleData(const MapRoomRow& row, int role) const {
    switch (role) {
        case SpeakerId: return row.speakerId;
        case Name: return row.name;
        case Model: return row.model;
        case X: return row.x;
        case Y: return row.y;
        case IsOnline: return row.isOnline;
        case Playing: return row.playing;
        case ConnectedToHub: return row.connectedToHub;
        case HasSatellites: return row.hasSatellites;
        case GroupId: return row.groupId;
        case IsSelected: return row.isSelected;
        case DropTarget: return row.dropTarget;
        case Chip: return row.chip;
        case VolumeText: return row.volumeText;
        case BatteryLevel: return row.batteryLevel;
        case BatteryOnCharger: return row.batteryOnCharger;
        case Satellites: return row.satellites;
        default: return {};
    }
}

QHash<int, QByteArray> MapHubListModel::roleNames() const {
    return {{GroupId, "groupId"}, {Name, "name"},         {X, "centerX"},
            {Y, "centerY"},       {Playing, "playing"},   {Title, "title"},
            {Subtitle, "subtitle"}, {ArtworkUrl, "artworkUrl"}, {PlayHelp, "playHelp"}};
}

QVariant MapHubListModel::roleData(const MapHubRow& row, int role) const {
    switch (role) {
        case GroupId: return row.groupId;
        case Name: return row.name;
        case X: return row.x;
        case Y: return row.y;
        case Playing: return row.playing;
        case Title: return row.title;
        case Subtitle: return row.subtitle;
        case ArtworkUrl: return row.artworkUrl;
        case PlayHelp: return row.playHelp;
        default: return {};
    }
}

QHash<int, QByteArray> MapTetherListModel::roleNames() const {
    return {{GroupId, "groupId"}, {SpeakerId, "speakerId"}, {X, "centerX"}, {Y, "centerY"}, {HelpText, "helpText"}, {AccessibleName, "accessibleName"}};
}

QVariant MapTetherListModel::roleData(const MapTetherRow& row, int role) const {
    switch (role) {
        case GroupId: return row.groupId;
        case SpeakerId: return row.speakerId;
        case X: return row.x;
        case Y: return row.y;
        case HelpText: return row.helpText;
        case AccessibleName: return row.accessibleName;
        default: return {};
    }
}

QHash<int, QByteArray> MapFloorListModel::roleNames() const {
    return {{LevelId, "levelId"}, {Title, "title"}, {CountText, "countText"}, {Hubs, "hubs"}, {Rooms, "rooms"}};
}

QVariant MapFloorListModel::roleData(const MapFloorRow& row, int role) const {
    switch (role) {
        case LevelId: return row.levelId;
        case Title: return row.title;
        case CountText: return row.countText;
        case Hubs: return QVariant::fromValue(row.hubs.data());
        case Rooms: return QVariant::fromValue(row.rooms.data());
        default: return {};
    }
}

}  // namespace orvel
