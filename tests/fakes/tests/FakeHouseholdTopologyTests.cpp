// Address blocks 1-29.
#include <functional>

#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "TestHousehold.h"

namespace orvel::fakes {
namespace {

using namespace std::chrono_literals;
using namespace testing;

QList<XmlElement> topologyFrom(const FakeHousehold& household, const QString& uuid, bool* wellFormed = nullptr) {
    const ActionResult result = callAction(household, uuid, QStringLiteral("ZoneGroupTopology#GetZoneGroupState"), {});
    EXPECT_TRUE(result.ok()) << result.body.toStdString();
    return parseElements(result.output(QStringLiteral("ZoneGroupState")), wellFormed);
}

// Coordinator -> visible members, as the topology shows them.
std::map<QString, QStringList> groupsIn(const QList<XmlElement>& topology) {
    std::map<QString, QStringList> groups;
    QString coordinator;
    for (const XmlElement& element : topology) {
        if (element.name == QLatin1String("ZoneGroup")) coordinator = element.attribute(QStringLiteral("Coordinator"));
        if (element.name == QLatin1String("ZoneGroupMember") && element.attribute(QStringLiteral("Invisible")) == QLatin1String("0"))
            groups[coordinator] << element.attribute(QStringLiteral("UUID"));
    }
    return groups;
}

TEST(FakeHouseholdSpeakers, eachAnswersOnItsOwnAddressWithAWellFormedIdentifierAndNoSecondHouseholdCanTakeIt) {
    FakeHousehold twelve(blockAddress(1, 2), 12);
    const QStringList ids = twelve.speakerIds();
    ASSERT_EQ(QSet<QString>(ids.begin(), ids.end()).size(), 12);
    const QRegularExpression form(QStringLiteral("^RINCON_[0-9A-F]{12}[0-9]{5}$"));
    for (int i = 0; i < ids.size(); ++i) {
        EXPECT_TRUE(form.match(ids[i]).hasMatch()) << ids[i].toStdString();
        EXPECT_EQ(twelve.address(ids[i]), blockAddress(1, 2 + i));
        EXPECT_FALSE(twelve.model().speaker(ids[i]).roomName.isEmpty());
    }
    EXPECT_EQ(twelve.model().speaker(ids[0]).macAddress, QStringLiteral("00:0E:58:C9:01:02"));
    EXPECT_EQ(FakeHousehold::addressAfter(blockAddress(1, 254), 3), blockAddress(2, 1));

    auto household = makeHousehold(2, 3);
    ASSERT_TRUE(household->start()) << household->errorString().toStdString();
    for (const QString& id : household->speakerIds()) {
        EXPECT_EQ(getPage(*household, id, "/xml/device_description.xml").status, 200) << id.toStdString();
        EXPECT_EQ(household->baseUrl(id).port(), 1400);
    }
    FakeHousehold clash(blockAddress(2, 3), 1);
    EXPECT_FALSE(clash.start());
    EXPECT_TRUE(clash.errorString().contains(QStringLiteral("127.201.2.3")));
}

TEST(FakeHouseholdTopology, anySpeakerReportsEveryRoomWithItsAddressAndVanishedOnesApart) {
    auto household = makeHousehold(3, 5);
    const QStringList ids = household->speakerIds();
    household->model().editSpeaker(ids[4]).vanished = true;
    household->model().editSpeaker(ids[3]).roomName = QStringLiteral("Kid's <Room> & \"Den\"");
    ASSERT_TRUE(household->start());
    bool wellFormed = false;
    const QList<XmlElement> topology = topologyFrom(*household, ids[2], &wellFormed);
    ASSERT_TRUE(wellFormed);
    ASSERT_FALSE(topology.isEmpty());
    EXPECT_EQ(topology.front().name, QStringLiteral("ZoneGroupState"));

    const QList<XmlElement> members = elementsNamed(topology, QStringLiteral("ZoneGroupMember"));
    ASSERT_EQ(members.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(members[i].attribute(QStringLiteral("UUID")), ids[i]);
        EXPECT_EQ(members[i].attribute(QStringLiteral("Location")),
                  QStringLiteral("http://127.201.3.%1:1400/xml/device_description.xml").arg(2 + i));
        // Markup in a room name travels escaped exactly once.
        EXPECT_EQ(members[i].attribute(QStringLiteral("ZoneName")), household->model().speaker(ids[i]).roomName);
    }
    EXPECT_EQ(groupsIn(topology).size(), 4u);
    for (const XmlElement& group : elementsNamed(topology, QStringLiteral("ZoneGroup")))
        EXPECT_TRUE(group.attribute(QStringLiteral("ID")).startsWith(group.attribute(QStringLiteral("Coordinator")) + ':'));
    ASSERT_EQ(elementsNamed(topology, QStringLiteral("VanishedDevices")).size(), 1);
    const QList<XmlElement> vanished = elementsNamed(topology, QStringLiteral("Device"));
    ASSERT_EQ(vanished.size(), 1);
    EXPECT_EQ(vanished[0].attribute(QStringLiteral("UUID")), ids[4]);
}

TEST(FakeHouseholdTopology, bondedSatellitesAppearUnderTheirRoomWithTheirRoles) {
    auto household = makeHousehold(5, 7);
    FakeHouseholdModel& model = household->model();
    const QStringList ids = household->speakerIds();
    // ids[0] is a Beam: a home theatre with a sub and two rears; ids[1] and ids[2] a stereo pair.
    model.bond(ids[0], ids[4], SatelliteRole::Subwoofer);
    model.bond(ids[0], ids[5], SatelliteRole::RearLeft);
    model.bond(ids[0], ids[6], SatelliteRole::RearRight);
    model.bond(ids[1], ids[2], SatelliteRole::StereoRight);
    ASSERT_TRUE(household->start());

    const QList<XmlElement> topology = topologyFrom(*household, ids[3]);
    const QList<XmlElement> satellites = elementsNamed(topology, QStringLiteral("Satellite"));
    ASSERT_EQ(satellites.size(), 3);
    for (const XmlElement& satellite : satellites) {
        EXPECT_EQ(satellite.attribute(QStringLiteral("Invisible")), QStringLiteral("1"));
        EXPECT_EQ(satellite.attribute(QStringLiteral("ZoneName")), model.speaker(ids[0]).roomName);
    }
    const QString theatreMap = ids[0] + ":LF,RF;" + ids[4] + ":SW;" + ids[5] + ":LR;" + ids[6] + ":RR";
    const QString pairMap = ids[1] + ":LF,LF;" + ids[2] + ":RF,RF";
    QStringList visible;
    for (const XmlElement& member : elementsNamed(topology, QStringLiteral("ZoneGroupMember"))) {
        const QString id = member.attribute(QStringLiteral("UUID"));
        if (id == ids[0]) {
            EXPECT_EQ(member.attribute(QStringLiteral("HTSatChanMapSet")), theatreMap);
        }
        if (id == ids[1] || id == ids[2]) {
            EXPECT_EQ(member.attribute(QStringLiteral("ChannelMapSet")), pairMap);
        }
        if (member.attribute(QStringLiteral("Invisible")) == QLatin1String("0")) {
            visible << id;
        } else {
            EXPECT_EQ(id, ids[2]) << "only the second of a pair is an invisible member";
        }
    }
    EXPECT_EQ(visible, (QStringList{ids[0], ids[1], ids[3]}));
    // A satellite belongs to its room's group and answers for it.
    EXPECT_EQ(model.coordinatorOf(ids[5]), ids[0]);
}

// --- grouping commands ---

TEST(FakeHouseholdGrouping, commandsRegroupTheHouseholdOrAreRefused) {
    using Command = std::function<ActionResult(FakeHousehold&, const QStringList&)>;
    const auto setUri = [](int speaker, const QString& uri) -> Command {
        return [=](FakeHousehold& h, const QStringList& ids) {
            return callAction(h, ids[speaker], QStringLiteral("AVTransport#SetAVTransportURI"),
                              {{"InstanceID", "0"}, {"CurrentURI", uri}, {"CurrentURIMetaData", ""}});
        };
    };
    const auto join = [&](int speaker, int coordinator) -> Command {
        return [=](FakeHousehold& h, const QStringList& ids) { return setUri(speaker, "x-rincon:" + ids[coordinator])(h, ids); };
    };
    const auto leave = [](int speaker) -> Command {
        return [=](FakeHousehold& h, const QStringList& ids) {
            return callAction(h, ids[speaker], QStringLiteral("AVTransport#BecomeCoordinatorOfStandaloneGroup"), kInstance);
        };
    };
    const auto delegate = [](int speaker, int to, const char* rejoin) -> Command {
        return [=](FakeHousehold& h, const QStringList& ids) {
            return callAction(h, ids[speaker], QStringLiteral("AVTransport#DelegateGroupCoordinationTo"),
                              {{"InstanceID", "0"}, {"NewCoordinator", ids[to]}, {"RejoinGroup", rejoin}});
        };
    };
    using Groups = std::map<int, std::vector<int>>;  // coordinator index -> member indexes
    const Groups unchanged{{0, {0, 1}}, {2, {2}}, {3, {3}}};
    const Groups apart{{0, {0}}, {1, {1}}, {2, {2}}, {3, {3}}};
    auto household = makeHousehold(10, 4);
    const QStringList ids = household->speakerIds();
    ASSERT_TRUE(household->start());
    struct Case { const char* name; Command command; int faultCode; Groups groupsAfter; };
    // Every case starts from {0: 0, 1} with 2 and 3 alone.
    const QList<Case> cases = {
        {"join a coordinator", join(2, 0), 0, {{0, {0, 1, 2}}, {3, {3}}}},
        {"coordinator joins another group", join(0, 3), 0, {{1, {1}}, {2, {2}}, {3, {3, 0}}}},
        {"join a member", join(2, 1), upnp::notACoordinator, unchanged},
        {"join oneself", join(2, 2), upnp::invalidArgs, unchanged},
        {"join an unknown speaker", setUri(2, "x-rincon:RINCON_FFFFFFFFFFFF01400"), upnp::invalidArgs, unchanged},
        {"member leaves", leave(1), 0, apart},
        {"coordinator leaves", leave(0), 0, apart},
        {"lone speaker leaves", leave(3), 0, unchanged},
        {"delegate and stay", delegate(0, 1, "1"), 0, {{1, {1, 0}}, {2, {2}}, {3, {3}}}},
        {"delegate and go", delegate(0, 1, "0"), 0, apart},
        {"delegate outside the group", delegate(0, 2, "0"), upnp::invalidArgs, unchanged},
        {"delegate from a member", delegate(1, 0, "0"), upnp::transitionNotAvailable, unchanged},
        {"delegate with a bad flag", delegate(0, 1, "yes"), upnp::invalidArgs, unchanged},
        {"play another speaker's queue", setUri(2, "x-rincon-queue:RINCON_FFFFFFFFFFFF01400#0"), upnp::invalidArgs, unchanged},
        {"the coordinator plays its own queue", setUri(0, queueUriOf(ids[0])), 0, unchanged},
        {"member plays its own source", setUri(1, "x-sonosapi-stream:s1?sid=254"), 0, apart},
    };
    for (const Case& c : cases) {
        household->model().setGroup({ids[0], ids[1]});
        household->model().setGroup({ids[2]});
        household->model().setGroup({ids[3]});
        const ActionResult result = c.command(*household, ids);
        ASSERT_TRUE(result.finished) << c.name;
        EXPECT_EQ(result.faultCode, c.faultCode) << c.name;
        EXPECT_EQ(result.status, c.faultCode ? 500 : 200) << c.name;
        std::map<QString, QStringList> expected;
        for (const auto& [coordinator, members] : c.groupsAfter)
            for (int member : members) expected[ids[coordinator]] << ids[member];
        EXPECT_EQ(groupsIn(topologyFrom(*household, ids[3])), expected) << c.name;
    }
}

TEST(FakeHouseholdGrouping, aMemberMirrorsItsCoordinatorAndTheGroupKeepsPlayingWhenTheCoordinatorLeaves) {
    auto household = makeHousehold(25, 3);
    FakeHouseholdModel& model = household->model();
    const QStringList ids = household->speakerIds();
    model.setQueue(ids[0], testTracks(3));
    FakePlayback& playback = model.editPlayback(ids[0]);
    playback.currentUri = queueUriOf(ids[0]);
    playback.trackNumber = 2;
    playback.transportState = QStringLiteral("PLAYING");
    model.setGroup({ids[0], ids[1], ids[2]});
    ASSERT_TRUE(household->start());
    const auto uriOn = [&](int i) { return callAction(*household, ids[i], "AVTransport#GetMediaInfo", kInstance).output("CurrentURI"); };
    const auto stateOn = [&](int i) {
        return callAction(*household, ids[i], "AVTransport#GetTransportInfo", kInstance).output("CurrentTransportState");
    };

    EXPECT_EQ(uriOn(1), "x-rincon:" + ids[0]);
    EXPECT_EQ(stateOn(1), "PLAYING");
    EXPECT_EQ(callAction(*household, ids[2], "AVTransport#GetPositionInfo", kInstance).output("Track"), "2");

    const ActionResult left = callAction(*household, ids[0], "AVTransport#BecomeCoordinatorOfStandaloneGroup", kInstance);
    ASSERT_TRUE(left.ok());
    EXPECT_EQ(left.output("DelegatedGroupCoordinatorID"), ids[1]);
    EXPECT_TRUE(left.output("NewGroupID").startsWith(ids[0] + ':'));
    EXPECT_EQ(model.groupOf(ids[0]).id, left.output("NewGroupID"));
    // The rest plays on under the next member, from that member's own copy of the queue; the one
    // that left stands alone and stopped.
    EXPECT_EQ(uriOn(1), queueUriOf(ids[1]));
    EXPECT_EQ(stateOn(2), "PLAYING");
    EXPECT_EQ(model.speaker(ids[1]).playback.queue, testTracks(3));
    EXPECT_EQ(stateOn(0), "STOPPED");
    EXPECT_EQ(uriOn(0), queueUriOf(ids[0]));
}

TEST(FakeHouseholdGrouping, changesWaitForTheDelayWhileTheCommandIsAnsweredAtOnce) {
    auto household = makeHousehold(26, 3);
    const QStringList ids = household->speakerIds();
    household->setGroupingDelay(1h);
    ASSERT_TRUE(household->start());
    QSignalSpy applied(household.get(), &FakeHousehold::groupingApplied);

    const SoapValues joinArgs{{"InstanceID", "0"}, {"CurrentURI", "x-rincon:" + ids[0]}, {"CurrentURIMetaData", ""}};
    ASSERT_TRUE(callAction(*household, ids[1], "AVTransport#SetAVTransportURI", joinArgs).ok());
    ASSERT_TRUE(callAction(*household, ids[2], "AVTransport#SetAVTransportURI", joinArgs).ok());
    EXPECT_EQ(household->pendingGroupingCount(), 2);
    EXPECT_EQ(groupsIn(topologyFrom(*household, ids[0])).size(), 3u);
    EXPECT_EQ(applied.count(), 0);

    household->applyPendingGrouping();
    EXPECT_EQ(household->pendingGroupingCount(), 0);
    EXPECT_EQ(applied.count(), 1);
    EXPECT_EQ(groupsIn(topologyFrom(*household, ids[0])), (std::map<QString, QStringList>{{ids[0], {ids[0], ids[1], ids[2]}}}));

    // A short delay runs out on its own, in order: join, then leave, leaves both alone.
    household->setGroupingDelay(30ms);
    ASSERT_TRUE(callAction(*household, ids[1], "AVTransport#BecomeCoordinatorOfStandaloneGroup", kInstance).ok());
    ASSERT_TRUE(callAction(*household, ids[1], "AVTransport#SetAVTransportURI", joinArgs).ok());
    ASSERT_TRUE(callAction(*household, ids[1], "AVTransport#BecomeCoordinatorOfStandaloneGroup", kInstance).ok());
    ASSERT_TRUE(QTest::qWaitFor([&] { return household->pendingGroupingCount() == 0; }, int(kWaitBound.count())));
    EXPECT_EQ(household->model().groups().size(), 2);
}

} // namespace
} // namespace orvel::fakes
