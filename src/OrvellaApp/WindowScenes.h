#pragma once

// Review scenes of the main window that need more than the household to show: a long alert, an
// open menu of the menu bar or the "About" panel, a room held mid-drag over another group.

#include <functional>

#include <QString>

class QQuickWindow;

namespace orvel {

class OrvelStore;
class SidebarGroupListModel;

// When the scene is ready to be captured, having done what it needs once the household shows;
// empty for a scene that is not one of these.
std::function<bool()> windowSceneReady(const QString& scene, QQuickWindow* window, OrvelStore& store,
                                       SidebarGroupListModel& groups);

}  // namespace orvel
