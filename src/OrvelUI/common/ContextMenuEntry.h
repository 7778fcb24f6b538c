#pragma once

// One entry of a context menu as a value: what it says, its symbol, whether it takes rooms out of
// a group, and the intent it runs with the ids it was built with. The ids are fixed when the menu
// opens, so a sweep that reorders the household before the click cannot retarget the entry.

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/SpeakerUUID.h"

namespace orvel::ContextMenuAction {

struct TogglePlay {
    SonosGroup group;
    friend bool operator==(const TogglePlay&, const TogglePlay&) = default;
};
struct PlayFromSpotify {
    GroupID group;
    friend bool operator==(const PlayFromSpotify&, const PlayFromSpotify&) = default;
};
struct Group {
    SpeakerUUID member;
    SpeakerUUID onto;
    friend bool operator==(const Group&, const Group&) = default;
};
struct GroupEverywhere {
    friend bool operator==(const GroupEverywhere&, const GroupEverywhere&) = default;
};
struct Ungroup {
    SpeakerUUID speaker;
    friend bool operator==(const Ungroup&, const Ungroup&) = default;
};
struct Dissolve {
    GroupID group;
    friend bool operator==(const Dissolve&, const Dissolve&) = default;
};
struct SavePreset {
    GroupID group;
    friend bool operator==(const SavePreset&, const SavePreset&) = default;
};
struct ToggleMute {
    SpeakerUUID speaker;
    friend bool operator==(const ToggleMute&, const ToggleMute&) = default;
};
struct ResetRoom {
    SpeakerUUID speaker;
    friend bool operator==(const ResetRoom&, const ResetRoom&) = default;
};
struct OpenGroup {
    GroupID group;
    friend bool operator==(const OpenGroup&, const OpenGroup&) = default;
};

}  // namespace orvel::ContextMenuAction

namespace orvel {

using ContextMenuIntent =
    std::variant<std::monostate, ContextMenuAction::TogglePlay, ContextMenuAction::PlayFromSpotify,
                 ContextMenuAction::Group, ContextMenuAction::GroupEverywhere, ContextMenuAction::Ungroup,
                 ContextMenuAction::Dissolve, ContextMenuAction::SavePreset, ContextMenuAction::ToggleMute,
                 ContextMenuAction::ResetRoom, ContextMenuAction::OpenGroup>;

struct ContextMenuEntry {
    enum class Kind { item, separator, submenu };

    Kind kind = Kind::item;
    // Unique within one menu; the QML item's objectName, and how a click finds its entry.
    std::string key;
    std::string text;
    // Empty for a text-only entry.
    std::string symbol;
    bool destructive = false;
    ContextMenuIntent intent;
    // The entries of a submenu.
    std::vector<ContextMenuEntry> children;

    static ContextMenuEntry separator(std::string key) { return {Kind::separator, std::move(key), {}, {}, false, {}, {}}; }

    friend bool operator==(const ContextMenuEntry&, const ContextMenuEntry&) = default;
};

// The entry with `key`, searched in submenus too.
const ContextMenuEntry* findContextMenuEntry(const std::vector<ContextMenuEntry>& entries, std::string_view key);

}  // namespace orvel
