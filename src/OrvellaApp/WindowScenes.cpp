#include "OrvellaApp/WindowScenes.h"

#include <memory>

#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>

#include "OrvelStore/OrvelAlert.h"
#include "OrvelStore/OrvelStore.h"
#include "OrvelUI/sidebar/SidebarListModels.h"
#include "OrvellaApp/SceneInput.h"

namespace orvel {

namespace {

// A sign-in failure is shown as the account service wrote it, however long.
constexpr const char* longSignInFailure =
    "Spotify could not confirm the sign-in: the account service answered that the authorization code "
    "had expired or had already been used, so no account is linked yet. Close this message and choose "
    "Connect Spotify again to start a new sign-in; if it keeps failing, check the redirect address.";

// Clicks the named items one after the other, one per call once each shows; true after the last.
std::function<bool()> clickInTurn(QQuickWindow* window, SidebarGroupListModel& groups, QStringList names) {
    auto next = std::make_shared<qsizetype>(0);
    return [window = QPointer<QQuickWindow>(window), groups = &groups, names, next] {
        if (!window) return true;
        if (groups->rowCount() == 0) return false;
        if (*next >= names.size()) return true;
        QQuickItem* item = review::itemNamed(window->contentItem(), names[*next]);
        if (!item || !item->isVisible()) return false;
        review::clickItem(window, item);
        return ++*next >= names.size();
    };
}

// The first room of a group of several, held over the last group row of the sidebar.
std::function<bool()> roomHeldOverAnotherGroup(QQuickWindow* window, SidebarGroupListModel& groups) {
    return [window = QPointer<QQuickWindow>(window), groups = &groups] {
        if (!window) return true;
        if (groups->rowCount() < 2) return false;
        QQuickItem* sidebar = review::itemNamed(window->contentItem(), QStringLiteral("sidebarSlot"));
        if (!sidebar) return false;
        const QList<QQuickItem*> members = review::itemsNamedStartingWith(sidebar, QStringLiteral("sidebarMemberRow."));
        const QList<QQuickItem*> rows = review::itemsNamedStartingWith(sidebar, QStringLiteral("sidebarGroupRow."));
        if (members.isEmpty() || rows.size() < 2) return false;
        QQuickItem* member = members.last();
        QQuickItem* target = rows.last();
        const QPointF from = member->mapToScene(QPointF(member->width() / 3, member->height() / 2));
        const QPointF to = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
        if (to.y() <= from.y()) return false;
        review::holdDragOver(window, from, to);
        return true;
    };
}

// The first preset pill's menu opened with the right button, then its "Rename…" entry.
std::function<bool()> firstPresetRenamed(QQuickWindow* window, SidebarGroupListModel& groups) {
    auto pill = std::make_shared<QString>();
    return [window = QPointer<QQuickWindow>(window), groups = &groups, pill] {
        if (!window) return true;
        if (groups->rowCount() == 0) return false;
        if (pill->isEmpty()) {
            const QString prefix = QStringLiteral("presetBar.pill.");
            for (QQuickItem* item : review::itemsNamedStartingWith(window->contentItem(), prefix)) {
                if (item->objectName().contains(QLatin1String(".menu"))) continue;
                *pill = item->objectName();
                review::clickItem(window, item, Qt::RightButton);
                break;
            }
            return false;
        }
        QQuickItem* rename = review::itemNamed(window->contentItem(), *pill + QStringLiteral(".menu.rename"));
        if (!rename || !rename->isVisible() || rename->y() <= 0) return false;
        review::clickItem(window, rename);
        return true;
    };
}

}  // namespace

std::function<bool()> windowSceneReady(const QString& scene, QQuickWindow* window, OrvelStore& store,
                                       SidebarGroupListModel& groups) {
    if (scene == QLatin1String("alert")) {
        return [store = QPointer<OrvelStore>(&store), groups = &groups, raised = false]() mutable {
            if (!store) return true;
            if (groups->rowCount() == 0) return false;
            if (!raised) {
                raised = true;
                OrvelState next = store->state();
                next.report(OrvelAlert::spotify(SpotifyBridgeError::authorizationFailed(longSignInFailure)));
                store->setState(std::move(next));
            }
            return true;
        };
    }
    // Menus open as a click on their title in the menu bar would open them.
    if (scene == QLatin1String("menu-playback")) {
        return clickInTurn(window, groups, {QStringLiteral("menuBar.menu.playback")});
    }
    if (scene == QLatin1String("menu-app")) return clickInTurn(window, groups, {QStringLiteral("menuBar.menu.app")});
    if (scene == QLatin1String("about")) {
        return clickInTurn(window, groups, {QStringLiteral("menuBar.menu.app"), QStringLiteral("menu.about")});
    }
    if (scene == QLatin1String("sidebar-drag")) return roomHeldOverAnotherGroup(window, groups);
    if (scene == QLatin1String("preset-rename")) return firstPresetRenamed(window, groups);
    return {};
}

}  // namespace orvel
