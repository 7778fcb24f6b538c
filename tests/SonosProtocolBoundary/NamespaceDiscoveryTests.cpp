// Real SSDP and a real connect sweep, run only inside network namespaces this test creates:
//
//   host namespace     this test: starts the controller side with `unshare -n`, reports its result
//   controller side    a fresh namespace with veth0 (198.18.0.1/24); runs discovery for real
//   speaker side       a second fresh namespace holding veth1 (198.18.0.2/24); answers SSDP
//                      searches and the zone group state like a speaker
//
// The veth pair joins only the two private namespaces, so nothing leaves this machine. Where no
// namespace can be made (no root, no unshare), the test is skipped, never passed.
#include <gtest/gtest.h>

#include <iostream>

#include <QCoreApplication>
#include <QCoroTask>
#include <QNetworkInterface>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QUdpSocket>

#include "common/PrivateNetwork.h"
#include "SonosProtocolBoundary/Discovery.h"
#include "SonosProtocolBoundary/DiscoveryStubs.h"
#include "fakes/FakeSoap.h"

using namespace orvel;
using namespace orvel::testing;
using namespace std::chrono_literals;

namespace {

constexpr const char* roleVariable = "ORVELLA_NETNS_ROLE";
constexpr const char* testName = "NamespaceDiscovery.RealSSDPAndSweepFindTheSpeaker";
// Outside loopback on purpose: only ever configured on veth1 inside the speaker's own namespace.
constexpr const char* speakerIP = "198.18.0.2";
constexpr const char* speakerID = "RINCON_000E58A0000201400";
constexpr int boundMs = 20'000;

QByteArray role() { return qgetenv(roleVariable); }

bool ip(const QString& arguments) { return runsCleanly(QStringLiteral("ip"), arguments.split(QLatin1Char(' ')), boundMs); }

// The same test binary in a new network namespace, in the given role.
void startInNamespace(QProcess& process, const char* childRole) {
    startInPrivateNetwork(process, QString::fromLatin1(testName), roleVariable, childRole);
}

bool waitForLine(QProcess& process, const QByteArray& marker, QByteArray& seen) {
    return QTest::qWaitFor(
        [&] {
            seen += process.readAll();
            return seen.contains(marker) || process.state() == QProcess::NotRunning;
        },
        boundMs) &&
           seen.contains(marker);
}

void announce(const char* marker) { std::cout << marker << std::endl; }

std::string zoneGroupState() {
    return std::string("<ZoneGroupState><ZoneGroups><ZoneGroup Coordinator=\"") + speakerID + "\" ID=\"" + speakerID +
           ":1\"><ZoneGroupMember UUID=\"" + speakerID + "\" Location=\"http://" + speakerIP +
           ":1400/xml/device_description.xml\" ZoneName=\"Attic\"/></ZoneGroup></ZoneGroups></ZoneGroupState>";
}

// The speaker's side: waits for veth1, configures it, answers SSDP and SOAP until killed.
void actAsSpeaker() {
    ASSERT_TRUE(onlyLoopback()) << "refusing to act as a speaker outside a fresh namespace";
    announce("NAMESPACE");
    ASSERT_TRUE(QTest::qWaitFor([] { return QNetworkInterface::interfaceFromName("veth1").isValid(); }, boundMs));
    ASSERT_TRUE(ip(QStringLiteral("link set lo up")));
    ASSERT_TRUE(ip(QStringLiteral("addr add %1/24 dev veth1").arg(speakerIP)));
    ASSERT_TRUE(ip(QStringLiteral("link set veth1 up")));
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return QNetworkInterface::interfaceFromName("veth1").flags().testFlag(QNetworkInterface::IsRunning); }, boundMs));

    const QHostAddress self(QString::fromLatin1(speakerIP));
    QTcpServer http;
    ASSERT_TRUE(http.listen(self, 1400));
    const QByteArray reply = fakes::soapResponse(QStringLiteral("urn:schemas-upnp-org:service:ZoneGroupTopology:1"),
                                                 QStringLiteral("GetZoneGroupState"),
                                                 {{QStringLiteral("ZoneGroupState"), QString::fromStdString(zoneGroupState())}});
    QObject::connect(&http, &QTcpServer::newConnection, &http, [&http, reply] {
        while (QTcpSocket* socket = http.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, reply] {
                // Every request that ends its headers gets the one answer this speaker knows.
                if (!socket->readAll().contains("\r\n\r\n")) return;
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\nContent-Length: " +
                              QByteArray::number(reply.size()) + "\r\n\r\n" + reply);
                socket->disconnectFromHost();
            });
        }
    });

    QUdpSocket listener;
    ASSERT_TRUE(listener.bind(QHostAddress::AnyIPv4, 1900, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint));
    ASSERT_TRUE(listener.joinMulticastGroup(QHostAddress("239.255.255.250"), QNetworkInterface::interfaceFromName("veth1")));
    // Replies leave from the speaker's own address, as a speaker's do.
    QUdpSocket answerer;
    ASSERT_TRUE(answerer.bind(self, 0));
    QObject::connect(&listener, &QUdpSocket::readyRead, &listener, [&listener, &answerer] {
        while (listener.hasPendingDatagrams()) {
            QHostAddress sender;
            quint16 port = 0;
            QByteArray datagram(static_cast<qsizetype>(listener.pendingDatagramSize()), '\0');
            listener.readDatagram(datagram.data(), datagram.size(), &sender, &port);
            if (!datagram.startsWith("M-SEARCH") || !datagram.contains("ZonePlayer")) continue;
            answerer.writeDatagram(QByteArray("HTTP/1.1 200 OK\r\nCACHE-CONTROL: max-age = 1800\r\nEXT:\r\nLOCATION: http://") +
                                       speakerIP + ":1400/xml/device_description.xml\r\nST: urn:schemas-upnp-org:device:ZonePlayer:1\r\n\r\n",
                                   sender, port);
        }
    });
    announce("READY");
    // Serves until the controller side ends it; the bound only matters if that side dies.
    QTest::qWait(60'000);
}

