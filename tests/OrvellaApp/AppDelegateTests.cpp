#include <gtest/gtest.h>

#include "OrvellaApp/OrvelAppDelegate.h"
#include "OrvellaApp/SparkleUpdateSession.h"

using namespace orvel;

TEST(OrvelAppDelegate, QuitRule) {
    EXPECT_TRUE(OrvelAppDelegate::applicationShouldTerminateAfterLastWindowClosed(0));
    EXPECT_TRUE(OrvelAppDelegate::applicationShouldTerminateAfterLastWindowClosed(-1));
    EXPECT_FALSE(OrvelAppDelegate::applicationShouldTerminateAfterLastWindowClosed(1));
    EXPECT_FALSE(OrvelAppDelegate::applicationShouldTerminateAfterLastWindowClosed(2));
}

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
        delegate.lastWindowClosed();
        EXPECT_EQ(quits, c.quitsOnClose) << c.what;

        windows = c.windowsAfter;
        session.end();
        EXPECT_EQ(quits, c.quitsOnClose + c.quitsAtEnd) << c.what;
    }
}

TEST(OrvelAppDelegate, BeginningASessionNeverQuits) {
    SparkleUpdateSession session;
    int quits = 0;
    OrvelAppDelegate delegate(session, [] { return 0; }, [&] { ++quits; });
    session.begin();
    session.begin();
    EXPECT_EQ(session.nesting(), 2);
    EXPECT_EQ(quits, 0);
}
