#pragma once

// Turns a stream of volume requests (a dragged slider) into a short, ordered series of sends.
// Each target (a speaker, or a group's group volume) has at most one worker: the first send
// leaves 75 ms after the worker starts, each later one 75 ms after the previous send returned,
// and requests made meanwhile collapse into the latest value. So at most one send per target is
// in flight and no send carries a stale value; targets never wait for each other.
//
// The requested value shows at once as an optimistic volume held for 2.0 s from each request;
// after each send it is held for 1.5 s more with the value sent, also when the send failed, so
// the slider does not jump back while the speakers catch up; a send overtaken by a newer request
// leaves that request's value showing. A send that fails or reaches only
// some speakers leaves an alert. Nothing is retried.
//
// All of it runs on the event loop's thread, on the injected clock.

#include <QCoroTask>

#include <chrono>
#include <expected>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "OrvelAlert.h"
#include "OrvelDomain/CommandOutcome.h"
#include "OrvelDomain/DiscreteVolume.h"
#include "OrvelDomain/SonosCommand.h"
#include "OrvelDomain/SonosCommandError.h"
#include "OrvelDomain/VolumeTarget.h"
#include "Support/CancellationToken.h"
#include "Support/Clock.h"

namespace orvel {

class VolumeCoalescer {
public:
    using Result = std::expected<CommandOutcome, SonosCommandError>;

    static constexpr std::chrono::milliseconds firstSendDelay{75};
    static constexpr std::chrono::milliseconds delayBetweenSends{75};
    static constexpr double requestHoldSeconds = 2.0;
    static constexpr double sentHoldSeconds = 1.5;

    // What the coalescer needs from its owner.
    class Host {
    public:
        virtual ~Host() = default;
        // Sends one value to the speakers; never throws.
        virtual QCoro::Task<Result> sendVolume(SonosCommand command) = 0;
        // Shows `volume` for the target until `seconds` from now.
        virtual void holdVolume(DiscreteVolume volume, const VolumeTarget& target, double seconds) = 0;
        virtual void report(OrvelAlert alert) = 0;
    };

    // The host must outlive the coalescer; the clock must outlive every worker.
    VolumeCoalescer(Clock& clock, Host& host);
    // Workers still running stop at their next step and never reach the host again.
    ~VolumeCoalescer();
    VolumeCoalescer(const VolumeCoalescer&) = delete;
    VolumeCoalescer& operator=(const VolumeCoalescer&) = delete;

    // Holds the value for 2.0 s and makes it the target's next send, starting the target's
    // worker unless one runs. The target is taken by value: holding the value changes the
    // state, where a caller's target may live.
    void request(DiscreteVolume volume, VolumeTarget target);

    bool isWorking(const VolumeTarget& target) const;
    // The latest value requested and not sent yet.
    std::optional<DiscreteVolume> pendingVolume(const VolumeTarget& target) const;

    // The alert a send's result leaves: a failure, or speakers left out; none for a success.
    static std::optional<OrvelAlert> alertAfter(const SonosCommand& command, const Result& result);

private:
    struct Shared {
        Clock* clock;
        Host* host;  // null once the coalescer is gone
        std::map<VolumeTarget, DiscreteVolume> pending;
        std::set<VolumeTarget> working;
    };

    static QCoro::Task<> work(std::shared_ptr<Shared> shared, VolumeTarget target, CancellationToken stop);

    std::shared_ptr<Shared> shared_;
    // Destroyed after the host pointer is cleared: wakes sleeping workers so that they end.
    CancellationSource stop_;
};

}  // namespace orvel
