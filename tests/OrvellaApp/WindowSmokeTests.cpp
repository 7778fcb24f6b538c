// Loads the real interface offscreen, as the application does, and looks at what it draws. The
// household is handed to the root view directly here; the tests of the wiring go through the store.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QQmlComponent>

#include "ViewRig.h"
#include "OrvelStore/OrvelAlert.h"
#include "OrvelUI/shell/OrvelRootView.h"
#include "OrvelUI/shell/WindowRules.h"
#include "OrvelUI/theme/VavuzadiRudodTheme.h"
#include "OrvelUI/ShellFixtures.h"
#include "OrvellaApp/OrvellaApp.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

std::vector<SonosGroup> household() {
    return {group({speaker(1, "Living Room", 2), speaker(2, "Kitchen")}, playingStream()),
            group({speaker(3, "<b>x</b>")})};
}

std::vector<Speaker> speakersOf(const std::vector<SonosGroup>& groups) {
    std::vector<Speaker> all;
    for (const auto& g : groups) {
        for (const Speaker& s : g.speakers()) all.push_back(s);
    }
    return all;
}

// The window's content, below the menu bar.
QSize contentSize(const QQuickWindow& window) {
    const auto* content = window.property("contentItem").value<QQuickItem*>();
    return content ? content->size().toSize() : QSize();
}

// The content takes its size and limits from the layout's rules; the menu bar comes on top.
void expectSizedByTheRules(const QQuickWindow& window, bool phoneLayout) {
    const WindowSize size = WindowRules::defaultSize(phoneLayout);
    const WindowFrameLimits limits = WindowRules::frameLimits(phoneLayout);
    const int menuBar = window.height() - contentSize(window).height();
    EXPECT_GT(menuBar, 0);
    EXPECT_EQ(contentSize(window), QSize(int(size.width), int(size.height)));
    EXPECT_EQ(window.minimumSize(), QSize(int(limits.minimumWidth), int(limits.minimumHeight) + menuBar));
    if (limits.maximumWidth) {
        EXPECT_EQ(window.maximumWidth(), int(*limits.maximumWidth));
    }
}

}  // namespace

TEST(OrvellaApp, StartUp) {
    AppRig rig;
    const auto started = rig.start(arguments({"--appearance=dark"}));
    ASSERT_NE(started, nullptr);
    OrvellaApp& app = *started;
    EXPECT_EQ(rig.desktopEntryRegistrations, 1);

    EXPECT_TRUE(QFileInfo(app.dataFolder()).isDir());

    EXPECT_TRUE(VavuzadiRudodTheme::shared()->isDark());
    VavuzadiRudodTheme::shared()->setForcedScheme(std::nullopt);
}

TEST(OrvellaApp, DesktopWindowShowsTheHousehold) {
    AppRig rig;
    const auto started = rig.start(arguments({}));
    ASSERT_NE(started, nullptr);
    OrvellaApp& app = *started;
    QQuickWindow* window = app.showWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->title(), "Orvella");
    expectSizedByTheRules(*window, false);

    const auto groups = household();
    app.rootView()->setHousehold(groups, speakersOf(groups));
    // With nothing selected the detail slot shows the map.
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(window, "mapCanvas").size() == 1; }, patience));

    // The banner of an alert the user can act on, over the content.
    app.rootView()->setAlert(OrvelAlert::spotify(SpotifyBridgeError::notConnected()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(window, "alertAction").size() == 1; }, patience));
    const QList<QQuickItem*> message = itemsNamed(window, "alertMessage");
    ASSERT_EQ(message.size(), 1);
    EXPECT_EQ(message.front()->property("text").toString(), "Spotify is not connected");

    const QImage image = render(window, "orvella-window.png");
    EXPECT_EQ(image.size(), window->size() * window->devicePixelRatio());
    expectDrawn(image, VavuzadiRudodTheme::shared()->obsidian().rgba());
}

