// What a live store needs to find fake speakers on loopback without discovery: their addresses
// in the cached speakers file, and a household environment whose discovery finds nothing.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include <QString>

#include "OrvelStore/CachedSpeakersFile.h"
#include "OrvelStore/FakePorts.h"
#include "OrvelStore/FileSlot.h"
#include "OrvelStore/OrvelFiles.h"
#include "OrvellaApp/DataFolder.h"
#include "OrvellaApp/SonosHouseholdControl.h"
#include "SonosProtocolBoundary/DiscoveryStubs.h"
#include "SonosProtocolBoundary/SonosHousehold.h"
#include "common/WaitFor.h"
#include "fakes/FakeHousehold.h"

namespace orvel::testing {

inline ::testing::AssertionResult seedCachedSpeakers(const std::filesystem::path& folder, std::vector<Speaker> speakers) {
    const auto saved = waitForTask(OrvelFiles(folder).saveAsync(CachedSpeakersFile{std::move(speakers), {}, std::nullopt},
                                                                fileSlot::cachedSpeakers()));
    if (!saved || !*saved) return ::testing::AssertionFailure() << "could not write the cached speakers";
    return ::testing::AssertionSuccess();
}

// Every speaker of a fake household as a previous run would have cached it: online at its
// loopback address.
inline std::vector<Speaker> cachedSpeakersOf(const fakes::FakeHousehold& fake) {
    std::vector<Speaker> cached;
    for (const QString& id : fake.speakerIds()) {
        const auto& speaker = fake.model().speaker(id);
        cached.push_back(Speaker{*SpeakerUUID::make(id.toStdString()), speaker.roomName.toStdString(), SpeakerModel::one(),
                                 ReachabilityState::online(speaker.address.toString().toStdString()),
                                 DiscreteVolume::snappingPercent(20), {}});
    }
    return cached;
}

// The data folder a previous run against these speakers would have left.
inline ::testing::AssertionResult seedDataFolder(const QString& folder, const fakes::FakeHousehold& fake) {
    if (!DataFolder::ensurePrivate(folder)) return ::testing::AssertionFailure() << "no data folder " << folder.toStdString();
    return seedCachedSpeakers(folder.toStdString(), cachedSpeakersOf(fake));
}

inline SonosHousehold::Environment withoutDiscovery(Clock& clock) {
    SonosHousehold::Environment environment;
    environment.clock = &clock;
    environment.interfaces = std::make_shared<NoInterfaces>();
    environment.ssdp = std::make_shared<NoSSDP>();
    environment.prober = std::make_shared<NoProbes>();
    return environment;
}

// The household controller inside a live store, to wait until its requests are over before the
// fake speakers go.
inline SonosHousehold& liveHousehold(OrvelStore& store) {
    return static_cast<SonosHouseholdControl&>(*OrvelStorePeer::sonos(store)).household();
}

}  // namespace orvel::testing
