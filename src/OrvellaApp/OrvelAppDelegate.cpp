#include "OrvellaApp/OrvelAppDelegate.h"

#include "OrvellaApp/SparkleUpdateSession.h"

namespace orvel {

OrvelAppDelegate::OrvelAppDelegate(SparkleUpdateSession& session, WindowCount openWindows, Quit quit,
                                   QObject* parent)
    : QObject(parent), session_(session), openWindows_(std::move(openWindows)), quit_(std::move(quit)) {
    connect(&session_, &SparkleUpdateSession::nestingChanged, this, &OrvelAppDelegate::nestingChanged);
}

void OrvelAppDelegate::lastWindowClosed() {
    if (applicationShouldTerminateAfterLastWindowClosed(session_.nesting())) quit_();
}

void OrvelAppDelegate::nestingChanged(int nesting) {
    if (applicationShouldTerminateAfterLastWindowClosed(nesting) && openWindows_() == 0) quit_();
}

}  // namespace orvel
