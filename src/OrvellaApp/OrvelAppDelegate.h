#pragma once

// Decides when the application ends: when its last window closes, unless an update session
// is open; and, since on this platform an application without windows is an invisible
// process, also when the last update session ends while no window is open.

#include <functional>

#include <QObject>

namespace orvel {

class SparkleUpdateSession;

class OrvelAppDelegate : public QObject {
    Q_OBJECT

public:
    using WindowCount = std::function<int()>;
    using Quit = std::function<void()>;

    // `openWindows` counts the visible windows; `quit` ends the application.
    OrvelAppDelegate(SparkleUpdateSession& session, WindowCount openWindows, Quit quit, QObject* parent = nullptr);

    static bool applicationShouldTerminateAfterLastWindowClosed(int nesting) { return nesting < 1; }

    // The platform reports that the last window closed.
    void lastWindowClosed();

private:
    void nestingChanged(int nesting);

    SparkleUpdateSession& session_;
    WindowCount openWindows_;
    Quit quit_;
};

}  // namespace orvel
