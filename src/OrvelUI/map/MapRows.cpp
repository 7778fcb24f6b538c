#include "MapRows.h"

#include <QTextBoundaryFinder>
#include <QVariantMap>

#include "OrvelDomain/RoomNaming.h"
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

std::string mapCardText(const std::string& text) {
    // A card shows a couple of dozen characters; laying out hundreds, or a letter under a pile
    // of hundreds of combining marks, only to elide them costs the first frame dearly.
    constexpr int mostCharacters = 64;
    constexpr int mostCodePointsPerCharacter = 4;
    const QString whole = QString::fromStdString(text);
    QString shown;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, whole);
    qsizetype start = 0;
    int count = 0;
    for (qsizetype end = characters.toNextBoundary(); end != -1; end = characters.toNextBoundary()) {
        if (++count > mostCharacters) {
            shown += QChar(0x2026);
            break;
        }
        int codePoints = 0;
        for (qsizetype i = start; i < end; ++i) {
            if (whole.at(i).isLowSurrogate()) continue;
            if (++codePoints > mostCodePointsPerCharacter) break;
            shown += whole.at(i);
            if (whole.at(i).isHighSurrogate() && i + 1 < end) shown += whole.at(i + 1);
        }
        start = end;
    }
    return shown.toStdString();
}

std::string mapRoomLabel(const std::string& roomName) {
    const std::string shortName = RoomNaming::shortName(roomName, false);
    if (QString::fromStdString(shortName).trimmed().isEmpty()) return "Room";
    return mapCardText(shortName);
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
                     text(mapCardText(group.displayName)),
                     at.x,
                     at.y,
                     playing,
                     text(mapCardText(MusicSourceNodeTexts::titleText(group))),
                     text(mapCardText(MusicSourceNodeTexts::subtitleText(group))),
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
