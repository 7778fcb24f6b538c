#pragma once

// Review scenes of the preset row and the group page, staged in the real window as a user would
// stage them: presets saved until eight show, and a pinned room's menu opened on its group's page.
// Each gives the `ready` test of its SceneCapture.

#include <functional>

class QQuickWindow;

namespace orvel {

class OrvelRootView;
class OrvelStore;
class ViewStore;

// Saves presets of the online rooms, as the creator would, until the household holds eight.
std::function<bool()> eightPresetsSceneReady(OrvelStore* store);

// Shows the page of the group with the most rooms, pins its second room on the map and opens
// that room's menu beside its row.
std::function<bool()> pinnedRoomMenuSceneReady(QQuickWindow* window, OrvelRootView* rootView, ViewStore* views,
                                               OrvelStore* store);

}  // namespace orvel
