// Address blocks 60-99.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QStringDecoder>

#include <gtest/gtest.h>

#include "TestHousehold.h"

namespace orvel::fakes {
namespace {

using namespace std::chrono_literals;
using namespace testing;

// --- pages ---

TEST(FakeHouseholdPages, statusPagesReportTheRadioReadingsAndAccountsSet) {
    auto household = makeHousehold(61, 4);
    const QStringList ids = household->speakerIds();
    FakeHouseholdModel& model = household->model();
    model.editSpeaker(ids[1]).radio = {{ids[0], 41}, {ids[2], 17}};
    model.editSpeaker(ids[1]).noiseFloor = -92;
    model.setAccounts({FakeAccount{"2311", "1", true, "old"}, FakeAccount{"3079", "4", false, "me"}});
    ASSERT_TRUE(household->start());

    const QString radio = QString::fromUtf8(getPage(*household, ids[1], "/status/proc/ath_rincon/status").body);
    const auto lineWith = [&](const QString& text) {
        for (const QString& line : radio.split('\n'))
            if (line.contains(text)) return line;
        return QString();
    };
    EXPECT_TRUE(lineWith(model.speaker(ids[0]).macAddress).contains("rssi 41")) << radio.toStdString();
    EXPECT_TRUE(lineWith(model.speaker(ids[2]).macAddress).contains("rssi 17")) << radio.toStdString();
    EXPECT_TRUE(lineWith(model.speaker(ids[3]).macAddress).isEmpty());
    EXPECT_TRUE(radio.contains("-92"));

    const QList<XmlElement> accounts = parseElements(QString::fromUtf8(getPage(*household, ids[0], "/status/accounts").body));
    ASSERT_EQ(accounts.value(0).name, QStringLiteral("Accounts"));
    const QList<XmlElement> entries = elementsNamed(accounts, "Account");
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].attribute("Deleted"), QStringLiteral("1"));
    EXPECT_EQ(entries[1].attribute("Type"), QStringLiteral("3079"));
    EXPECT_EQ(entries[1].attribute("SerialNum"), QStringLiteral("4"));
}

TEST(FakeHouseholdPages, otherPathsAndMethodsAreRefused) {
    auto household = makeHousehold(62, 1);
    ASSERT_TRUE(household->start());
    const QString id = household->speakerId(0);
    EXPECT_TRUE(getPage(*household, id, "/xml/device_description.xml").header("Content-Type").startsWith("text/xml"));
    EXPECT_EQ(getPage(*household, id, "/status/unknown").status, 404);
    EXPECT_EQ(getPage(*household, id, "/getaa?s=1&u=x").header("Content-Type"), "image/png");
    FetchOptions post;
    post.method = "POST";
    EXPECT_EQ(fetch(household->baseUrl(id).resolved(QUrl("/status/accounts")), post).status, 405);
    FetchOptions get;
    EXPECT_EQ(fetch(household->baseUrl(id).resolved(QUrl("/MediaRenderer/AVTransport/Control")), get).status, 405);
}

// --- control request checks ---

