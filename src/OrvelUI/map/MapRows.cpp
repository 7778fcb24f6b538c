#include "MapRows.h"

#include <QVariantMap>

#include "OrvelDomain/RoomNaming.h"
#include "OrvelUI/common/ShownText.h"
#include "OrvelUI/map/BondedSatellitesMapStrip.h"
#include "OrvelUI/map/MusicSourceNodeTexts.h"
#include "OrvelUI/map/RoomStatusChip.h"

namespace orvel {

namespace {

QString text(const std::string& value) { return QString::fromStdString(value); }

QVariantList satelliteChips(const std::vector<BondedSatellite>& satellites) {
    QVariantList chips;
    for (const auto& chip : BondedSatellitesMapStrip::chips(satellites)) {
        chips.append(QVariantMap{{"id", text(chip.id)},
                                 {"roleLetter", text(chip.roleLetter)},
                                 {"modelText", text(chip.modelText)},
                                 {"helpText", text(chip.helpText)},
                                 {"modelKey", text(chip.modelKey)},
                                 {"isOnline", chip.isOnline}});
    }
    return chips;
}

}  // namespace

std::string mapRoomTitle(const std::string& shortName) {
    if (QString::fromStdString(shortName).trimmed().isEmpty()) return "Room";
    return shownName(shortName);
}

std::string mapRoomLabel(const std::string& roomName) {
    return mapRoomTitle(RoomNaming::shortName(roomName, false));
}

MapRoomRow mapRoomRow(const FloorplanNode& node, const MapRoomFlags& flags, Point at) {
    const Speaker& speaker = node.speaker;
    const RoomStatusChip chip = RoomStatusChip::of(speaker, flags.dropTarget);
    MapRoomRow row;
    row.speakerId = text(speaker.id.rawValue());
    row.name = text(mapRoomLabel(speaker.roomName));
    row.model = text(std::string(speaker.model.caseName()));
    row.x = at.x;
    row.y = at.y;
    row.isOnline = speaker.reachability.isOnline();
    row.playing = flags.playing;
    row.connectedToHub = flags.connectedToHub;
    row.hasSatellites = !speaker.bondedSatellites.empty();
    row.groupId = node.group ? text(node.group->description()) : QString();
    row.isSelected = flags.isSelected;
    row.dropTarget = flags.dropTarget;
    row.chip = text(std::string(chip.kindName()));
    row.volumeText = text(chip.volumeText);
    row.batteryLevel = chip.battery ? chip.battery->levelPercent : 0;
    row.batteryOnCharger = chip.battery && chip.battery->isOnCharger;
    row.satellites = satelliteChips(speaker.bondedSatellites);
    return row;
}

MapHubRow mapHubRow(const SonosGroup& group, Point at) {
    const bool playing = group.playback.isPlaying();
    return MapHubRow{text(group.id.description()),
                     text(shownName(group.displayName)),
                     at.x,
                     at.y,
                     playing,
                     text(shownName(MusicSourceNodeTexts::titleText(group))),
                     text(shownName(MusicSourceNodeTexts::subtitleText(group))),
                     text(MusicSourceNodeTexts::artworkURL(group)),
                     text(MusicSourceNodeTexts::playHelp(group, playing))};
}

const SonosGroup* groupOf(const FloorplanNode& node, const std::vector<SonosGroup>& groups) {
    if (!node.group) return nullptr;
    for (const SonosGroup& group : groups) {
        if (group.id == *node.group) return &group;
    }
    return nullptr;
}

}  // namespace orvel
