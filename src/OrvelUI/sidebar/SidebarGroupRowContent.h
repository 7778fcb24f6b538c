#pragma once

// What a sidebar group row shows, computed from its group, its selection and the household's
// groups (for the paused-duplicate rule). A value: the row repaints only when it changes.

#include <optional>
#include <span>
#include <vector>

#include <QString>
#include <QUrl>

#include "OrvelDomain/SonosGroup.h"

namespace orvel {

struct SidebarMemberContent {
    QString speakerId;
    QString label;
    QString model;
    bool isOnline = false;
    // The level as the speaker reports it, negative ones included; absent without a battery.
    std::optional<int> batteryPercent;
    bool batteryOnCharger = false;
    friend bool operator==(const SidebarMemberContent&, const SidebarMemberContent&) = default;
};

struct SidebarGroupRowContent {
    enum class Subtitle { none, playingTrack, pausedTrack, surround };
    enum class Mark { none, artwork, playing };

    QString groupId;
    QString coordinatorId;
    QString coordinatorLabel;
    QString title;
    bool isSelected = false;
    bool isMultiRoom = false;
    // The single room's silhouette.
    QString model;
    bool isOnline = false;
    bool silhouetteHighlighted = false;
    Subtitle subtitleKind = Subtitle::none;
    QString subtitle;
    // As for a member: absent for a multi-room group and for a room without a battery.
    std::optional<int> batteryPercent;
    bool batteryOnCharger = false;
    Mark mark = Mark::none;
    QUrl artworkUrl;
    bool playing = false;
    std::vector<SidebarMemberContent> members;

    static SidebarGroupRowContent of(const SonosGroup& group, bool isSelected, std::span<const SonosGroup> groups);

    friend bool operator==(const SidebarGroupRowContent&, const SidebarGroupRowContent&) = default;
};

SidebarMemberContent sidebarMemberContent(const Speaker& speaker);

}  // namespace orvel
