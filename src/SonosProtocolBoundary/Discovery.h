#pragma once

// Finds the household: the seed addresses first (the speakers known from the last run), then
// an SSDP search, then a connect sweep of each non-loopback IPv4 interface's /24. The first
// speaker that answers with the zone group state gives the whole household.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QByteArray>

#include <qcoro/qcorotask.h>

#include "SonosProtocolBoundary/DiscoverySeams.h"
#include "SonosProtocolBoundary/HttpClient.h"
#include "SonosProtocolBoundary/SOAPClient.h"
#include "SonosProtocolBoundary/SpeakerAddress.h"
#include "SonosProtocolBoundary/TopologyService.h"

namespace orvel {

// Asks one speaker for the zone group state; none when it does not answer sensibly.
class TopologySource {
public:
    virtual ~TopologySource() = default;
    virtual QCoro::Task<std::optional<ZoneGroupState>> zoneGroupState(SpeakerAddress speaker) = 0;
};

// Over SOAP, with the time-out of a sweep read.
class SOAPTopologySource final : public TopologySource {
public:
    explicit SOAPTopologySource(SOAPClient& client) : client_(client) {}
    QCoro::Task<std::optional<ZoneGroupState>> zoneGroupState(SpeakerAddress speaker) override;

private:
    SOAPClient& client_;
};

struct DiscoveryConfiguration {
    std::chrono::milliseconds ssdpWindow{1500};
    std::chrono::milliseconds probeTimeout{500};
    // Connect probes in flight at once during a sweep.
    int sweepConcurrency = 32;
    std::uint16_t port = SpeakerAddress::defaultPort;
};

struct DiscoveryResult {
    enum class Phase { seed, ssdp, sweep };
    Phase phase;
    SpeakerAddress answeredBy;
    ZoneGroupState state;
};

class Discovery {
public:
    // Every collaborator must outlive the discovery and its calls.
    Discovery(NetworkInterfaces& interfaces, SSDPSearcher& ssdp, ConnectProber& prober, TopologySource& topology,
              DiscoveryConfiguration configuration = {});

    // None when no phase reached a speaker. Seeds that are not IPv4 literals are skipped.
    QCoro::Task<std::optional<DiscoveryResult>> findHousehold(std::vector<std::string> seeds);

    // The M-SEARCH datagram for ZonePlayers.
    static QByteArray searchRequest();
    // The speaker an SSDP reply points at: the IP of its LOCATION header, accepted only when
    // the reply came from that same address (so a stray reply cannot send the sweep elsewhere).
    static std::optional<SpeakerAddress> addressFromSSDPReply(const SSDPReply& reply);
    // Every host of each non-loopback interface's /24 (or of its own smaller subnet), without
    // network and broadcast addresses and the machine's own, in interface order. Loopback is
    // never swept and nothing wider than a /24 is.
    static std::vector<SpeakerAddress> sweepTargets(const std::vector<InterfaceAddress>& interfaces);

    // The SSDP phase's candidates, in reply order without repeats.
    QCoro::Task<std::vector<SpeakerAddress>> ssdpCandidates();
    // The sweep phase's candidates: every target that accepted a connection, ascending.
    QCoro::Task<std::vector<SpeakerAddress>> sweepCandidates();

private:
    // What a phase found, and every address asked so far, so a later phase skips them.
    struct Attempt {
        std::optional<DiscoveryResult> found;
        std::vector<SpeakerAddress> tried;
    };
    QCoro::Task<Attempt> tryEach(std::vector<SpeakerAddress> candidates, DiscoveryResult::Phase phase,
                                 std::vector<SpeakerAddress> tried);

    NetworkInterfaces& interfaces_;
    SSDPSearcher& ssdp_;
    ConnectProber& prober_;
    TopologySource& topology_;
    DiscoveryConfiguration configuration_;
};

}  // namespace orvel
