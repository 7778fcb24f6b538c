// The fake refuses what a speaker refuses, carries out grouping only after its delay, and binds
// nothing outside loopback. Its happy paths run in every household test of the suites.
// Address blocks 1-9 and 250.
#include <QTest>

#include <gtest/gtest.h>

#include "TestHousehold.h"

namespace orvel::fakes {
namespace {

using namespace std::chrono_literals;
using namespace testing;

TEST(FakeHouseholdConformance, requestsThatDoNotMatchTheActionAreRefusedWithTheirFault) {
    auto household = makeHousehold(1, 1);
    ASSERT_TRUE(household->start());
    const QString id = household->speakerId(0);
    const QString avTransport = QStringLiteral("urn:schemas-upnp-org:service:AVTransport:1");
    const QByteArray playHeader = "\"urn:schemas-upnp-org:service:AVTransport:1#Play\"";
    const QByteArray play = soapEnvelope(avTransport, "Play", {{"InstanceID", "0"}, {"Speed", "1"}});
    struct Case {
        const char* name;
        QByteArray soapAction;
        QByteArray body;
        int fault;
    };
    const QList<Case> cases = {
        {"well formed", playHeader, play, 0},
        {"header without quotes", "urn:schemas-upnp-org:service:AVTransport:1#Play", play, 0},
        {"no header", "", play, upnp::invalidAction},
        {"header names another action", "\"urn:schemas-upnp-org:service:AVTransport:1#Pause\"", play, upnp::invalidAction},
        {"unknown action", "\"urn:schemas-upnp-org:service:AVTransport:1#Dance\"", soapEnvelope(avTransport, "Dance", {}),
         upnp::invalidAction},
        {"arguments out of order", playHeader, soapEnvelope(avTransport, "Play", {{"Speed", "1"}, {"InstanceID", "0"}}),
         upnp::invalidArgs},
        {"argument missing", playHeader, soapEnvelope(avTransport, "Play", {{"InstanceID", "0"}}), upnp::invalidArgs},
        {"another instance", playHeader, soapEnvelope(avTransport, "Play", {{"InstanceID", "1"}, {"Speed", "1"}}),
         upnp::invalidInstanceId},
        {"with a DTD", playHeader, "<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY a \"b\">]>" + play.mid(play.indexOf("<s:Envelope")),
         upnp::invalidArgs},
    };
    household->model().setQueue(id, testTracks(1));
    for (const Case& c : cases) {
        FetchOptions options;
        options.method = "POST";
        options.body = c.body;
        options.headers = {{"Content-Type", "text/xml; charset=\"utf-8\""}};
        if (!c.soapAction.isEmpty()) options.headers.append({"SOAPACTION", c.soapAction});
        const FetchResult result = fetch(household->baseUrl(id).resolved(QUrl("/MediaRenderer/AVTransport/Control")), options);
        ASSERT_TRUE(result.finished) << c.name;
        EXPECT_EQ(result.status, c.fault ? 500 : 200) << c.name;
        if (c.fault) {
            EXPECT_TRUE(result.body.contains("<errorCode>" + QByteArray::number(c.fault) + "</errorCode>"))
                << c.name << ": " << result.body.toStdString();
        }
    }
}

TEST(FakeHouseholdConformance, groupMembersAndSatellitesRefuseWhatOnlyACoordinatorDoes) {
    auto household = makeHousehold(2, 3);
    const QStringList ids = household->speakerIds();
    FakeHouseholdModel& model = household->model();
    model.setQueue(ids[0], testTracks(2));
    model.editPlayback(ids[0]).currentUri = queueUriOf(ids[0]);
    model.setGroup({ids[0], ids[1]});
    model.bond(ids[0], ids[2], SatelliteRole::Subwoofer);
    ASSERT_TRUE(household->start());
    const QList<std::pair<QString, SoapValues>> steps = {
        {"AVTransport#Play", {{"InstanceID", "0"}, {"Speed", "1"}}},
        {"AVTransport#Seek", {{"InstanceID", "0"}, {"Unit", "TRACK_NR"}, {"Target", "1"}}},
        {"GroupRenderingControl#SetGroupVolume", {{"InstanceID", "0"}, {"DesiredVolume", "10"}}},
        {"AVTransport#DelegateGroupCoordinationTo", {{"InstanceID", "0"}, {"NewCoordinator", ids[0]}, {"RejoinGroup", "1"}}},
    };
    for (const QString& notCoordinator : {ids[1], ids[2]})
        for (const auto& [action, arguments] : steps)
            EXPECT_EQ(callAction(*household, notCoordinator, action, arguments).faultCode, upnp::transitionNotAvailable)
                << action.toStdString();
    EXPECT_EQ(callAction(*household, ids[2], "AVTransport#BecomeCoordinatorOfStandaloneGroup", kInstance).faultCode,
              upnp::transitionNotAvailable);
    EXPECT_EQ(model.playback(ids[0]).transportState, QStringLiteral("STOPPED"));
}

TEST(FakeHouseholdConformance, groupingWaitsForTheDelayWhileTheCommandIsAnsweredAtOnce) {
    auto household = makeHousehold(3, 3);
    const QStringList ids = household->speakerIds();
    household->setGroupingDelay(1h);
    ASSERT_TRUE(household->start());

    const SoapValues joinArgs{{"InstanceID", "0"}, {"CurrentURI", "x-rincon:" + ids[0]}, {"CurrentURIMetaData", ""}};
    ASSERT_TRUE(callAction(*household, ids[1], "AVTransport#SetAVTransportURI", joinArgs).ok());
    ASSERT_TRUE(callAction(*household, ids[2], "AVTransport#SetAVTransportURI", joinArgs).ok());
    EXPECT_EQ(household->pendingGroupingCount(), 2);
    EXPECT_EQ(household->model().groups().size(), 3);

    household->applyPendingGrouping();
    EXPECT_EQ(household->pendingGroupingCount(), 0);
    EXPECT_EQ(household->model().groups().size(), 1);

    // A short delay runs out on its own, in order: join, then leave, leaves both alone.
    household->setGroupingDelay(30ms);
    ASSERT_TRUE(callAction(*household, ids[1], "AVTransport#BecomeCoordinatorOfStandaloneGroup", kInstance).ok());
    ASSERT_TRUE(callAction(*household, ids[1], "AVTransport#SetAVTransportURI", joinArgs).ok());
    ASSERT_TRUE(callAction(*household, ids[1], "AVTransport#BecomeCoordinatorOfStandaloneGroup", kInstance).ok());
    ASSERT_TRUE(QTest::qWaitFor([&] { return household->pendingGroupingCount() == 0; }, int(kWaitBound.count())));
    EXPECT_EQ(household->model().groups().size(), 2);
}

TEST(FakeHouseholdConformance, serversBindOneLoopbackAddressOnly) {
    // The outside address is refused before anything binds: nothing is ever sent to it.
    for (const char* address : {"0.0.0.0", "203.0.113.1", "::1", "::"}) {
        FakeHttpServer server;
        EXPECT_FALSE(server.listen(QHostAddress(QString::fromLatin1(address)))) << address;
        EXPECT_FALSE(server.isListening()) << address;
    }
    FakeHttpServer server;
    ASSERT_TRUE(server.listen(QHostAddress(QStringLiteral("127.201.250.9"))));
    FakeHttpServer second;
    EXPECT_FALSE(second.listen(QHostAddress(QStringLiteral("127.201.250.9")), server.port()));
}

} // namespace
} // namespace orvel::fakes
