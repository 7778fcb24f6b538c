#pragma once

// The three keyed lists the full map lays out: the room cards (by speaker), the music-source
// hubs (by group) and the tethers' sever buttons (by group and speaker). Positions are canvas
// points; rows change in place as the geometry moves, so a card keeps its drag while it moves.

#include <QString>
#include <QtQml/qqmlregistration.h>

#include "OrvelUI/common/KeyedListModel.h"

namespace orvel {

struct MapRoomRow {
    QString speakerId;
    QString name;
    QString model;
    double x = 0;
    double y = 0;
    bool isOnline = true;
    bool playing = false;
    bool connectedToHub = false;
    bool hasSatellites = false;

    const QString& key() const { return speakerId; }
    friend bool operator==(const MapRoomRow&, const MapRoomRow&) = default;
};

struct MapHubRow {
    QString groupId;
    QString name;
    double x = 0;
    double y = 0;
    bool playing = false;

    const QString& key() const { return groupId; }
    friend bool operator==(const MapHubRow&, const MapHubRow&) = default;
};

struct MapTetherRow {
    QString groupId;
    QString speakerId;
    double x = 0;
    double y = 0;
    QString helpText;

    QString key() const { return groupId + QLatin1Char('+') + speakerId; }
    friend bool operator==(const MapTetherRow&, const MapTetherRow&) = default;
};

#ifdef Q_MOC_RUN
class MapRoomListModel : public orvel::KeyedListModelBase {
#else
class MapRoomListModel : public KeyedListModel<MapRoomRow> {
#endif
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the map presenter")
public:
    enum Role { SpeakerId = Qt::UserRole + 1, Name, Model, X, Y, IsOnline, Playing, ConnectedToHub, HasSatellites };
    using KeyedListModel::KeyedListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant roleData(const MapRoomRow& row, int role) const override;
};

#ifdef Q_MOC_RUN
class MapHubListModel : public orvel::KeyedListModelBase {
#else
class MapHubListModel : public KeyedListModel<MapHubRow> {
#endif
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the map presenter")
public:
    enum Role { GroupId = Qt::UserRole + 1, Name, X, Y, Playing };
    using KeyedListModel::KeyedListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant roleData(const MapHubRow& row, int role) const override;
};

#ifdef Q_MOC_RUN
class MapTetherListModel : public orvel::KeyedListModelBase {
#else
class MapTetherListModel : public KeyedListModel<MapTetherRow> {
#endif
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the map presenter")
public:
    enum Role { GroupId = Qt::UserRole + 1, SpeakerId, X, Y, HelpText };
    using KeyedListModel::KeyedListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant roleData(const MapTetherRow& row, int role) const override;
};

}  // namespace orvel
