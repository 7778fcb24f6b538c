#include "OrvelUI/common/SpeakerGroupContextMenu.h"

#include <algorithm>
#include <set>

#include "OrvelDomain/Overloaded.h"
#include "OrvelDomain/RoomNaming.h"
#include "OrvelStore/OrvelStore.h"
#include "OrvelUI/common/ContextMenuSeparators.h"
#include "OrvelUI/common/ShownText.h"

namespace orvel {

namespace {

namespace Action = ContextMenuAction;

std::string roomLabel(const Speaker& speaker) { return shownRoomName(speaker.roomName); }

ContextMenuEntry item(std::string key, std::string text, std::string symbol, ContextMenuIntent intent,
                      bool destructive = false) {
    return {ContextMenuEntry::Kind::item, std::move(key), std::move(text), std::move(symbol), destructive,
            std::move(intent), {}};
}

}  // namespace

const ContextMenuEntry* findContextMenuEntry(const std::vector<ContextMenuEntry>& entries, std::string_view key) {
    for (const ContextMenuEntry& entry : entries) {
        if (entry.key == key) return &entry;
        if (const ContextMenuEntry* found = findContextMenuEntry(entry.children, key)) return found;
    }
    return nullptr;
}

std::vector<ContextMenuEntry> SpeakerGroupContextMenu::entries(std::span<const Speaker> speakers) const {
    std::vector<ContextMenuEntry> menu;
    const std::vector<Speaker> groupSpeakers = group ? group->speakers() : std::vector<Speaker>{};

    // The group keeps its own rooms out of the submenu; a chosen room joins the speaker when one
    // is given, so the two fall back to each other in opposite orders.
    std::set<SpeakerUUID> excluded;
    if (group) {
        for (const Speaker& member : groupSpeakers) excluded.insert(member.id);
    } else if (speaker) {
        excluded.insert(speaker->id);
    }
    std::optional<SpeakerUUID> target;
    if (speaker) {
        target = speaker->id;
    } else if (group) {
        target = group->coordinator.id;
    }

    if (group) {
        if (group->playback.isPlaying()) {
            menu.push_back(item("menu.playPause", "Pause", "pause.fill", Action::TogglePlay{*group}));
        } else {
            menu.push_back(item("menu.playPause", "Play", "play.fill", Action::TogglePlay{*group}));
        }
        menu.push_back(item("menu.playFromSpotify", "Play from Spotify", "dot.radiowaves.left.and.right",
                            Action::PlayFromSpotify{group->id}));
        menu.push_back(ContextMenuEntry::separator("menu.separator.transport"));
    }

    if (target) {
        ContextMenuEntry submenu{ContextMenuEntry::Kind::submenu, "menu.groupWith", "Group with\u2026",
                                 "hifispeaker.2.fill", false, {}, {}};
        for (const Speaker& other : speakers) {
            if (!other.reachability.isOnline() || excluded.contains(other.id)) continue;
            submenu.children.push_back(item("menu.groupWith." + other.id.rawValue(), "Group with " + roomLabel(other),
                                            {}, Action::Group{other.id, *target}));
        }
        const auto online = std::ranges::count_if(speakers, [](const Speaker& s) { return s.reachability.isOnline(); });
        if (!submenu.children.empty()) {
            if (online >= 3) {
                submenu.children.push_back(ContextMenuEntry::separator("menu.separator.everywhere"));
                submenu.children.push_back(
                    item("menu.groupEverywhere", "Group All Rooms (Everywhere)", {}, Action::GroupEverywhere{}));
            }
            menu.push_back(std::move(submenu));
        }
    }

    if (group && groupSpeakers.size() >= 2) {
        if (speaker) {
            menu.push_back(item("menu.disconnect." + speaker->id.rawValue(), "Disconnect " + roomLabel(*speaker),
                                "xmark.circle", Action::Ungroup{speaker->id}, true));
        } else {
            for (const Speaker& member : groupSpeakers) {
                menu.push_back(item("menu.disconnect." + member.id.rawValue(), "Disconnect " + roomLabel(member),
                                    "minus.circle", Action::Ungroup{member.id}, true));
            }
        }
        if (!speaker || groupSpeakers.size() > 2) {
            menu.push_back(item("menu.ungroupAll", "Ungroup All", "xmark.circle", Action::Dissolve{group->id}, true));
        }
        menu.push_back(item("menu.savePreset", "Save as Preset", "bookmark.fill", Action::SavePreset{group->id}));
    }

    const Speaker* muteSubject = speaker ? &*speaker : (groupSpeakers.size() == 1 ? &group->coordinator : nullptr);
    if (muteSubject) {
        menu.push_back(ContextMenuEntry::separator("menu.separator.mute"));
        const bool muted = muteSubject->volume.rawValue() == 0;
        menu.push_back(item("menu.mute", (muted ? "Unmute " : "Mute ") + roomLabel(*muteSubject),
                            muted ? "speaker.wave.2.fill" : "speaker.slash.fill",
                            Action::ToggleMute{muteSubject->id}));
    }

    if (speaker && isPinnedOnMap) {
        menu.push_back(
            item("menu.resetMapPosition", "Reset Map Position", "arrow.counterclockwise", Action::ResetRoom{speaker->id}));
    }

    if (group && canOpenGroup) {
        menu.push_back(ContextMenuEntry::separator("menu.separator.open"));
        menu.push_back(item("menu.open", "Open " + shownName(group->displayName), "arrow.up.right.square",
                            Action::OpenGroup{group->id}));
    }
    return withoutStraySeparators(std::move(menu));
}

void performContextMenuIntent(OrvelStore& store, const ContextMenuIntent& intent,
                              const std::function<void(const GroupID&)>& openGroup) {
    std::visit(Overloaded{
                   [](std::monostate) {},
                   [&](const Action::TogglePlay& a) { store.togglePlayOrHandOffSpotify(a.group); },
                   [&](const Action::PlayFromSpotify& a) { store.handOffSpotify(a.group); },
                   [&](const Action::Group& a) { store.group(a.member, a.onto); },
                   [&](const Action::GroupEverywhere&) { store.groupEverywhere(); },
                   [&](const Action::Ungroup& a) { store.ungroupSpeaker(a.speaker); },
                   [&](const Action::Dissolve& a) { store.dissolveGroup(a.group); },
                   [&](const Action::SavePreset& a) { store.savePreset(a.group, std::nullopt); },
                   [&](const Action::ToggleMute& a) { store.toggleMute(a.speaker); },
                   [&](const Action::ResetRoom& a) { store.resetRoom(a.speaker); },
                   [&](const Action::OpenGroup& a) {
                       if (openGroup) openGroup(a.group);
                   },
               },
               intent);
}

}  // namespace orvel
