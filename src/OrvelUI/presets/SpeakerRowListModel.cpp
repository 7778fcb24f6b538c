#include "OrvelUI/presets/SpeakerRowListModel.h"

#include <QVariantMap>

#include "OrvelDomain/RoomNaming.h"
#include "OrvelUI/common/ShownText.h"

namespace orvel {

namespace {

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QVariantMap satelliteOf(const BondedSatellite& satellite) {
    return {
        {QStringLiteral("id"), qs(satellite.id.rawValue())},
        {QStringLiteral("roleLabel"), qs(satellite.role.label())},
        {QStringLiteral("modelLabel"), shownText(satellite.modelLabel())},
        {QStringLiteral("modelKey"), qs(satellite.speakerModel().caseName())},
        {QStringLiteral("online"), satellite.isOnline},
    };
}

}  // namespace

SpeakerRowContent SpeakerRowContent::of(const Speaker& speaker, bool playing, bool canRemove, bool dividerAbove) {
    SpeakerRowContent row;
    row.speakerId = qs(speaker.id.rawValue());
    // Both come from the speaker: cut to what a row can show.
    row.shortName = shownRoomText(speaker.roomName);
    row.modelName = shownText(speaker.model.displayName());
    row.modelKey = qs(speaker.model.caseName());
    row.online = speaker.reachability.isOnline();
    row.volume = speaker.volume.percent();
    if (const auto battery = speaker.model.battery()) {
        row.hasBattery = true;
        row.batteryPercent = battery->levelPercent;
        row.batteryCharging = battery->isOnCharger;
    }
    row.playing = playing;
    row.canRemove = canRemove;
    row.dividerAbove = dividerAbove;
    for (const BondedSatellite& satellite : speaker.bondedSatellites) row.satellites << satelliteOf(satellite);
    return row;
}

QHash<int, QByteArray> SpeakerRowListModel::roleNames() const {
    return {
        {SpeakerIdRole, "speakerId"},
        {ShortNameRole, "shortName"},
        {ModelNameRole, "modelName"},
        {ModelKeyRole, "modelKey"},
        {OnlineRole, "online"},
        {VolumeRole, "volume"},
        {HasBatteryRole, "hasBattery"},
        {BatteryPercentRole, "batteryPercent"},
        {BatteryChargingRole, "batteryCharging"},
        {PlayingRole, "playing"},
        {CanRemoveRole, "canRemove"},
        {DividerAboveRole, "dividerAbove"},
        {SatellitesRole, "satellites"},
    };
}

QVariant SpeakerRowListModel::roleData(const Row& row, int role) const {
    switch (role) {
        case SpeakerIdRole: return row.speakerId;
        case ShortNameRole: return row.shortName;
        case ModelNameRole: return row.modelName;
        case ModelKeyRole: return row.modelKey;
        case OnlineRole: return row.online;
        case VolumeRole: return row.volume;
        case HasBatteryRole: return row.hasBattery;
        case BatteryPercentRole: return row.batteryPercent;
        case BatteryChargingRole: return row.batteryCharging;
        case PlayingRole: return row.playing;
        case CanRemoveRole: return row.canRemove;
        case DividerAboveRole: return row.dividerAbove;
        case SatellitesRole: return row.satellites;
        default: return {};
    }
}

}  // namespace orvel
