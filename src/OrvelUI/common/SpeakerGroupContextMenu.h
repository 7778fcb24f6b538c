#pragma once

// The one context menu for a group, a room, or a room seen inside its group. The hosts (sidebar
// group rows, the group page's speaker rows, the map's nodes) hand it what they stand for; the
// menu decides from that and the household's speakers which entries exist. Entries that do not
// apply are left out, never shown disabled.

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/Speaker.h"
#include "OrvelUI/common/ContextMenuEntry.h"

namespace orvel {

class OrvelStore;

struct SpeakerGroupContextMenu {
    std::optional<SonosGroup> group;
    std::optional<Speaker> speaker;
    bool isPinnedOnMap = false;
    // Whether the host can open a group's page; the host runs OpenGroup itself.
    bool canOpenGroup = false;

    // The entries against `speakers`, the household's speakers by room name (the store's list).
    std::vector<ContextMenuEntry> entries(std::span<const Speaker> speakers) const;
};

// Runs an entry's intent on the store; OpenGroup goes to `openGroup` when there is one.
void performContextMenuIntent(OrvelStore& store, const ContextMenuIntent& intent,
                              const std::function<void(const GroupID&)>& openGroup = {});

}  // namespace orvel
