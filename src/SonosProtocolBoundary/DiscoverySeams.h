#pragma once

// What discovery needs from the machine, as interfaces: the IPv4 addresses of its network
// interfaces, one SSDP search, and one TCP connect probe. Unit tests fill them with fakes, so no
// test ever reads the real interfaces or sends multicast; the system implementations below are
// used by the application and by tests that run inside a network namespace of their own.

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include <QByteArray>

#include <qcoro/qcorotask.h>

#include "SonosProtocolBoundary/SpeakerAddress.h"
#include "Support/Clock.h"

namespace orvel {

struct InterfaceAddress {
    std::uint32_t ip = 0;
    int prefixLength = 0;
    bool isLoopback = false;

    friend bool operator==(const InterfaceAddress&, const InterfaceAddress&) = default;
};

struct SSDPReply {
    QByteArray datagram;
    // The IPv4 address the reply came from.
    std::uint32_t sender = 0;

    friend bool operator==(const SSDPReply&, const SSDPReply&) = default;
};

class NetworkInterfaces {
public:
    virtual ~NetworkInterfaces() = default;
    // The IPv4 addresses of the interfaces that are up.
    virtual std::vector<InterfaceAddress> ipv4Addresses() const = 0;
};

class SSDPSearcher {
public:
    virtual ~SSDPSearcher() = default;
    // Sends `request` to the SSDP multicast group and collects the unicast replies that arrive
    // within `window`.
    virtual QCoro::Task<std::vector<SSDPReply>> search(QByteArray request, std::chrono::milliseconds window) = 0;
};

class ConnectProber {
public:
    virtual ~ConnectProber() = default;
    // Whether a TCP connection to the address and port opens within `timeout`. The connection
    // is closed again at once.
    virtual QCoro::Task<bool> canConnect(SpeakerAddress address, std::uint16_t port, std::chrono::milliseconds timeout) = 0;
};

// QNetworkInterface.
class SystemNetworkInterfaces final : public NetworkInterfaces {
public:
    std::vector<InterfaceAddress> ipv4Addresses() const override;
};

// A QUdpSocket that sends the search on every multicast-capable interface that is up, and
// listens for the window on `clock` (which must outlive it).
class UdpSSDPSearcher final : public SSDPSearcher {
public:
    explicit UdpSSDPSearcher(Clock& clock = Clock::system()) : clock_(clock) {}
    QCoro::Task<std::vector<SSDPReply>> search(QByteArray request, std::chrono::milliseconds window) override;

private:
    Clock& clock_;
};

// A QTcpSocket connect.
class TcpConnectProber final : public ConnectProber {
public:
    QCoro::Task<bool> canConnect(SpeakerAddress address, std::uint16_t port, std::chrono::milliseconds timeout) override;
};

}  // namespace orvel