TEST(FakeHouseholdControl, requestsThatDoNotMatchTheActionAreRefusedWithTheirFault) {
    auto household = makeHousehold(63, 1);
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
        {"action of another service", "\"urn:schemas-upnp-org:service:RenderingControl:1#GetVolume\"",
         soapEnvelope("urn:schemas-upnp-org:service:RenderingControl:1", "GetVolume", {{"InstanceID", "0"}, {"Channel", "Master"}}),
         upnp::invalidAction},
        {"unknown action", "\"urn:schemas-upnp-org:service:AVTransport:1#Dance\"", soapEnvelope(avTransport, "Dance", {}),
         upnp::invalidAction},
        {"arguments out of order", playHeader, soapEnvelope(avTransport, "Play", {{"Speed", "1"}, {"InstanceID", "0"}}),
         upnp::invalidArgs},
        {"argument missing", playHeader, soapEnvelope(avTransport, "Play", {{"InstanceID", "0"}}), upnp::invalidArgs},
        {"argument extra", playHeader, soapEnvelope(avTransport, "Play", {{"InstanceID", "0"}, {"Speed", "1"}, {"X", "1"}}),
         upnp::invalidArgs},
        {"another instance", playHeader, soapEnvelope(avTransport, "Play", {{"InstanceID", "1"}, {"Speed", "1"}}),
         upnp::invalidInstanceId},
        {"not xml", playHeader, "Play please", upnp::invalidArgs},
        {"with a DTD", playHeader, "<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY a \"b\">]>" + play.mid(play.indexOf("<s:Envelope")),
         upnp::invalidArgs},
        {"not an envelope", playHeader, "<Envelope><Body><u:Play xmlns:u=\"urn:schemas-upnp-org:service:AVTransport:1\"/></Body></Envelope>",
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
            const QList<XmlElement> fault = parseElements(QString::fromUtf8(result.body));
            EXPECT_EQ(elementsNamed(fault, "faultcode").value(0).text, QStringLiteral("s:Client")) << c.name;
            EXPECT_EQ(elementsNamed(fault, "faultstring").value(0).text, QStringLiteral("UPnPError")) << c.name;
            EXPECT_EQ(elementsNamed(fault, "errorCode").value(0).text, QString::number(c.fault)) << c.name;
        }
    }
    EXPECT_EQ(household->requests().size(), cases.size());
}

// --- reachability ---

TEST(FakeHouseholdSwitches, anUnreachableSpeakerRefusesStaysSilentOrDropsWhileTheOthersAnswer) {
    auto household = makeHousehold(64, 2);
    ASSERT_TRUE(household->start());
    const QStringList ids = household->speakerIds();
    FetchOptions quick;
    quick.transferTimeout = 300ms;
    const auto read = [&](const QString& id) { return fetch(household->baseUrl(id).resolved(QUrl("/status/accounts")), quick); };

    household->setReachability(ids[0], Reachability::Refused);
    EXPECT_EQ(read(ids[0]).error, QNetworkReply::ConnectionRefusedError);
    EXPECT_EQ(read(ids[1]).status, 200);
    EXPECT_TRUE(household->requestsTo(ids[0]).isEmpty());

    household->setReachability(ids[0], Reachability::Silent);
    EXPECT_EQ(read(ids[0]).error, QNetworkReply::OperationCanceledError);
    EXPECT_FALSE(household->requestsTo(ids[0]).isEmpty());

    household->setReachability(ids[0], Reachability::Dropping);
    EXPECT_EQ(read(ids[0]).error, QNetworkReply::RemoteHostClosedError);

    household->setReachability(ids[0], Reachability::Reachable);
    EXPECT_EQ(read(ids[0]).status, 200);
    EXPECT_EQ(household->reachability(ids[0]), Reachability::Reachable);
}

TEST(FakeHouseholdSwitches, aRefusedSpeakerStaysDownThroughStartAndASpeakerAddedLaterAnswers) {
    auto household = makeHousehold(65, 2);
    const QStringList ids = household->speakerIds();
    household->setReachability(ids[1], Reachability::Refused);
    ASSERT_TRUE(household->start());
    EXPECT_EQ(getPage(*household, ids[1], "/status/accounts").error, QNetworkReply::ConnectionRefusedError);
    const QString late = household->addSpeaker(FakeHousehold::standardSpeaker(blockAddress(65, 9), 3));
    ASSERT_FALSE(late.isEmpty()) << household->errorString().toStdString();
    EXPECT_EQ(getPage(*household, late, "/status/accounts").status, 200);
    household->stop();
    EXPECT_EQ(getPage(*household, ids[0], "/status/accounts").error, QNetworkReply::ConnectionRefusedError);
}

// --- faults ---

