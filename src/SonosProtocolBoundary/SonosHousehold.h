#pragma once

// The household controller: the one object that owns the link to a household of speakers.
//
// It sweeps the speakers at a steady pace while anybody listens, assembles what it reads into
// household snapshots and hands each one that shows something new to every subscriber. It runs
// commands: grouping changes one at a time on a single topology lane, waiting until the speakers
// show the wanted grouping; household values (presets, system name) written to the speakers'
// system properties; everything else on a serial lane per speaker, strictly in arrival order.
// Sweeps pause while any command runs.
//
// Lives on the thread that creates it (the GUI thread) and does all its work on that thread's
// event loop. Creating it starts no traffic and cannot fail; the first subscriber starts the
// sweeps and the last one leaving stops them.
//
//   SonosHousehold household(seeds, SonosHousehold::Configuration::standard(), dataFolder);
//   auto stream = household.snapshots();
//   while (auto snapshot = co_await stream.next()) { ... }
//   auto outcome = co_await household.send(SonosCommand::ungroup(kitchen));

#include <cstddef>
#include <cstdint>
#include <expected>
#include <memory>
#include <string>
#include <vector>

#include <QCoroTask>
#include <QString>

#include "OrvelDomain/CommandOutcome.h"
#include "OrvelDomain/SonosCommand.h"
#include "OrvelDomain/SonosCommandError.h"
#include "SonosProtocolBoundary/SonosHouseholdConfiguration.h"
#include "SonosProtocolBoundary/SonosHouseholdSubscribers.h"
#include "Support/LifetimeGuard.h"

namespace orvel {

namespace household {
class Core;
}

class SonosHousehold {
public:
    using Configuration = SonosHouseholdConfiguration;
    using Environment = SonosHouseholdEnvironment;

    // `seedIPs` are tried first when looking for the household (strings that are not IPv4
    // addresses are ignored); the network debug log goes to `dataFolder`.
    SonosHousehold(std::vector<std::string> seedIPs, Configuration configuration, QString dataFolder,
                   Environment environment = {});
    ~SonosHousehold();
    SonosHousehold(const SonosHousehold&) = delete;
    SonosHousehold& operator=(const SonosHousehold&) = delete;

    // A new subscription to the household's snapshots, holding the latest one at once when
    // there is one. Later snapshots follow in publishing order; one that shows nothing new
    // compared with the last published is not sent. The stream ends only when its consumer
    // leaves (or the controller is destroyed).
    SnapshotStream snapshots();

    // Carries out the command and tells how it went. The controller must outlive the call's
    // start; the work itself keeps what it needs alive.
    QCoro::Task<std::expected<CommandOutcome, SonosCommandError>> send(SonosCommand command);

    const Configuration& configuration() const;
    // For tests and benchmarks: sweeps finished so far, whether the sweep loop runs, how many
    // subscribers there are, and whether a sweep or a command is under way right now.
    std::uint64_t completedSweeps() const;
    bool isSweeping() const;
    std::size_t subscriberCount() const;
    bool isBusy() const;

private:
    // Like the store and the bridge: the guard ends first thing in the destructor, which stops
    // the sweep loop (its sleeps wake at once) and the subscription callbacks. Commands in
    // flight keep the shared core, the clients and lanes they are using, until they finish.
    LifetimeGuard<SonosHousehold> lifetime_{this};
    std::shared_ptr<household::Core> core_;
};

}  // namespace orvel