// The controller's side: builds the veth pair, hands one end to a speaker namespace, and runs
// discovery with the real seams.
void actAsController() {
    ASSERT_TRUE(onlyLoopback()) << "refusing to discover outside a fresh namespace";
    ASSERT_TRUE(ip(QStringLiteral("link set lo up")));
    ASSERT_TRUE(ip(QStringLiteral("link add veth0 type veth peer name veth1")));

    QProcess speaker;
    startInNamespace(speaker, "speaker");
    QByteArray speakerOutput;
    ASSERT_TRUE(waitForLine(speaker, "NAMESPACE", speakerOutput)) << speakerOutput.toStdString();
    ASSERT_TRUE(ip(QStringLiteral("link set veth1 netns %1").arg(speaker.processId())));
    // The controller's end of the private veth pair, inside this test's own namespace.
    ASSERT_TRUE(ip(QStringLiteral("addr add 198.18.0.1/24 dev veth0")));
    ASSERT_TRUE(ip(QStringLiteral("link set veth0 up")));
    ASSERT_TRUE(ip(QStringLiteral("route add 224.0.0.0/4 dev veth0")));
    ASSERT_TRUE(waitForLine(speaker, "READY", speakerOutput)) << speakerOutput.toStdString();
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return QNetworkInterface::interfaceFromName("veth0").flags().testFlag(QNetworkInterface::IsRunning); }, boundMs));

    SystemNetworkInterfaces interfaces;
    const auto addresses = interfaces.ipv4Addresses();  // veth0's address, in this namespace only
    EXPECT_NE(std::find(addresses.begin(), addresses.end(), InterfaceAddress{SpeakerAddress::make("198.18.0.1")->toIPv4(), 24, false}),
              addresses.end());

    UdpSSDPSearcher ssdp;
    TcpConnectProber prober;
    NoSSDP noSSDP;
    HttpClient http;
    SOAPClient client(http);
    SOAPTopologySource topology(client);
    // Generous windows: a loaded machine must not turn a slow answer into a miss.
    const DiscoveryConfiguration configuration{3000ms, 1000ms, 64, 1400};
    const auto expected = *SpeakerAddress::make(speakerIP);

    Discovery discovery(interfaces, ssdp, prober, topology, configuration);
    auto bySSDP = QCoro::waitFor(discovery.findHousehold({}));
    ASSERT_TRUE(bySSDP);
    EXPECT_EQ(bySSDP->phase, DiscoveryResult::Phase::ssdp);
    EXPECT_EQ(bySSDP->answeredBy, expected);
    EXPECT_EQ(bySSDP->state.rooms().size(), 1u);

    Discovery sweepOnly(interfaces, noSSDP, prober, topology, configuration);
    auto bySweep = QCoro::waitFor(sweepOnly.findHousehold({}));
    ASSERT_TRUE(bySweep);
    EXPECT_EQ(bySweep->phase, DiscoveryResult::Phase::sweep);
    EXPECT_EQ(bySweep->answeredBy, expected);

    speaker.kill();
    speaker.waitForFinished(boundMs);
}

}  // namespace

TEST(NamespaceDiscovery, RealSSDPAndSweepFindTheSpeaker) {
    if (role() == "speaker") return actAsSpeaker();
    if (role() == "controller") return actAsController();

    // Making a veth pair inside a namespace needs everything the test does.
    if (!runsCleanly(QStringLiteral("unshare"), QStringLiteral("-n ip link add veth0 type veth peer name veth1").split(' '), boundMs)) {
        GTEST_SKIP() << "no network namespace with a veth pair can be made here (needs root, unshare and ip)";
    }
    QProcess controller;
    startInNamespace(controller, "controller");
    ASSERT_TRUE(controller.waitForFinished(90'000));
    const QByteArray output = controller.readAll();
    EXPECT_EQ(controller.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test.")) << output.toStdString();
}
