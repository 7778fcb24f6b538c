// The one place where the store meets the concrete network side: it loads the store's files,
// creates the household controller seeded with the cached speakers' addresses, and builds the
// store around the controller and the application's Spotify bridge. Nothing is written and no
// traffic starts here; the household's sweeps begin when the run loop subscribes.

#include <QStandardPaths>
#include <QString>

#include <set>

#include "LiveStoreFactory.h"
#include "SonosHouseholdControl.h"
#include "SonosProtocolBoundary/SonosHousehold.h"
#include "SonosProtocolBoundary/SpeakerAddress.h"
#include "SpotifyBridgeSource.h"

namespace orvel {

std::vector<std::string> LiveStoreFactory::mergedSeedIPs(const std::vector<std::string>& cached) {
    std::vector<std::string> out;
    std::set<std::string> seen;
    for (const std::string& address : cached) {
        // The cache file is outside input: only a plain IPv4 literal may reach the network side.
        if (!SpeakerAddress::make(address)) continue;
        if (seen.insert(address).second) out.push_back(address);
    }
    return out;
}

std::filesystem::path LiveStoreFactory::defaultDataFolder() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return std::filesystem::path(base.toStdString()) / "Orvella";
}

std::unique_ptr<OrvelStore> LiveStoreFactory::live(SpotifyBridge& spotify) {
    return live(std::make_shared<SpotifyBridgeSource>(spotify), defaultDataFolder(), SonosHouseholdEnvironment{});
}

std::unique_ptr<OrvelStore> LiveStoreFactory::live(std::shared_ptr<SpotifySource> spotify,
                                                   const std::filesystem::path& dataFolder,
                                                   SonosHouseholdEnvironment environment) {
    Clock& clock = environment.clock != nullptr ? *environment.clock : Clock::system();
    OrvelFiles files(dataFolder, clock);
    const LoadedFiles loaded = files.loadAll();
    auto household = std::make_unique<SonosHousehold>(mergedSeedIPs(loaded.seedIPs()),
                                                      SonosHousehold::Configuration::standard(),
                                                      QString::fromStdString(dataFolder.string()), std::move(environment));
    // No presets at start: they come with the first snapshot that carries the household's own.
    return std::make_unique<OrvelStore>(loaded, std::move(files),
                                        std::make_shared<SonosHouseholdControl>(std::move(household)),
                                        std::move(spotify), std::vector<PresetPill>{}, clock);
}

}  // namespace orvel
