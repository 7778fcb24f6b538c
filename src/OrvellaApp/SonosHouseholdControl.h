#pragma once

// The household controller as the store's way to the speakers. Every call goes to the
// controller unchanged: the same command in, the same outcome or error out, with no state, no
// retry and no time-out of its own.

#include <memory>

#include "OrvelStore/SonosControl.h"
#include "SonosProtocolBoundary/SonosHousehold.h"

namespace orvel {

class SonosHouseholdControl final : public SonosControl {
public:
    explicit SonosHouseholdControl(std::unique_ptr<SonosHousehold> household) : household_(std::move(household)) {}

    SnapshotStream snapshots() override { return household_->snapshots(); }
    QCoro::Task<CommandResult> send(SonosCommand command) override { return household_->send(std::move(command)); }

    SonosHousehold& household() { return *household_; }

private:
    std::unique_ptr<SonosHousehold> household_;
};

}  // namespace orvel
