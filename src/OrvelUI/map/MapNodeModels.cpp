#include "MapNodeModels.h"

namespace orvel {

QHash<int, QByteArray> MapRoomListModel::roleNames() const {
    return {{SpeakerId, "speakerId"}, {Name, "name"},         {Model, "speakerModel"},
            {X, "centerX"},                 {Y, "centerY"},               {IsOnline, "isOnline"},
            {Playing, "playing"},     {ConnectedToHub, "connectedToHub"}, {HasSatellites, "hasSatellites"}};
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
        default: return {};
    }
}

QHash<int, QByteArray> MapHubListModel::roleNames() const {
    return {{GroupId, "groupId"}, {Name, "name"}, {X, "centerX"}, {Y, "centerY"}, {Playing, "playing"}};
}

QVariant MapHubListModel::roleData(const MapHubRow& row, int role) const {
    switch (role) {
        case GroupId: return row.groupId;
        case Name: return row.name;
        case X: return row.x;
        case Y: return row.y;
        case Playing: return row.playing;
        default: return {};
    }
}

QHash<int, QByteArray> MapTetherListModel::roleNames() const {
    return {{GroupId, "groupId"}, {SpeakerId, "speakerId"}, {X, "centerX"}, {Y, "centerY"}, {HelpText, "helpText"}};
}

QVariant MapTetherListModel::roleData(const MapTetherRow& row, int role) const {
    switch (role) {
        case GroupId: return row.groupId;
        case SpeakerId: return row.speakerId;
        case X: return row.x;
        case Y: return row.y;
        case HelpText: return row.helpText;
        default: return {};
    }
}

}  // namespace orvel
