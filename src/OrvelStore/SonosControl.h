#pragma once

// The store's one way to the speakers: the household's snapshots and its commands. The store
// never learns what stands behind it; the live store plugs in the household controller, tests a
// scripted fake.

#include <QCoroTask>

#include <expected>

#include "OrvelDomain/CommandOutcome.h"
#include "OrvelDomain/HouseholdSnapshot.h"
#include "OrvelDomain/SonosCommand.h"
#include "OrvelDomain/SonosCommandError.h"
#include "Support/AsyncChannel.h"

namespace orvel {

class SonosControl {
public:
    using CommandResult = std::expected<CommandOutcome, SonosCommandError>;
    using SnapshotStream = AsyncChannel<HouseholdSnapshot>::Receiver;

    virtual ~SonosControl() = default;

    // A new subscription, callable from the GUI thread without waiting. It delivers the latest
    // snapshot soon after it starts and then every published one, in order, and ends only when
    // the producer finishes it; leaving it (destroying the receiver) ends the subscription.
    virtual SnapshotStream snapshots() = 0;

    // Runs one command. Several may be outstanding at once; their order on the speakers is the
    // implementation's business.
    virtual QCoro::Task<CommandResult> send(SonosCommand command) = 0;
};

}  // namespace orvel
