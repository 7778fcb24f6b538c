#pragma once

// What the preset bar and the preset creator show, decided from the household's groups and
// speakers alone so every rule can be checked without a window.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/PresetID.h"
#include "OrvelDomain/PresetPill.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/Speaker.h"

namespace orvel {

// The groups of two or more rooms, in the order given.
std::vector<SonosGroup> activeMultiGroups(const std::vector<SonosGroup>& groups);

int onlineSpeakerCount(const std::vector<Speaker>& speakers);

// The "Everywhere" pill exists only when there is something to group.
bool showsEverywhere(const std::vector<Speaker>& speakers);

// Every online speaker sits in the one group there is; offline speakers do not count.
bool isEverywhereActive(const std::vector<SonosGroup>& groups, const std::vector<Speaker>& speakers);

// One entry of a pill's context menu, carrying the ids it acts on.
struct PresetMenuEntry {
    enum class Action { groupEverywhere, dissolveGroup, apply, rename, update, remove, divider, submenu };

    Action action = Action::divider;
    std::string title;
    std::string symbol;
    bool destructive = false;
    std::optional<PresetID> preset;
    std::optional<GroupID> group;
    // Only for a submenu.
    std::vector<PresetMenuEntry> children;

    friend bool operator==(const PresetMenuEntry&, const PresetMenuEntry&) = default;
};

std::vector<PresetMenuEntry> everywhereMenu(const std::vector<SonosGroup>& groups, const std::vector<Speaker>& speakers);

// The update entry follows the multi-room groups at the moment the menu opens: one group is a
// direct entry, several a submenu naming each, none no entry.
std::vector<PresetMenuEntry> presetMenu(const PresetPill& preset, const std::vector<SonosGroup>& groups);

}  // namespace orvel
