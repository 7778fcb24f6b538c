#pragma once

// Makes the application's one update model from the build's update settings. Both the feed
// address and the public key must be set; with either empty there is no update check and no
// model (the menu item stays disabled). A setting that is present but unusable is logged and
// also leaves the program without an update check.

#include <QString>

#include <filesystem>
#include <functional>
#include <memory>

#include "OrvellaApp/update/UpdateAddressPolicy.h"
#include "OrvellaApp/update/UpdateInstaller.h"
#include "Support/Clock.h"

namespace orvel {

class AppUpdaterModel;
class SparkleUpdateSession;

struct UpdateSettings {
    QString feedUrl;
    // Base64 of the 32-byte Ed25519 public key.
    QString publicKey;
    QString runningVersion;
    UpdateAddressPolicy addresses;

    // The values compiled into this build.
    static UpdateSettings fromBuild();

    friend bool operator==(const UpdateSettings&, const UpdateSettings&) = default;
};

struct UpdateHost {
    Clock& clock;
    UpdateInstallTarget target;
    std::function<void(const std::filesystem::path& saved)> reveal;
    SparkleUpdateSession& session;
};

std::unique_ptr<AppUpdaterModel> makeAppUpdater(const UpdateSettings& settings, UpdateHost host);

}  // namespace orvel
