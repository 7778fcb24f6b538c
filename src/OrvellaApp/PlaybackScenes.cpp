#include "OrvellaApp/PlaybackScenes.h"

#include <algorithm>
#include <array>
#include <set>
#include <string_view>
#include <vector>

#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>

#include "OrvelStore/OrvelStore.h"
#include "OrvelUI/common/ViewStore.h"
#include "OrvelUI/shell/OrvelRootView.h"

namespace orvel {

namespace {

QQuickItem* namedItem(QQuickItem* from, const QString& name) {
    if (from->objectName() == name) return from;
    for (QQuickItem* child : from->childItems()) {
        if (QQuickItem* found = namedItem(child, name)) return found;
    }
    return nullptr;
}

}  // namespace

std::function<bool()> eightPresetsSceneReady(OrvelStore* store) {
    return [store = QPointer<OrvelStore>(store), saved = false]() mutable {
        if (!store) return true;
        const OrvelState& state = store->state();
        std::vector<SpeakerUUID> online;
        for (const Speaker& speaker : state.speakers()) {
            if (speaker.reachability.isOnline()) online.push_back(speaker.id);
        }
        if (online.size() < 3 || state.presets().empty()) return false;
        if (!saved) {
            saved = true;
            // Names of every length, one past the widest pill.
            constexpr std::array<std::string_view, 6> names{"Morning Coffee", "Dinner Party", "Kids",
                                                            "The Whole Ground Floor and the Patio", "Quiet Study",
                                                            "Movie Night"};
            std::size_t next = 0;
            for (std::size_t i = state.presets().size(); i < 8 && next < names.size(); ++i, ++next) {
                const SpeakerUUID& lead = online[next % online.size()];
                store->createPreset(names[next], lead, {online[(next + 1) % online.size()]});
            }
        }
        return store->state().presets().size() >= 8;
    };
}

std::function<bool()> pinnedRoomMenuSceneReady(QQuickWindow* window, OrvelRootView* rootView, ViewStore* views,
                                               OrvelStore* store) {
    return [window = QPointer<QQuickWindow>(window), rootView = QPointer<OrvelRootView>(rootView),
            views = QPointer<ViewStore>(views), store = QPointer<OrvelStore>(store)] {
        if (!window || !rootView || !views || !store) return true;
        // The page of the group with the most rooms, chosen as a click on its row would.
        const auto coordinator = SpeakerUUID::make(views->largestGroupId().toStdString());
        if (!coordinator) return false;
        const std::vector<SonosGroup>& groups = store->state().groups();
        const auto group = std::ranges::find_if(groups, [&](const SonosGroup& g) { return g.id == GroupID(*coordinator); });
        if (group == groups.end() || group->speakers().size() < 2) return false;
        if (rootView->detailKind() != SelectionKind::Group || rootView->detailId() != views->largestGroupId()) {
            rootView->select(SidebarDestination::group(group->id));
            return false;
        }
        // The list is made on each call: the room is copied out of it.
        const Speaker room = group->speakers()[1];
        if (!store->state().pins().contains(room.id)) store->moveRoom(room.id, RoomCoordinate::clamping(0.3, 0.4));
        const QString roomId = QString::fromStdString(room.id.rawValue());
        QQuickItem* page = namedItem(window->contentItem(), QStringLiteral("groupDetail"));
        QQuickItem* row = namedItem(window->contentItem(), QStringLiteral("speakerRow.") + roomId);
        QObject* menu = page ? page->findChild<QObject*>(QStringLiteral("groupMemberMenu")) : nullptr;
        if (!row || !menu || !row->isVisible()) return false;
        const QPointF at = page->mapFromItem(row, QPointF(row->width() * 0.35, 30));
        QMetaObject::invokeMethod(menu, "popupWith",
                                  Q_ARG(QVariant, views->memberMenu(rootView->detailId(), roomId)),
                                  Q_ARG(QVariant, at.x()), Q_ARG(QVariant, at.y()));
        return true;
    };
}

}  // namespace orvel
