#include "OrvelUI/sidebar/SidebarGroupRowContent.h"

#include "OrvelDomain/RoomNaming.h"
#include "OrvelUI/playback/ActiveHubGroups.h"
#include "OrvelUI/common/ShownText.h"

namespace orvel {

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

SidebarMemberContent sidebarMemberContent(const Speaker& speaker) {
    SidebarMemberContent member{qt(speaker.id.rawValue()), shownRoomText(speaker.roomName),
                                QString::fromLatin1(speaker.model.caseName()), speaker.reachability.isOnline(),
                                std::nullopt, false};
    if (const auto battery = speaker.model.battery()) {
        member.batteryPercent = battery->levelPercent;
        member.batteryOnCharger = battery->isOnCharger;
    }
    return member;
}

SidebarGroupRowContent SidebarGroupRowContent::of(const SonosGroup& group, bool isSelected,
                                                  std::span<const SonosGroup> groups) {
    const std::vector<Speaker> speakers = group.speakers();
    const bool playing = group.playback.isPlaying();
    // A paused group that only repeats another group's playing stream counts as stopped.
    const bool hasSession =
        (playing || group.playback.isPaused()) && !isSuppressedPausedDuplicate(group, groups);

    SidebarGroupRowContent row;
    row.groupId = qt(group.id.description());
    row.coordinatorId = qt(group.coordinator.id.rawValue());
    row.coordinatorLabel = shownRoomText(group.coordinator.roomName);
    row.title = shownText(group.displayName);
    row.isSelected = isSelected;
    row.isMultiRoom = speakers.size() >= 2;
    row.model = QString::fromLatin1(group.coordinator.model.caseName());
    row.isOnline = group.coordinator.reachability.isOnline();
    row.silhouetteHighlighted = playing || isSelected;
    row.playing = playing;

    const NowPlaying* nowPlaying = hasSession ? group.playback.nowPlaying() : nullptr;
    const NowPlayingTrack* track = nowPlaying && nowPlaying->asTrack() ? &nowPlaying->asTrack()->track : nullptr;
    if (track && !track->title().empty()) {
        row.subtitleKind = playing ? Subtitle::playingTrack : Subtitle::pausedTrack;
        row.subtitle = shownText(track->title());
        if (track->artist()) row.subtitle += QStringLiteral(" \u00b7 ") + shownText(*track->artist());
    } else if (!row.isMultiRoom && !group.coordinator.bondedSatellites.empty()) {
        row.subtitleKind = Subtitle::surround;
        row.subtitle = QStringLiteral("+ %1 surrounds").arg(group.coordinator.bondedSatellites.size());
    }

    if (!row.isMultiRoom) {
        if (const auto battery = group.coordinator.model.battery()) {
            row.batteryPercent = battery->levelPercent;
            row.batteryOnCharger = battery->isOnCharger;
        }
    }

    if (track && track->artworkURL()) {
        row.mark = Mark::artwork;
        row.artworkUrl = QUrl(qt(*track->artworkURL()));
    } else if (nowPlaying && playing) {
        row.mark = Mark::playing;
    }

    if (row.isMultiRoom) {
        for (const Speaker& speaker : speakers) row.members.push_back(sidebarMemberContent(speaker));
    }
    return row;
}

}  // namespace orvel
