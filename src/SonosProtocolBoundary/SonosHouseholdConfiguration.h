#pragma once

// The household controller's timings, and what it takes from its surroundings: a clock, the
// discovery seams and the transport limits. The application passes the standard timings and
// the default environment; tests pass a manual clock, seams that find nothing, and short limits.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "SonosProtocolBoundary/Discovery.h"
#include "SonosProtocolBoundary/DiscoverySeams.h"
#include "SonosProtocolBoundary/HttpClient.h"
#include "SonosProtocolBoundary/SpeakerAddress.h"

namespace orvel {

class Clock;

struct SonosHouseholdConfiguration {
    // Pace of the sweeps while no command runs.
    std::chrono::milliseconds sweepInterval{2'000};
    // Battery and radio pages are read at most this often (sooner when the rooms change).
    std::chrono::milliseconds telemetryInterval{60'000};
    // A speaker that stops answering is reported offline after this long, and a household that
    // gives no topology for this long is reported empty.
    std::chrono::milliseconds offlineAfter{10'000};
    // How long a grouping command waits for the speakers to show the wanted grouping.
    std::chrono::milliseconds convergenceTimeout{8'000};

    // 2 s, 60 s, 10 s and 8 s: the application's timings.
    static SonosHouseholdConfiguration standard() { return {}; }

    friend bool operator==(const SonosHouseholdConfiguration&, const SonosHouseholdConfiguration&) = default;
};

struct SonosHouseholdEnvironment {
    // Null: the system clock. A given clock must outlive the controller and its work.
    Clock* clock = nullptr;
    // Null: the machine's own interfaces, multicast search and connect probes. Tests always
    // give their own, so no test reaches beyond loopback.
    std::shared_ptr<NetworkInterfaces> interfaces;
    std::shared_ptr<SSDPSearcher> ssdp;
    std::shared_ptr<ConnectProber> prober;
    DiscoveryConfiguration discovery;

    std::uint16_t port = SpeakerAddress::defaultPort;
    HttpLimits sweepReadLimits = HttpLimits::sweepRead();
    // Reads of a speaker that its last sweep did not reach: short enough that a speaker that
    // hangs costs a sweep less than its pace.
    HttpLimits silentSpeakerReadLimits = {std::chrono::milliseconds(1000), std::chrono::milliseconds(1000)};
    HttpLimits commandLimits = HttpLimits::command();
    // The sweep loop's pace while a command is in flight, which is also how often a grouping
    // command re-reads the topology while it waits.
    std::chrono::milliseconds busyPace{200};
    // Queue entries after the current one read for a group that plays its queue.
    int upNextLength = 20;
    // Named in every line of the network debug log.
    std::string bundleIdentifier = "orvella";
};

}  // namespace orvel
