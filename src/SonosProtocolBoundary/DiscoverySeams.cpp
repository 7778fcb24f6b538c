#include "DiscoverySeams.h"

#include <memory>

#include <QNetworkInterface>
#include <QTcpSocket>
#include <QUdpSocket>

#include <qcoro/qcoroabstractsocket.h>

#include "Support/Sleep.h"

namespace orvel {

namespace {

const QHostAddress ssdpGroup(QStringLiteral("239.255.255.250"));
constexpr quint16 ssdpPort = 1900;

bool isUsable(const QNetworkInterface& interface) {
    const auto flags = interface.flags();
    return flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning);
}

}  // namespace

std::vector<InterfaceAddress> SystemNetworkInterfaces::ipv4Addresses() const {
    std::vector<InterfaceAddress> out;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        if (!isUsable(interface)) continue;
        const bool loopback = interface.flags().testFlag(QNetworkInterface::IsLoopBack);
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol) continue;
            out.push_back({entry.ip().toIPv4Address(), entry.prefixLength(), loopback || entry.ip().isLoopback()});
        }
    }
    return out;
}

QCoro::Task<std::vector<SSDPReply>> UdpSSDPSearcher::search(QByteArray request, std::chrono::milliseconds window) {
    auto replies = std::make_shared<std::vector<SSDPReply>>();
    QUdpSocket socket;
    if (!socket.bind(QHostAddress::AnyIPv4, 0)) co_return {};
    QObject::connect(&socket, &QUdpSocket::readyRead, &socket, [socket = &socket, replies] {
        while (socket->hasPendingDatagrams()) {
            QHostAddress sender;
            QByteArray datagram(static_cast<qsizetype>(std::max<qint64>(socket->pendingDatagramSize(), 0)), '\0');
            const qint64 read = socket->readDatagram(datagram.data(), datagram.size(), &sender);
            if (read < 0) break;
            datagram.truncate(static_cast<qsizetype>(read));
            bool isIPv4 = false;
            const quint32 ip = sender.toIPv4Address(&isIPv4);
            // A search draws a few dozen replies at most; a flood is cut off.
            if (isIPv4 && replies->size() < 1024) replies->push_back({std::move(datagram), ip});
        }
    });

    bool sent = false;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!isUsable(interface) || flags.testFlag(QNetworkInterface::IsLoopBack) ||
            !flags.testFlag(QNetworkInterface::CanMulticast)) {
            continue;
        }
        socket.setMulticastInterface(interface);
        sent = socket.writeDatagram(request, ssdpGroup, ssdpPort) >= 0 || sent;
    }
    if (!sent) co_return {};

    auto sleepForTask = sleepFor(clock_, window);
    co_await std::move(sleepForTask);
    co_return std::move(*replies);
}

QCoro::Task<bool> TcpConnectProber::canConnect(SpeakerAddress address, std::uint16_t port,
                                               std::chrono::milliseconds timeout) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress(address.toIPv4()), port);
    // The wrapper is named too: the task it starts refers to it until it ends.
    auto awaitableSocket = qCoro(socket);
    auto connecting = awaitableSocket.waitForConnected(timeout);
    const bool connected = co_await std::move(connecting);
    socket.abort();
    co_return connected;
}

}  // namespace orvel
