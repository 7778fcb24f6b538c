#include "SonosHousehold.h"

#include "SonosProtocolBoundary/SonosHouseholdCore.h"

namespace orvel {

SonosHousehold::SonosHousehold(std::vector<std::string> seedIPs, Configuration configuration, QString dataFolder,
                               Environment environment)
    : core_(std::make_shared<household::Core>(std::move(seedIPs), configuration, std::move(dataFolder),
                                              std::move(environment))) {
    core_->ownerEnded = lifetime_.ended();
    core_->subscribers.onFirstArrived([self = lifetime_.token()] {
        if (self) self->core_->startSweeping(self->core_);
    });
    core_->subscribers.onLastLeft([self = lifetime_.token()] {
        if (self) self->core_->stopSweeping();
    });

    std::string seeds;
    for (const auto& seed : core_->seeds) seeds += (seeds.empty() ? "" : ", ") + seed.text();
    core_->log.write("Household controller created with " + std::to_string(core_->seeds.size()) + " seed address" +
                     (core_->seeds.size() == 1 ? "" : "es") + (seeds.empty() ? "" : ": " + seeds));
}

SonosHousehold::~SonosHousehold() {
    // Work still in flight keeps the core alive; it starts nothing new, and the sweep loop,
    // stopped by the end of the guard, wakes and ends.
    lifetime_.end();
    core_->stopSweeping();
}

SnapshotStream SonosHousehold::snapshots() { return core_->subscribers.subscribe(core_->latest); }

QCoro::Task<std::expected<CommandOutcome, SonosCommandError>> SonosHousehold::send(SonosCommand command) {
    return household::send(core_, std::move(command));
}

const SonosHousehold::Configuration& SonosHousehold::configuration() const { return core_->configuration; }

std::uint64_t SonosHousehold::completedSweeps() const { return core_->completedSweeps; }

bool SonosHousehold::isSweeping() const { return core_->loopStop.has_value(); }

std::size_t SonosHousehold::subscriberCount() const { return core_->subscribers.count(); }

bool SonosHousehold::isBusy() const { return core_->sweepsUnderWay > 0 || core_->commandDepth > 0; }

}  // namespace orvel
