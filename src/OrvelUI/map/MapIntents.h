#pragma once

// What the map's cards ask of the store beyond a drag: play or pause a hub's group, set a
// room's volume, open a group's page (the window's business; may be absent), and the context
// menu's entries and intents. The application wires them to the store and the root view.

#include <functional>
#include <vector>

#include "OrvelDomain/SonosCommand.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/Speaker.h"
#include "OrvelUI/common/ContextMenuEntry.h"

namespace orvel {

struct MapIntents {
    std::function<void(const SonosGroup&)> togglePlayOrHandOffSpotify;
    std::function<void(SonosCommand)> send;
    std::function<void(const GroupID&)> openGroup;
    // Every known speaker, in the store's order: the context menu's choices.
    std::function<std::vector<Speaker>()> speakers;
    std::function<void(const ContextMenuIntent&)> performMenuIntent;
};

}  // namespace orvel
