#pragma once

// The updater behind the update check: reads the appcast over HTTPS, offers the newest version
// newer than the running one, and installs it only after its Ed25519 signature has been
// checked over the whole downloaded archive. Every failure leaves the installed program as it
// was and is reported as an abort; nothing partial is reported as installed.

#include <QNetworkAccessManager>
#include <QUrl>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>

#include <QCoroTask>

#include "OrvellaApp/update/Appcast.h"
#include "OrvellaApp/update/Ed25519Verifier.h"
#include "OrvellaApp/update/UpdateAddressPolicy.h"
#include "OrvellaApp/update/UpdateInstaller.h"
#include "OrvellaApp/update/Updater.h"
#include "Support/Clock.h"
#include "Support/LifetimeGuard.h"

namespace orvel {

struct AppcastUpdaterConfig {
    QUrl feedUrl;
    Ed25519Verifier verifier;
    QString runningVersion;
    UpdateAddressPolicy addresses;
    AppcastLimits limits;
    UpdateInstallTarget target;
    std::chrono::nanoseconds feedDeadline = std::chrono::seconds(30);
    std::chrono::nanoseconds archiveDeadline = std::chrono::minutes(30);
    // Shows the folder of an archive saved to Downloads.
    std::function<void(const std::filesystem::path& saved)> reveal;
};

class AppcastUpdater : public Updater {
    Q_OBJECT

public:
    // The clock must outlive the updater.
    AppcastUpdater(AppcastUpdaterConfig config, Clock& clock, QObject* parent = nullptr);
    ~AppcastUpdater() override;

    bool canCheckForUpdates() const override;
    void checkForUpdateInformation() override;
    void checkForUpdates() override;
    void installUpdate() override;
    void dismissUpdate() override;
    UpdatePresentation presentation() const override { return presentation_; }

private:
    using Token = LifetimeGuard<AppcastUpdater>::Token;

    static QCoro::Task<> check(Token self, bool userInitiated);
    static QCoro::Task<> install(Token self, AppcastItem item);
    void checkFinished(const UpdateResult<std::optional<AppcastItem>>& outcome, bool userInitiated);
    void installFinished(const UpdateResult<UpdateInstallOutcome>& outcome, const AppcastItem& item);
    void startCheck(bool userInitiated);
    void setBusy(bool busy);
    void present(UpdatePresentation presentation);

    LifetimeGuard<AppcastUpdater> lifetime_{this};
    AppcastUpdaterConfig config_;
    Clock& clock_;
    // Qt's manager rather than the speakers' bounded client: the feed and archives come from
    // the project's own HTTPS server, and the total deadlines end any download that stalls.
    QNetworkAccessManager network_;
    bool busy_ = false;
    std::optional<AppcastItem> offered_;
    UpdatePresentation presentation_;
};

}  // namespace orvel
