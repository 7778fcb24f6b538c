#include "OrvellaApp/update/AppUpdaterFactory.h"

#include "OrvellaApp/update/AppUpdaterModel.h"
#include "OrvellaApp/update/AppcastUpdater.h"
#include "UpdateBuildSettings.h"

namespace orvel {

UpdateSettings UpdateSettings::fromBuild() {
    return UpdateSettings{QString::fromLatin1(buildSettings::updateFeedUrl),
                          QString::fromLatin1(buildSettings::updatePublicKey),
                          QString::fromLatin1(buildSettings::programVersion), UpdateAddressPolicy{}};
}

std::unique_ptr<AppUpdaterModel> makeAppUpdater(const UpdateSettings& settings, UpdateHost host) {
    if (settings.feedUrl.isEmpty() || settings.publicKey.isEmpty()) return nullptr;
    const QUrl feed(settings.feedUrl, QUrl::StrictMode);
    if (!settings.addresses.allows(feed)) {
        qCWarning(lcSparkle).noquote() << "No update check: the feed address is not https:" << settings.feedUrl;
        return nullptr;
    }
    auto verifier = Ed25519Verifier::fromBase64(settings.publicKey.toLatin1());
    if (!verifier) {
        qCWarning(lcSparkle).noquote() << "No update check:" << QString::fromStdString(verifier.error());
        return nullptr;
    }
    if (!appcast::isValidVersion(settings.runningVersion)) {
        qCWarning(lcSparkle).noquote() << "No update check: the program's version is not a dotted number:"
                             << settings.runningVersion;
        return nullptr;
    }
    AppcastUpdaterConfig config{.feedUrl = feed,
                                .verifier = *verifier,
                                .runningVersion = settings.runningVersion,
                                .addresses = settings.addresses,
                                .limits = {},
                                .target = std::move(host.target),
                                .reveal = std::move(host.reveal)};
    auto updater = std::make_unique<AppcastUpdater>(std::move(config), host.clock);
    return std::make_unique<AppUpdaterModel>(std::move(updater), host.session);
}

}  // namespace orvel
