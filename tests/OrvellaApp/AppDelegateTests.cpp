// When the application ends: closing the last window quits, unless an update session is open,
// whose end then quits unless a window came back.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QQuickWindow>
#include <QTest>
#include <QTimer>

#include "AppRig.h"
#include "OrvelUI/ShellFixtures.h"
#include "OrvellaApp/OrvelAppDelegate.h"
#include "OrvellaApp/OrvellaApp.h"
#include "OrvellaApp/SparkleUpdateSession.h"

using namespace orvel;
using namespace orvel::testing;

TEST(OrvelAppDelegate, UpdateSessionKeepsTheApplicationUntilItEnds) {
    struct Case {
        const char* what;
        int sessions;        // sessions begun before the last window closes
        int windowsAfter;    // windows open when the session ends
        int quitsOnClose;
        int quitsAtEnd;
    };
    const Case cases[] = {
        {"no session: closing quits", 0, 0, 1, 0},
        {"session open: closing keeps running, the end quits", 1, 0, 0, 1},
        {"nested sessions end together", 2, 0, 0, 1},
        {"a window reopened: the end does not quit", 1, 1, 0, 0},
    };
    for (const auto& c : cases) {
        SparkleUpdateSession session;
        int windows = 0;
        int quits = 0;
        OrvelAppDelegate delegate(session, [&] { return windows; }, [&] { ++quits; });

        for (int i = 0; i < c.sessions; ++i) session.begin();
        EXPECT_EQ(quits, 0) << c.what << ": beginning a session never quits";
        delegate.lastWindowClosed();
        EXPECT_EQ(quits, c.quitsOnClose) << c.what;

        windows = c.windowsAfter;
        session.end();
        EXPECT_EQ(quits, c.quitsOnClose + c.quitsAtEnd) << c.what;
    }
}

// Closing the window inside a running event loop, as a person would.
TEST(Quitting, ClosingTheLastWindowEndsTheEventLoop) {
    AppRig rig;
    const auto app = rig.start(arguments({}));
    QQuickWindow* window = shownWindow(app.get());
    ASSERT_NE(window, nullptr);

    // A loop still running after the bound ends with code 99.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(patience);
    QTimer::singleShot(0, window, [window] { window->close(); });
    EXPECT_EQ(QGuiApplication::exec(), 0);
}