TEST(FakeHouseholdSwitches, anInjectedFaultHitsOnlyItsTargetForTheGivenNumberOfTimesAndChangesNothing) {
    auto household = makeHousehold(66, 2);
    ASSERT_TRUE(household->start());
    const QStringList ids = household->speakerIds();
    household->failRequests(FakeTarget::action("RenderingControl#SetVolume", ids[0]), 701, 2);
    const SoapValues setTo40{{"InstanceID", "0"}, {"Channel", "Master"}, {"DesiredVolume", "40"}};
    const int before = household->model().speaker(ids[0]).volume;

    EXPECT_EQ(callAction(*household, ids[1], "RenderingControl#SetVolume", setTo40).faultCode, 0);
    EXPECT_EQ(callAction(*household, ids[0], "RenderingControl#GetVolume", {{"InstanceID", "0"}, {"Channel", "Master"}}).faultCode, 0);
    const ActionResult first = callAction(*household, ids[0], "RenderingControl#SetVolume", setTo40);
    EXPECT_EQ(first.status, 500);
    EXPECT_EQ(first.faultCode, 701);
    EXPECT_EQ(household->model().speaker(ids[0]).volume, before);
    EXPECT_EQ(callAction(*household, ids[0], "RenderingControl#SetVolume", setTo40).faultCode, 701);
    EXPECT_EQ(callAction(*household, ids[0], "RenderingControl#SetVolume", setTo40).faultCode, 0);
    EXPECT_EQ(household->model().speaker(ids[0]).volume, 40);

    household->failRequests(FakeTarget::any(), 1023);
    EXPECT_EQ(callAction(*household, ids[1], "AVTransport#GetTransportInfo", kInstance).faultCode, 1023);
    household->clearTrouble();
    EXPECT_EQ(callAction(*household, ids[1], "AVTransport#GetTransportInfo", kInstance).faultCode, 0);
}

// --- malformed replies ---

TEST(FakeHouseholdSwitches, malformedRepliesBreakInTheWayAskedOnceAndOnlyThere) {
    const auto isUtf8 = [](const QByteArray& bytes) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder(bytes);
        return !decoder.hasError();
    };
    struct Case { Malformation malformation; const char* name; std::function<bool(const ActionResult&)> broken; };
    const QList<Case> cases = {
        {Malformation::Truncated, "truncated",
         [](const ActionResult& r) { return !isWellFormed(QString::fromUtf8(r.body)) && r.body.size() > 100; }},
        {Malformation::NotXml, "not xml", [&](const ActionResult& r) { return !isUtf8(r.body) && r.outputs.isEmpty(); }},
        {Malformation::Empty, "empty", [](const ActionResult& r) { return r.body.isEmpty(); }},
        {Malformation::BrokenEmbeddedDocument, "broken document",
         [](const ActionResult& r) {
             const QString state = r.output("ZoneGroupState");
             return state.startsWith("<ZoneGroupState>") && !isWellFormed(state);
         }},
        {Malformation::Oversized, "oversized",
         [](const ActionResult& r) { return r.body.size() > 4 * 1024 * 1024 && isWellFormed(r.output("ZoneGroupState")); }},
    };
    auto household = makeHousehold(67, 2);
    ASSERT_TRUE(household->start());
    const QStringList ids = household->speakerIds();
    const QString action = QStringLiteral("ZoneGroupTopology#GetZoneGroupState");
    for (const Case& c : cases) {
        household->clearTrouble();
        household->malformReplies(FakeTarget::action(action, ids[0]), c.malformation, 1);
        const ActionResult broken = callAction(*household, ids[0], action, {});
        ASSERT_TRUE(broken.finished) << c.name;
        EXPECT_EQ(broken.status, 200) << c.name;
        EXPECT_TRUE(c.broken(broken)) << c.name;
        EXPECT_TRUE(callAction(*household, ids[1], action, {}).ok()) << c.name;
        EXPECT_TRUE(callAction(*household, ids[0], action, {}).output("ZoneGroupState").startsWith("<ZoneGroupState>")) << c.name;
    }
    household->malformReplies(FakeTarget::page("/xml/device_description.xml"), Malformation::Truncated);
    EXPECT_FALSE(isWellFormed(QString::fromUtf8(getPage(*household, ids[1], "/xml/device_description.xml").body)));
}

