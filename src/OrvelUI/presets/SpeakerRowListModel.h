#pragma once

// The speaker rows of a group page (and the single row of the offline page), keyed by speaker
// id so a row keeps its hover and volume state while other rows come and go.

#include <span>

#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include "OrvelDomain/Speaker.h"
#include "OrvelUI/common/KeyedListModel.h"

namespace orvel {

struct SpeakerRowContent {
    QString speakerId;
    // The short room name: every title, tooltip and label shows it.
    QString shortName;
    QString modelName;
    // The silhouette's model case name.
    QString modelKey;
    bool online = true;
    int volume = 0;
    bool hasBattery = false;
    int batteryPercent = 0;
    bool batteryCharging = false;
    bool playing = false;
    bool canRemove = false;
    bool dividerAbove = false;
    // One map per bonded satellite: id, roleLabel, modelLabel, modelKey, online.
    QVariantList satellites;

    static SpeakerRowContent of(const Speaker& speaker, bool playing, bool canRemove, bool dividerAbove);
    const QString& key() const { return speakerId; }
    friend bool operator==(const SpeakerRowContent&, const SpeakerRowContent&) = default;
};

#ifdef Q_MOC_RUN
class SpeakerRowListModel : public orvel::KeyedListModelBase {
#else
class SpeakerRowListModel : public KeyedListModel<SpeakerRowContent> {
#endif
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by a page presenter")

public:
    enum Role {
        SpeakerIdRole = Qt::UserRole + 1,
        ShortNameRole,
        ModelNameRole,
        ModelKeyRole,
        OnlineRole,
        VolumeRole,
        HasBatteryRole,
        BatteryPercentRole,
        BatteryChargingRole,
        PlayingRole,
        CanRemoveRole,
        DividerAboveRole,
        SatellitesRole,
    };

    using Row = SpeakerRowContent;
    using KeyedListModel::KeyedListModel;

    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant roleData(const Row& row, int role) const override;
};

}  // namespace orvel
