// Loads the real interface offscreen, as the application does, and looks at what it draws. The
// household is handed to the root view directly here; the tests of the wiring go through the store.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFile>
#include <QQmlComponent>
#include <QWindow>

#include "AppRig.h"
#include "OrvelStore/OrvelAlert.h"
#include "OrvelUI/shell/OrvelRootView.h"
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

}  // namespace

TEST(OrvellaApp, StartUp) {
    AppRig rig;
    const auto started = rig.start(arguments({"--appearance=dark"}));
    ASSERT_NE(started, nullptr);
    OrvellaApp& app = *started;
    EXPECT_EQ(rig.desktopEntryRegistrations, 1);
    EXPECT_EQ(app.redirectUrl().scheme(), "orvella");
    EXPECT_EQ(app.redirectUrl().host(), "spotify-callback");

    EXPECT_EQ(app.dataFolder(), qEnvironmentVariable("XDG_DATA_HOME") + "/Orvella");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(app.dataFolder()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

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
    EXPECT_EQ(window->size(), QSize(1280, 840));
    EXPECT_EQ(window->minimumSize(), QSize(980, 660));

    const auto groups = household();
    app.rootView()->setHousehold(groups, speakersOf(groups));
    // The detail column's list shows both groups.
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(window, "groupName").size() == 2; }, patience));

    // A room name that looks like markup is shown as the characters it is.
    int plain = 0;
    for (QQuickItem* rooms : itemsNamed(window, "groupRooms")) {
        if (rooms->property("text").toString() != "<b>x</b>") continue;
        EXPECT_EQ(rooms->property("textFormat").toInt(), 0);  // Text.PlainText
        ++plain;
    }
    EXPECT_EQ(plain, 1);

    // The banner of an alert the user can act on, over the content.
    app.rootView()->setAlert(OrvelAlert::spotify(SpotifyBridgeError::notConnected()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(window, "alertAction").size() == 1; }, patience));
    const QList<QQuickItem*> message = itemsNamed(window, "alertMessage");
    ASSERT_EQ(message.size(), 1);
    EXPECT_EQ(message.front()->property("text").toString(), "Spotify is not connected");

    const QImage image = render(window, "orvella-window.png");
    EXPECT_EQ(image.size(), QSize(1280, 840) * window->devicePixelRatio());
    expectDrawn(image, VavuzadiRudodTheme::shared()->obsidian().rgba());
}

TEST(OrvellaApp, PhoneLayoutWindow) {
    AppRig rig;
    const auto started = rig.start(launch({{"ORVELLA_LAYOUT", "ios"}}, {"--appearance", "dark"}));
    ASSERT_NE(started, nullptr);
    OrvellaApp& app = *started;
    QQuickWindow* window = app.showWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->size(), QSize(402, 874));
    EXPECT_EQ(window->minimumSize(), QSize(402, 850));
    EXPECT_EQ(window->maximumWidth(), 430);

    const auto groups = household();
    app.rootView()->setHousehold(groups, speakersOf(groups));
    // Only the current tab's list is visible.
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(window, "groupName").size() == 2; }, patience));

    // The forced appearance reaches the window's own colours.
    EXPECT_EQ(window->color(), VavuzadiRudodTheme::shared()->obsidian());
    EXPECT_EQ(window->color().rgb(), qRgb(22, 18, 14));

    const QImage image = render(window, "orvella-window-phone.png");
    expectDrawn(image, VavuzadiRudodTheme::shared()->obsidian().rgba());
    VavuzadiRudodTheme::shared()->setForcedScheme(std::nullopt);
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
    EXPECT_EQ(window->size(), QSize(1280, 840));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->size() == QSize(1024, 700); }, patience));
}

TEST(OrvellaApp, WindowSizeOptionSkipsNarrowWindows) {
    QWindow narrow;
    narrow.resize(300, 500);
    QWindow wide;
    wide.resize(301, 500);
    OrvellaApp::applyWindowSize({&narrow, &wide}, WindowSize{1024, 700});
    EXPECT_EQ(narrow.size(), QSize(300, 500));
    EXPECT_EQ(wide.size(), QSize(1024, 700));
}