TEST(OrvellaApp, PhoneLayoutWindow) {
    AppRig rig;
    const auto started = rig.start(launch({{"ORVELLA_LAYOUT", "ios"}}, {"--appearance", "dark"}));
    ASSERT_NE(started, nullptr);
    OrvellaApp& app = *started;
    QQuickWindow* window = app.showWindow();
    ASSERT_NE(window, nullptr);
    expectSizedByTheRules(*window, true);

    // The map tab's first page shows before any household is known.
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(window, "homePane").size() == 1; }, patience));
    EXPECT_EQ(textsNamed(window, "tabTitle.0"), QStringList{"Orvella"});

    // The forced appearance reaches the window's own colours.
    ASSERT_TRUE(VavuzadiRudodTheme::shared()->isDark());
    EXPECT_EQ(window->color(), VavuzadiRudodTheme::shared()->obsidian());

    const QImage image = render(window, "orvella-window-phone.png");
    expectDrawn(image, VavuzadiRudodTheme::shared()->obsidian().rgba());
    VavuzadiRudodTheme::shared()->setForcedScheme(std::nullopt);
}

// A sign-in failure is shown as written, however long: on the phone layout its banner wraps the
// sentence and stays inside the window, with the close button whole.
TEST(OrvellaApp, PhoneBannerKeepsALongSentenceInsideTheWindow) {
    AppRig rig;
    const auto started = rig.start(launch({{"ORVELLA_LAYOUT", "ios"}}));
    ASSERT_NE(started, nullptr);
    QQuickWindow* window = started->showWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window, patience));

    std::string sentence;
    while (sentence.size() < 300) sentence += "The account service refused the sign-in request. ";
    sentence.resize(300);
    started->rootView()->setAlert(OrvelAlert::spotify(SpotifyBridgeError::authorizationFailed(sentence)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(window, "alertClose").size() == 1; }, patience));
    renderFrames(window);

    const QRectF content(QPointF(0, 0), window->contentItem()->size());
    for (const char* name : {"alertBanner", "alertMessage", "alertClose"}) {
        QQuickItem* item = only(window, name);
        ASSERT_NE(item, nullptr) << name;
        const QRectF drawn = item->mapRectToScene(QRectF(QPointF(0, 0), item->size()));
        EXPECT_TRUE(content.contains(drawn)) << name << " at " << drawn.x() << ", width " << drawn.width();
    }
    QQuickItem* message = only(window, "alertMessage");
    EXPECT_EQ(message->property("text").toString().size(), 300);
    EXPECT_GT(message->property("lineCount").toInt(), 1);
    EXPECT_FALSE(message->property("truncated").toBool());
}

TEST(OrvellaApp, QmlSwitchesOnTheSelectionKind) {
    AppRig rig;
    const auto started = rig.start(arguments({}));
    ASSERT_NE(started, nullptr);
    OrvellaApp& app = *started;
    QQmlComponent component(&app.engine());
    component.setData("import QtQml\nimport Orvella.UI\n"
                      "QtObject { required property OrvelRootView view\n"
                      "  property bool speaker: view.selectionKind === SelectionKind.Speaker }",
                      QUrl());
    const std::unique_ptr<QObject> probe(component.createWithInitialProperties({{"view", QVariant::fromValue(app.rootView())}}));
    ASSERT_NE(probe, nullptr) << component.errorString().toStdString();
    EXPECT_FALSE(probe->property("speaker").toBool());
    app.rootView()->select(SidebarDestination::speaker(sp(2)));
    EXPECT_TRUE(probe->property("speaker").toBool());
}

TEST(OrvellaApp, WindowSizeOptionIsAppliedAfterShowing) {
    AppRig rig;
    const auto started = rig.start(launch({{"ORVELLA_WINDOW_SIZE", "1024x700"}}));
    ASSERT_NE(started, nullptr);
    OrvellaApp& app = *started;
    QQuickWindow* window = app.showWindow();
    ASSERT_NE(window, nullptr);
    // Not at once: the job runs from the event loop after its delay.
    expectSizedByTheRules(*window, false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return contentSize(*window) == QSize(1024, 700); }, patience));
}
