#pragma once

// The keyed lists the maps lay out: the room cards (by speaker), the music-source hubs (by
// group), the tethers' sever buttons (by group and speaker) and the compact map's floors (by
// floor, each with its own hubs and rooms). Positions are canvas points; rows change in place
// as the geometry moves, so a card keeps its drag and hover while it moves.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>
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
    QString groupId;
    bool isSelected = false;
    bool dropTarget = false;
    // The status chip: "connect", "battery", "offline" or "volume", with what it shows.
    QString chip;
    QString volumeText;
    int batteryLevel = 0;
    bool batteryOnCharger = false;
    // One map per bonded satellite: id, roleLetter, modelText, helpText, modelKey, isOnline.
    QVariantList satellites;

    const QString& key() const { return speakerId; }
    friend bool operator==(const MapRoomRow&, const MapRoomRow&) = default;
};

struct MapHubRow {
    QString groupId;
    QString name;
    double x = 0;
    double y = 0;
    bool playing = false;
    QString title;
    QString subtitle;
    QString artworkUrl;
    QString playHelp;

    const QString& key() const { return groupId; }
    friend bool operator==(const MapHubRow&, const MapHubRow&) = default;
};

struct MapTetherRow {
    QString groupId;
    QString speakerId;
    double x = 0;
    double y = 0;
    QString helpText;
    QString accessibleName;

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
    enum Role {
        SpeakerId = Qt::UserRole + 1, Name, Model, X, Y, IsOnline, Playing, ConnectedToHub, HasSatellites, GroupId,
        IsSelected, DropTarget, Chip, VolumeText, BatteryLevel, BatteryOnCharger, Satellites
    };
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
    enum Role { GroupId = Qt::UserRole + 1, Name, X, Y, Playing, Title, Subtitle, ArtworkUrl, PlayHelp };
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
    enum Role { GroupId = Qt::UserRole + 1, SpeakerId, X, Y, HelpText, AccessibleName };
    using KeyedListModel::KeyedListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant roleData(const MapTetherRow& row, int role) const override;
};

// One floor of the compact map. Its hubs and rooms are lists of their own, owned by the
// compact map's presenter for as long as the floor is shown.
struct MapFloorRow {
    QString levelId;
    QString title;
    QString countText;
    QPointer<QObject> hubs;
    QPointer<QObject> rooms;

    const QString& key() const { return levelId; }
    friend bool operator==(const MapFloorRow&, const MapFloorRow&) = default;
};

#ifdef Q_MOC_RUN
class MapFloorListModel : public orvel::KeyedListModelBase {
#else
class MapFloorListModel : public KeyedListModel<MapFloorRow> {
#endif
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the compact map's presenter")
public:
    enum Role { LevelId = Qt::UserRole + 1, Title, CountText, Hubs, Rooms };
    using KeyedListModel::KeyedListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant roleData(const MapFloorRow& row, int role) const override;
};

}  // namespace orvel
