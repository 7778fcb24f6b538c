#pragma once

// The update check as the window sees it: whether the "Check for Updates…" item is enabled, the
// check it starts, the one quiet probe after the main window first shows, and what the update
// dialog shows. It answers the updater's callbacks: a probe that finds an update starts one
// check that presents it, and the update-session count follows the dialog and the install, so
// quitting waits for an open update session and never for a failed one. Failures are logged
// under the category "Sparkle".

#include <QLoggingCategory>
#include <QMetaObject>
#include <QObject>
#include <QString>

#include <memory>

#include "OrvellaApp/update/Updater.h"

Q_DECLARE_LOGGING_CATEGORY(lcSparkle)

namespace orvel {

class SparkleUpdateSession;

class AppUpdaterModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool canCheckForUpdates READ canCheckForUpdates NOTIFY canCheckForUpdatesChanged)
    // "", "available", "installing", "installed", "upToDate" or "failed".
    Q_PROPERTY(QString dialogPhase READ dialogPhase NOTIFY dialogChanged)
    Q_PROPERTY(QString updateVersion READ updateVersion NOTIFY dialogChanged)
    Q_PROPERTY(QString updateNotes READ updateNotes NOTIFY dialogChanged)
    Q_PROPERTY(QString dialogMessage READ dialogMessage NOTIFY dialogChanged)

public:
    AppUpdaterModel(std::unique_ptr<Updater> updater, SparkleUpdateSession& session, QObject* parent = nullptr);
    ~AppUpdaterModel() override;

    bool canCheckForUpdates() const { return canCheckForUpdates_; }
    QString dialogPhase() const;
    QString updateVersion() const { return presentation_.version; }
    QString updateNotes() const { return presentation_.notes; }
    QString dialogMessage() const { return presentation_.message; }

    // The menu item's action: a check whose outcome is presented.
    Q_INVOKABLE void checkForUpdates();
    // The dialog's buttons.
    Q_INVOKABLE void install();
    Q_INVOKABLE void dismiss();

    // Each time the main window's content is shown; acts once per process.
    void mainWindowDidAppear();

    bool didCheckOnLaunch() const { return didCheckOnLaunch_; }
    bool launchProbeActive() const { return launchProbeActive_; }
    Updater& updater() const { return *updater_; }

signals:
    void canCheckForUpdatesChanged();
    void dialogChanged();

private:
    void runLaunchProbe();
    void mirrorCanCheck(bool canCheck);
    void joinCallbacks();

    std::unique_ptr<Updater> updater_;
    SparkleUpdateSession& session_;
    bool canCheckForUpdates_ = false;
    bool didCheckOnLaunch_ = false;
    bool didScheduleLaunchCheck_ = false;
    bool launchProbeActive_ = false;
    QMetaObject::Connection launchWait_;
    UpdatePresentation presentation_;
};

}  // namespace orvel
