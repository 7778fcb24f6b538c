// The window joined to the store and the Spotify link: what the store holds reaches the
// window, the banner's buttons act on the store, and "Connect Spotify" runs the sign-in whose
// callback a second copy of the program hands over.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QUrlQuery>

#include "AppRig.h"
#include "OrvelStore/OrvelAlert.h"
#include "OrvelStore/StateFixtures.h"
#include "OrvelUI/shell/OrvelRootView.h"
#include "OrvelUI/ShellFixtures.h"
#include "SpotifyBridge/SpotifyBridge.h"
#include "SpotifyBridge/WebAuthSession.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

HouseholdSnapshot reading(std::string grouping) {
    Household household;
    household.speakers = {speaker('A', "Living Room"), speaker('B', "Kitchen"), speaker('C', "Office")};
    household.grouping = std::move(grouping);
    return household.build();
}

void click(QQuickWindow* window, QQuickItem* item) {
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

void raise(OrvelStore& store, OrvelAlert alert) {
    OrvelState next = store.state();
    next.report(std::move(alert));
    store.setState(std::move(next));
}

class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) { qputenv(name, value); }
    ~ScopedVariable() { qunsetenv(name_); }

private:
    const char* name_;
};

}  // namespace

TEST(StoreWiring, TheWindowShowsWhatTheStoreHolds) {
    AppRig rig;
    const auto app = rig.start(arguments({}));
    ASSERT_NE(app, nullptr);
    QQuickWindow* window = app->showWindow();
    ASSERT_NE(window, nullptr);

    // Showing the window starts the store's loop, which subscribes to the household.
    ASSERT_TRUE(waitUntil([&] { return rig.sonos->subscriptionCount() == 1; }));
    EXPECT_TRUE(app->store().isRunningLoop());

    rig.sonos->publish(reading("AA BA CC"));
    // The sidebar lists both groups (the detail column shows the map while nothing is selected).
    const QString title = QStringLiteral("sidebarGroupTitle.");
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamedStartingWith(window, title).size() == 2; }, patience));
    const QStringList titles = textsNamedStartingWith(window, title);
    EXPECT_EQ(titles.count("Office"), 1) << titles.join(" | ").toStdString();

    rig.sonos->publish(reading("AA BB CC"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamedStartingWith(window, title).size() == 3; }, patience));

    // Shown again: still the one loop.
    window->hide();
    ASSERT_EQ(app->showWindow(), window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window, patience));
    EXPECT_EQ(rig.sonos->subscriptionsMade, 1u);
}

TEST(StoreWiring, ClosingTheBannerClearsTheStoresAlert) {
    AppRig rig;
    const auto app = rig.start(arguments({}));
    QQuickWindow* window = shownWindow(app.get());
    ASSERT_NE(window, nullptr);

    raise(app->store(), OrvelAlert::quarantined("cached-speakers.json.corrupt-1700000000"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(window, "alertClose").size() == 1; }, patience));
    EXPECT_EQ(textsNamed(window, "alertMessage"), QStringList{"A saved file could not be read"});
    EXPECT_TRUE(itemsNamed(window, "alertAction").isEmpty());

    click(window, itemsNamed(window, "alertClose").front());
    EXPECT_FALSE(app->store().state().alert().has_value());
    EXPECT_TRUE(QTest::qWaitFor([&] { return itemsNamed(window, "alertMessage").isEmpty(); }, patience));

    // A newer alert replaces the text at once.
    raise(app->store(), OrvelAlert::spotify(SpotifyBridgeError::network("offline")));
    raise(app->store(), OrvelAlert::spotify(SpotifyBridgeError::nothingPlaying()));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return textsNamed(window, "alertMessage") == QStringList{"Nothing is playing on Spotify"}; }, patience));
}

TEST(StoreWiring, ConnectSpotifyRunsTheSignInWhoseCallbackASecondCopyHandsOver) {
    const ScopedVariable clientID("SPOTIFY_CLIENT_ID", "test-client");
    AppRig rig;
    const auto app = rig.start(arguments({}));
    ASSERT_NE(app, nullptr);
    ASSERT_TRUE(app->callbackRelay().isListening());
    QQuickWindow* window = app->showWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window, patience));

    raise(app->store(), OrvelAlert::spotify(SpotifyBridgeError::notConnected()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(window, "alertAction").size() == 1; }, patience));
    click(window, itemsNamed(window, "alertAction").front());

    // The banner goes before the sign-in starts; the sign-in page opens in the browser.
    EXPECT_FALSE(app->store().state().alert().has_value());
    ASSERT_TRUE(waitUntil([&] { return rig.browser->opened.size() == 1; }));
    const QUrlQuery page(rig.browser->opened.front());
    EXPECT_EQ(page.queryItemValue("client_id"), "test-client");
    EXPECT_EQ(page.queryItemValue("redirect_uri", QUrl::FullyDecoded), "orvella://spotify-callback");
    EXPECT_TRUE(app->webAuthSession().isPending());

    // The browser starts a second copy with the callback: it hands the URL over and ends.
    AppRig secondCopy;
    EXPECT_EQ(secondCopy.start(arguments({"orvella://spotify-callback?error=access_denied"})), nullptr);
    EXPECT_EQ(secondCopy.desktopEntryRegistrations, 0);

    // The refused sign-in ends quietly: no link, and no new alert.
    ASSERT_TRUE(waitUntil([&] { return !app->webAuthSession().isPending(); }));
    QCoreApplication::processEvents();
    EXPECT_FALSE(app->spotify().isConnected());
    EXPECT_FALSE(app->store().state().alert().has_value());
    EXPECT_TRUE(itemsNamed(window, "alertMessage").isEmpty());
}

// Starting the program again while it runs brings the running window to the front, out of the
// dock and ahead of the window the user was in; the second copy ends.
TEST(StoreWiring, ASecondStartRaisesTheRunningWindow) {
    AppRig rig;
    const auto app = rig.start(arguments({}));
    QQuickWindow* window = shownWindow(app.get());
    ASSERT_NE(window, nullptr);

    QWindow elsewhere;
    elsewhere.resize(320, 200);
    elsewhere.show();
    elsewhere.requestActivate();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == &elsewhere; }, patience));
    window->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->windowStates().testFlag(Qt::WindowMinimized); }, patience));

    AppRig secondCopy;
    EXPECT_EQ(secondCopy.start(arguments({})), nullptr);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !window->windowStates().testFlag(Qt::WindowMinimized) && window->isVisible() &&
                   QGuiApplication::focusWindow() == window;
        },
        patience));
}

TEST(StoreWiring, ACopyStartedWithoutAnotherRunningStartsItself) {
    AppRig rig;
    // A callback among the arguments while no copy listens changes nothing: this copy starts.
    const auto app = rig.start(arguments({"orvella://spotify-callback?code=x"}));
    ASSERT_NE(app, nullptr);
    EXPECT_TRUE(app->callbackRelay().isListening());
    EXPECT_FALSE(app->webAuthSession().isPending());
}
