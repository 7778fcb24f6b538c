#pragma once

// What the view tests share: the window started on the rig's scripted household, QML probes
// loaded beside the module's own files, and clicks and drags on items found by name.

#include <algorithm>
#include <memory>
#include <optional>

#include <QQmlComponent>
#include <QVariantMap>

#include "AppRig.h"
#include "common/WaitFor.h"

namespace orvel::testing {

inline QPointF centreOf(QQuickItem* item) { return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)); }

inline QQuickItem* only(QQuickWindow* window, const QString& name) {
    const QList<QQuickItem*> items = itemsNamed(window, name);
    return items.size() == 1 ? items.front() : nullptr;
}

// Renders two more frames of the window: layouts (a menu's list, a positioner) are polished
// while a frame is prepared, so what they place has moved by the time the frames are out.
inline void renderFrames(QQuickWindow* window) {
    int swapped = 0;
    const QMetaObject::Connection counting =
        QObject::connect(window, &QQuickWindow::frameSwapped, window, [&swapped] { ++swapped; });
    for (int wanted = 1; wanted <= 2; ++wanted) {
        window->update();
        if (!QTest::qWaitFor([&] { return swapped >= wanted; }, patience)) break;
    }
    QObject::disconnect(counting);
}

// Positioners and menus place items after they appear: the one item of that name is clicked
// once it can take the click, has left the window's corner and stayed put across two rendered
// frames. One that is animated in place (the dock's group switcher and its menu) is clicked as
// soon as it can take the click.
inline void clickNamed(QQuickWindow* window, const QString& name, bool waitForLayout = true) {
    std::optional<QPointF> last;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QQuickItem* item = only(window, name);
            if (!item || !item->isEnabled()) return false;
            if (!waitForLayout) return true;
            const QPointF now = item->mapToScene(QPointF(0, 0));
            if (last == now && !now.isNull()) return true;
            last = now;
            renderFrames(window);
            return false;
        },
        patience))
        << name.toStdString();
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, centreOf(only(window, name)).toPoint());
}

// Press, move in small steps (a drag handler takes the grab only past its threshold), release.
inline void dragAlong(QQuickWindow* window, QPointF from, QPointF to) {
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, from.toPoint());
    constexpr int steps = 12;
    for (int i = 1; i <= steps; ++i) QTest::mouseMove(window, (from + (to - from) * (double(i) / steps)).toPoint(), 10);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, to.toPoint(), 10);
}

// A QML window built on the app's engine, placed beside the module's own files whose types it uses.
inline std::unique_ptr<QQuickWindow> loadProbe(OrvellaApp& app, const QByteArray& qml, const QVariantMap& properties = {}) {
    QQmlComponent component(&app.engine());
    component.setData("import QtQuick\nimport Orvella.UI\n" + qml, QUrl("qrc:/Orvella/UI/Probe.qml"));
    if (!component.isReady()) {
        ADD_FAILURE() << component.errorString().toStdString();
        return nullptr;
    }
    std::unique_ptr<QObject> root(component.createWithInitialProperties(properties));
    auto* window = qobject_cast<QQuickWindow*>(root.get());
    if (window) root.release();
    if (window && !QTest::qWaitForWindowExposed(window, patience)) ADD_FAILURE() << "the window did not show";
    return std::unique_ptr<QQuickWindow>(window);
}

inline bool wasSent(const AppRig& rig, const SonosCommand& command) {
    return std::ranges::find(rig.sonos->sent, command) != rig.sonos->sent.end();
}

inline bool eventuallySent(const AppRig& rig, const SonosCommand& command) {
    return QTest::qWaitFor([&] { return wasSent(rig, command); }, patience);
}

// The first command of that kind the household received.
inline std::optional<SonosCommand> firstSent(const AppRig& rig, bool (SonosCommand::*kind)() const) {
    std::optional<SonosCommand> found;
    (void)QTest::qWaitFor(
        [&] {
            const auto hit = std::ranges::find_if(rig.sonos->sent, [&](const SonosCommand& c) { return (c.*kind)(); });
            if (hit != rig.sonos->sent.end()) found = *hit;
            return found.has_value();
        },
        patience);
    return found;
}

// The app started with its window shown and the household published through the store, so what
// the commands project reaches the window too.
struct LiveWindow {
    AppRig rig;
    std::unique_ptr<OrvellaApp> app;
    QQuickWindow* window = nullptr;

    LiveWindow(LaunchInputs inputs, const HouseholdSnapshot& household) : app(rig.start(std::move(inputs))) {
        if (!app) return;
        QQuickWindow* shown = app->showWindow();
        if (!shown || !QTest::qWaitForWindowExposed(shown, patience)) return;
        if (!QTest::qWaitFor([&] { return rig.sonos->subscriptionCount() == 1; }, patience)) return;
        rig.sonos->publish(household);
        window = shown;
    }
};

}  // namespace orvel::testing
