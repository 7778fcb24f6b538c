// Closing the window inside a running event loop, as a person would.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QQuickWindow>
#include <QTest>
#include <QTimer>

#include "AppRig.h"
#include "OrvelUI/ShellFixtures.h"
#include "OrvellaApp/OrvellaApp.h"
#include "OrvellaApp/SparkleUpdateSession.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

// Runs the application's event loop; a loop still running after 10 s ends with code 99.
int runEventLoop() {
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(10000);
    return QGuiApplication::exec();
}

}  // namespace

TEST(Quitting, ClosingTheLastWindowQuits) {
    AppRig rig;
    const auto app = rig.start(arguments({}));
    ASSERT_NE(app, nullptr);
    QQuickWindow* window = app->showWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window, 10000));

    QTimer::singleShot(0, window, [window] { window->close(); });
    EXPECT_EQ(runEventLoop(), 0);
}

TEST(Quitting, AnOpenUpdateSessionKeepsTheApplicationUntilItEnds) {
    AppRig rig;
    const auto app = rig.start(arguments({}));
    ASSERT_NE(app, nullptr);
    QQuickWindow* window = app->showWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window, 10000));

    SparkleUpdateSession& session = SparkleUpdateSession::shared();
    session.begin();
    bool runningAfterClose = false;
    QTimer::singleShot(0, window, [&] {
        window->close();
        // Queued behind the close: it runs only if the close did not end the loop.
        QTimer::singleShot(0, [&] {
            runningAfterClose = true;
            session.end();
        });
    });
    EXPECT_EQ(runEventLoop(), 0);
    EXPECT_TRUE(runningAfterClose);
    EXPECT_EQ(session.nesting(), 0);
}
