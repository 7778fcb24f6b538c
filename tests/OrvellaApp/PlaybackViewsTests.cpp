// The volume row and the up-next card as QML draws them: the parts are found by name and
// clicked, and what reaches the owner or the speakers is checked.
#include <gtest/gtest.h>

#include <QQmlComponent>

#include "AppRig.h"
#include "OrvelUI/PlaybackFixtures.h"
#include "OrvelUI/shell/OrvelRootView.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

std::unique_ptr<QQuickWindow> load(OrvellaApp& app, const char* qml, const QVariantMap& properties = {}) {
    QQmlComponent component(&app.engine());
    // Placed beside the module's own files, whose types it uses.
    component.setData(QByteArray("import QtQuick\nimport Orvella.UI\n") + qml, QUrl("qrc:/Orvella/UI/Probe.qml"));
    if (!component.isReady()) {
        ADD_FAILURE() << component.errorString().toStdString();
        return nullptr;
    }
    std::unique_ptr<QObject> root(component.createWithInitialProperties(properties));
    auto* window = qobject_cast<QQuickWindow*>(root.get());
    if (window) root.release();
    return std::unique_ptr<QQuickWindow>(window);
}

void click(QQuickWindow* window, const QString& name) {
    const QList<QQuickItem*> items = itemsNamed(window, name);
    ASSERT_EQ(items.size(), 1) << name.toStdString();
    const QPointF centre = items.front()->mapToScene(QPointF(items.front()->width() / 2, items.front()->height() / 2));
    QTest::mouseClick(window, Qt::LeftButton, {}, centre.toPoint());
}

}  // namespace

TEST(PlaybackViews, VolumeRowCommitsAndShowsTheStep) {
    AppRig rig;
    const auto app = rig.start(arguments({}));
    ASSERT_NE(app, nullptr);
    const auto window = load(*app, R"(Window {
        width: 420; height: 80; visible: true
        property int last: -1
        DiscreteVolumeControlView { objectName: "volume"; width: 400; volume: 99; onChange: p => last = p }
    })");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get(), patience));

    click(window.get(), "volume.plus");
    EXPECT_EQ(window->property("last").toInt(), 100);
    EXPECT_EQ(textsNamed(window.get(), "volume.percent"), QStringList{"100%"});
    EXPECT_EQ(itemsNamed(window.get(), "volume.slider").front()->property("value").toDouble(), 100.0);
}

TEST(PlaybackViews, TappedUpNextRowPlaysThatEntry) {
    AppRig rig;
    const auto app = rig.start(arguments({}));
    ASSERT_NE(app, nullptr);
    OrvelRootView& view = *app->rootView();
    const auto item = [](std::int64_t number) {
        return QueueItem("same", "Song", "Artist", std::nullopt, std::nullopt, std::nullopt, number, std::nullopt);
    };
    const QueueItem other("other", "Other", std::nullopt, std::nullopt, std::nullopt, std::nullopt, 3, std::nullopt);
    const SonosGroup kitchen =
        single(1, playing(NowPlaying::track(track("Now", "Artist", std::nullopt, PlaybackSource::sonosQueue(),
                                                  {item(2), other, item(5)}))));
    view.setHousehold({kitchen}, kitchen.speakers());

    const auto window = load(*app, R"(Window {
        required property OrvelRootView view
        width: 420; height: 300; visible: true
        UpNextQueueCardView { width: 400; presenter: view.dockQueue }
    })", {{"view", QVariant::fromValue(&view)}});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get(), patience));
    EXPECT_EQ(textsNamed(window.get(), "upNext.count"), QStringList{"3 tracks"});

    click(window.get(), "upNext.row.2");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.sonos->sent.empty(); }, patience));
    EXPECT_EQ(rig.sonos->sent.front(), SonosCommand::seekToQueueTrack(5, kitchen.id));
}
