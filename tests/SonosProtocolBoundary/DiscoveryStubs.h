#pragma once

// Discovery seams that find nothing: no interfaces, no SSDP replies, no connectable hosts. Tests
// that must stay on their seeds use them, so no test ever reaches the machine's real network.

#include <QCoroTask>

#include <chrono>
#include <cstdint>
#include <vector>

#include "SonosProtocolBoundary/DiscoverySeams.h"

namespace orvel::testing {

class NoInterfaces final : public NetworkInterfaces {
public:
    std::vector<InterfaceAddress> ipv4Addresses() const override { return {}; }
};

class NoSSDP final : public SSDPSearcher {
public:
    int searches = 0;
    QCoro::Task<std::vector<SSDPReply>> search(QByteArray, std::chrono::milliseconds) override {
        ++searches;
        co_return {};
    }
};

class NoProbes final : public ConnectProber {
public:
    QCoro::Task<bool> canConnect(SpeakerAddress, std::uint16_t, std::chrono::milliseconds) override { co_return false; }
};

}  // namespace orvel::testing