TEST(FakeHouseholdSwitches, pagesCanBeReplacedWithAnyStatusAndBody) {
    auto household = makeHousehold(68, 2);
    ASSERT_TRUE(household->start());
    const QStringList ids = household->speakerIds();
    household->overridePage(FakeTarget::page("/status/proc/ath_rincon/status", ids[0]), 200, "gibberish", "text/plain");
    household->overridePage(FakeTarget::page("/status/accounts"), 503, {});
    EXPECT_EQ(getPage(*household, ids[0], "/status/proc/ath_rincon/status").body, "gibberish");
    EXPECT_NE(getPage(*household, ids[1], "/status/proc/ath_rincon/status").body, "gibberish");
    EXPECT_EQ(getPage(*household, ids[1], "/status/accounts").status, 503);
}

TEST(FakeHouseholdSwitches, slowRepliesNeverComeEarlyAndCanTrickle) {
    auto household = makeHousehold(69, 2);
    ASSERT_TRUE(household->start());
    const QStringList ids = household->speakerIds();
    household->slowReplies(FakeTarget::onSpeaker(ids[0]), 150ms);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(callAction(*household, ids[0], "AVTransport#GetTransportInfo", kInstance).ok());
    EXPECT_GE(clock.elapsed(), 150);

    household->clearTrouble();
    household->slowReplies(FakeTarget::page("/status/accounts", ids[1]), 20ms, 64);
    clock.restart();
    const FetchResult trickled = getPage(*household, ids[1], "/status/accounts");
    EXPECT_EQ(trickled.status, 200);
    // Every 64-byte chunk waits its turn.
    EXPECT_GE(clock.elapsed(), 20 * (trickled.body.size() / 64));
    EXPECT_TRUE(trickled.body.endsWith("</Accounts>\n"));
}

// --- recording ---

TEST(FakeHouseholdRecording, everyRequestIsRecordedInArrivalOrderWithItsArguments) {
    auto household = makeHousehold(70, 2);
    ASSERT_TRUE(household->start());
    const QStringList ids = household->speakerIds();
    QSignalSpy received(household.get(), &FakeHousehold::requestReceived);
    callAction(*household, ids[1], "RenderingControl#SetVolume", {{"InstanceID", "0"}, {"Channel", "Master"}, {"DesiredVolume", "12"}});
    getPage(*household, ids[0], "/status/batterystatus");
    callAction(*household, ids[0], "AVTransport#Play", {{"InstanceID", "0"}, {"Speed", "1"}});

    EXPECT_EQ(received.count(), 3);
    EXPECT_EQ(household->requestLog(),
              (QStringList{"RenderingControl#SetVolume", "GET /status/batterystatus", "AVTransport#Play"}));
    EXPECT_EQ(household->requestLog(ids[0]), (QStringList{"GET /status/batterystatus", "AVTransport#Play"}));
    const FakeRequest volume = household->requests().front();
    EXPECT_EQ(volume.speaker, ids[1]);
    EXPECT_EQ(volume.address, household->address(ids[1]));
    EXPECT_EQ(volume.target(), QStringLiteral("RenderingControl#SetVolume"));
    EXPECT_EQ(volume.arguments, (SoapValues{{"InstanceID", "0"}, {"Channel", "Master"}, {"DesiredVolume", "12"}}));
    EXPECT_EQ(volume.argument("DesiredVolume"), QStringLiteral("12"));
    bool sawHeader = false;
    for (const auto& [name, value] : volume.headers)
        if (name.compare("SOAPACTION", Qt::CaseInsensitive) == 0)
            sawHeader = value == "\"urn:schemas-upnp-org:service:RenderingControl:1#SetVolume\"";
    EXPECT_TRUE(sawHeader);
    household->clearRequests();
    EXPECT_TRUE(household->requests().isEmpty());
}

} // namespace
} // namespace orvel::fakes
