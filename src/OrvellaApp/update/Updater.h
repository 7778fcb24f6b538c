#pragma once

// The update framework as the application sees it: whether a check may start, a quiet check
// that only reports, a check the user asked for whose outcome is presented, and the user's
// answer to a presented update. Its signals are the framework's callbacks: the updater's
// (found, cycle finished, aborted, about to install) and its interface's (about to show an
// update, session over). Everything runs on the GUI thread; no call waits for the network.

#include <QObject>

#include "OrvellaApp/update/Appcast.h"
#include "OrvellaApp/update/UpdateError.h"
#include "OrvellaApp/update/UpdatePresentation.h"

namespace orvel {

class Updater : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool canCheckForUpdates() const = 0;
    // Reports through didFindValidUpdate and didFinishUpdateCycle; shows nothing.
    virtual void checkForUpdateInformation() = 0;
    // Presents what it finds: the update, "up to date", or the failure.
    virtual void checkForUpdates() = 0;
    // The user's answers to a presented update.
    virtual void installUpdate() = 0;
    virtual void dismissUpdate() = 0;
    virtual UpdatePresentation presentation() const = 0;

signals:
    void canCheckForUpdatesChanged(bool canCheck);
    void didFindValidUpdate(const orvel::AppcastItem& item);
    void didFinishUpdateCycle();
    void didAbortWithError(const orvel::UpdateError& error);
    void willInstallUpdate(const orvel::AppcastItem& item);
    void willShowUpdate(const orvel::AppcastItem& item);
    void willFinishUpdateSession();
    void presentationChanged();
};

}  // namespace orvel
