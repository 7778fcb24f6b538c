#include "OrvellaApp/update/AppUpdaterModel.h"

#include "OrvellaApp/SparkleUpdateSession.h"

Q_LOGGING_CATEGORY(lcSparkle, "Sparkle")

namespace orvel {

AppUpdaterModel::AppUpdaterModel(std::unique_ptr<Updater> updater, SparkleUpdateSession& session, QObject* parent)
    : QObject(parent), updater_(std::move(updater)), session_(session) {
    connect(updater_.get(), &Updater::canCheckForUpdatesChanged, this, &AppUpdaterModel::mirrorCanCheck);
    mirrorCanCheck(updater_->canCheckForUpdates());
    presentation_ = updater_->presentation();
    joinCallbacks();
}

AppUpdaterModel::~AppUpdaterModel() {
    // The updater's last signals must not reach a model that is half gone.
    updater_->disconnect(this);
}

void AppUpdaterModel::joinCallbacks() {
    Updater* updater = updater_.get();
    SparkleUpdateSession* session = &session_;
    // Each callback's work runs later on the event loop, in the order the callbacks came, as the
    // framework's callbacks hand their work to the main thread.
    connect(updater, &Updater::didFindValidUpdate, this, [this] {
        if (!launchProbeActive_) return;
        launchProbeActive_ = false;
        updater_->checkForUpdates();
    }, Qt::QueuedConnection);
    connect(updater, &Updater::didFinishUpdateCycle, this, [this] { launchProbeActive_ = false; }, Qt::QueuedConnection);
    connect(updater, &Updater::didAbortWithError, this, [session](const UpdateError& error) {
        session->end();
        qCCritical(lcSparkle).noquote().nospace() << "Sparkle update failed: " << QString::fromStdString(error.describe());
    }, Qt::QueuedConnection);
    connect(updater, &Updater::willInstallUpdate, this, [session](const AppcastItem& item) {
        session->begin();
        qCInfo(lcSparkle).noquote().nospace() << "Installing update " << item.displayVersion;
    }, Qt::QueuedConnection);
    connect(updater, &Updater::willShowUpdate, this, [session] { session->begin(); }, Qt::QueuedConnection);
    connect(updater, &Updater::willFinishUpdateSession, this, [session] { session->end(); }, Qt::QueuedConnection);
    connect(updater, &Updater::presentationChanged, this, [this] {
        const UpdatePresentation next = updater_->presentation();
        if (next == presentation_) return;
        presentation_ = next;
        emit dialogChanged();
    });
}

QString AppUpdaterModel::dialogPhase() const {
    using Phase = UpdatePresentation::Phase;
    switch (presentation_.phase) {
        case Phase::hidden: return {};
        case Phase::available: return QStringLiteral("available");
        case Phase::installing: return QStringLiteral("installing");
        case Phase::installed: return QStringLiteral("installed");
        case Phase::upToDate: return QStringLiteral("upToDate");
        case Phase::failed: return QStringLiteral("failed");
    }
    return {};
}

void AppUpdaterModel::checkForUpdates() {
    if (updater_->canCheckForUpdates()) updater_->checkForUpdates();
}

void AppUpdaterModel::install() { updater_->installUpdate(); }

void AppUpdaterModel::dismiss() { updater_->dismissUpdate(); }

void AppUpdaterModel::mainWindowDidAppear() {
    if (didScheduleLaunchCheck_) return;
    didScheduleLaunchCheck_ = true;
    if (updater_->canCheckForUpdates()) {
        if (!didCheckOnLaunch_) runLaunchProbe();
        return;
    }
    // Waits for the updater to become free; the first time it does, the probe runs from the
    // event loop.
    QObject::disconnect(launchWait_);
    launchWait_ = connect(updater_.get(), &Updater::canCheckForUpdatesChanged, this, [this](bool canCheck) {
        if (!canCheck) return;
        QObject::disconnect(launchWait_);
        QMetaObject::invokeMethod(this, [this] {
            if (!didCheckOnLaunch_) runLaunchProbe();
        }, Qt::QueuedConnection);
    });
}

void AppUpdaterModel::runLaunchProbe() {
    didCheckOnLaunch_ = true;
    launchProbeActive_ = true;
    updater_->checkForUpdateInformation();
}

void AppUpdaterModel::mirrorCanCheck(bool canCheck) {
    if (canCheck == canCheckForUpdates_) return;
    canCheckForUpdates_ = canCheck;
    emit canCheckForUpdatesChanged();
}

}  // namespace orvel
