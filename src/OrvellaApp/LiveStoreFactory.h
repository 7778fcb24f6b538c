#pragma once

// The application's store, built around the concrete household controller and Spotify bridge.
// Kept out of the store module so that the store knows the network side only through its two
// ports.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "OrvelStore/OrvelStore.h"
#include "OrvelStore/SpotifySource.h"

namespace orvel {

class SpotifyBridge;
struct SonosHouseholdEnvironment;

struct LiveStoreFactory {
    LiveStoreFactory() = delete;

    // The application's store: its files in the user's data folder, the household controller
    // (2 s sweeps, 60 s telemetry, offline after 10 s, 8 s convergence) seeded with the cached
    // speakers' addresses, and the bridge as its Spotify source. Writes nothing and starts no
    // network traffic: the sweeps begin when the run loop subscribes.
    static std::unique_ptr<OrvelStore> live(SpotifyBridge& spotify);
    // The same on a given folder and household surroundings; their clock (or the system's) is
    // also the store's and must outlive it.
    static std::unique_ptr<OrvelStore> live(std::shared_ptr<SpotifySource> spotify,
                                            const std::filesystem::path& dataFolder,
                                            SonosHouseholdEnvironment environment);
    // "<generic data location>/Orvella".
    static std::filesystem::path defaultDataFolder();
    // The addresses in their first-seen order, each once; texts that are not a speaker's IPv4
    // address are dropped.
    static std::vector<std::string> mergedSeedIPs(const std::vector<std::string>& cached);
};

}  // namespace orvel
