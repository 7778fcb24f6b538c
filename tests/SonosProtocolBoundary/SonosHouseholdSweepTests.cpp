// What the sweeps read and when: the assembled household, cached descriptions, paced telemetry,
// household values, speakers going offline, a household that is lost and found, and the debug
// log. Addresses: 127.202.10.* to 127.202.29.*.
#include "HouseholdRig.h"

#include <QRegularExpression>

#include "OrvelDomain/NowPlaying.h"
#include "OrvelDomain/NowPlayingTrack.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

const QString radioPage = QStringLiteral("GET /status/proc/ath_rincon/status");
const QString descriptionPage = QStringLiteral("GET /xml/device_description.xml");

TEST(HouseholdSweep, AssemblesGroupsPlaybackSatellitesTelemetryAndValues) {
    START_HOUSEHOLD(rig, 10, RigOptions{.speakers = 7});
    // A Beam playing its queue with the kitchen, a radio in the bedroom, a Roam and a Move with
    // batteries, and the Five bonded to the Beam as its subwoofer.
    rig.fake.seedDemoContent();
    rig.fake.model().editPlayback(rig.id(2)).transportState = QStringLiteral("PLAYING");
    rig.fake.model().bond(rig.id(0), rig.id(5), fakes::SatelliteRole::Subwoofer);
    rig.fake.model().setSystemProperty(QStringLiteral("Orvella_Presets_v1"), QStringLiteral("[{\"id\": 7}]"));
    rig.makeController();
    Subscription subscription(rig.controller->snapshots());
    ASSERT_TRUE(subscription.waitForCount(1));
    // Battery and radio pages come with the sweep after the one that found the household.
    ASSERT_TRUE(rig.nextSweep());
    const HouseholdSnapshot& s = subscription.last();

    EXPECT_EQ(s.speakers().size(), 6u) << "the bonded Five is a satellite, not a room";
    EXPECT_EQ(s.topology().group(rig.uuid(1)), rig.group(0));
    const Speaker& beam = s.speakers().at(rig.uuid(0));
    EXPECT_TRUE(beam.model.isBeam());
    ASSERT_EQ(beam.bondedSatellites.size(), 1u);
    EXPECT_EQ(beam.bondedSatellites[0].id, rig.uuid(5));
    EXPECT_EQ(beam.bondedSatellites[0].modelNumber, "S23") << "named from the satellite's own description";
    EXPECT_EQ(beam.reachability.asOnline()->noiseFloor, -95);

    const PlaybackState& playing = s.status(rig.group(0)).playback;
    ASSERT_TRUE(playing.isPlaying());
    const NowPlayingTrack& track = playing.nowPlaying()->asTrack()->track;
    EXPECT_EQ(track.title(), "Kitchen Radio");
    EXPECT_EQ(track.queuePosition(), 2);
    ASSERT_EQ(track.upNext().size(), 4u) << "the queue entries after the current one";
    EXPECT_EQ(track.upNext().front().title(), "Stairwell Echo");
    EXPECT_EQ(track.upNext().front().queueNumber(), 3);
    const PlaybackState& radio = s.status(rig.group(2)).playback;
    ASSERT_TRUE(radio.isPlaying());
    ASSERT_TRUE(radio.nowPlaying()->asStream());
    EXPECT_EQ(radio.nowPlaying()->asStream()->title, "Harbour Lights - Low Tide");

    const auto roam = s.speakers().at(rig.uuid(4)).model.battery();
    ASSERT_TRUE(roam);
    EXPECT_EQ(roam->levelPercent, 76);
    EXPECT_FALSE(roam->isOnCharger);

    EXPECT_EQ(s.rf().band(rig.uuid(0), rig.uuid(1)), RFPeerMatrix::Band::strong);
    EXPECT_EQ(s.networkName(), "Fake Household");
    EXPECT_EQ(s.presets(), std::optional(std::vector<PresetPill>{})) << "unreadable presets count as none";
    EXPECT_EQ(rig.logLines().filter(QStringLiteral("Presets stored on the speakers are unreadable")).size(), 1);
}

TEST(HouseholdSweep, DescriptionsAndHouseholdValuesAreReadOnceTelemetryAtItsPace) {
    START_HOUSEHOLD(rig, 11);
    rig.makeController();
    Subscription subscription(rig.controller->snapshots());
    ASSERT_TRUE(rig.waitForSweeps(1));
    EXPECT_EQ(rig.requestCount(descriptionPage), 4);
    EXPECT_EQ(rig.requestCount(radioPage), 0) << "the sweep that finds the household leaves telemetry to the next";
    EXPECT_EQ(rig.requestCount(QStringLiteral("SystemProperties#GetString")), 2);

    ASSERT_TRUE(rig.nextSweep());
    EXPECT_EQ(rig.requestCount(radioPage), 4);
    ASSERT_TRUE(rig.nextSweep());
    EXPECT_EQ(rig.requestCount(descriptionPage), 4);
    EXPECT_EQ(rig.requestCount(radioPage), 4) << "telemetry waits for its interval";
    EXPECT_EQ(rig.requestCount(QStringLiteral("SystemProperties#GetString")), 2)
        << "an unset name counts as read: it is not asked for again";
    EXPECT_EQ(rig.requestCount(QStringLiteral("RenderingControl#GetVolume")), 12);

    // Sixty seconds after the first reading, the next sweep reads the pages again; the loop
    // then catches up at once with one more sweep.
    rig.clock.advance(std::chrono::seconds(58));
    ASSERT_TRUE(rig.waitForSweeps(5));
    ASSERT_TRUE(rig.settle());
    EXPECT_EQ(rig.controller->completedSweeps(), 5u);
    EXPECT_EQ(rig.requestCount(radioPage), 8);

    // A room that joins the household brings the telemetry forward, and only it is described.
    rig.fake.addSpeaker(fakes::FakeHousehold::standardSpeaker(blockAddress(11, 9), 4));
    ASSERT_TRUE(rig.nextSweep());
    EXPECT_EQ(rig.requestCount(radioPage), 13);
    EXPECT_EQ(rig.requestCount(descriptionPage), 5);
    EXPECT_EQ(subscription.last().speakers().size(), 5u);
}

TEST(HouseholdSweep, ASpeakerThatStopsAnsweringIsOfflineAfterTheConfiguredTime) {
    START_HOUSEHOLD(rig, 13);
    rig.makeController();
    Subscription subscription(rig.controller->snapshots());
    ASSERT_TRUE(subscription.waitForCount(1));
    const Date lastAnswer = rig.clock.now();

    rig.fake.setReachability(rig.id(2), fakes::Reachability::Refused);
    // Within the time allowed it keeps its last known form, marked as not answering.
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(rig.nextSweep());
    EXPECT_EQ(subscription.count(), 2u) << "the mark is news once";
    EXPECT_EQ(subscription.last().speakers().at(rig.uuid(2)), subscription.snapshots().front().speakers().at(rig.uuid(2)));
    EXPECT_EQ(subscription.last().notAnswering(), std::set<SpeakerUUID>{rig.uuid(2)});

    ASSERT_TRUE(rig.nextSweep());  // ten seconds after its last answer
    ASSERT_EQ(subscription.count(), 3u);
    const Speaker& gone = subscription.last().speakers().at(rig.uuid(2));
    EXPECT_EQ(gone.reachability, ReachabilityState::offline(rig.ip(2), lastAnswer));
    EXPECT_EQ(gone.roomName, "Bedroom");
    EXPECT_TRUE(subscription.last().notAnswering().empty()) << "offline says it all";
    EXPECT_TRUE(subscription.last().speakers().at(rig.uuid(1)).reachability.isOnline());

    rig.fake.setReachability(rig.id(2), fakes::Reachability::Reachable);
    ASSERT_TRUE(rig.nextSweep());
    ASSERT_EQ(subscription.count(), 4u);
    EXPECT_TRUE(subscription.last().speakers().at(rig.uuid(2)).reachability.isOnline());
}

TEST(HouseholdSweep, AnUnreachableHouseholdGivesOneEmptySnapshotAfterTheConfiguredTime) {
    START_HOUSEHOLD(rig, 15);
    // Seeds where nothing listens, and discovery that finds nothing.
    rig.makeController({blockAddress(15, 200).toString().toStdString(), blockAddress(15, 201).toString().toStdString()});
    Subscription subscription(rig.controller->snapshots());
    ASSERT_TRUE(rig.waitForSweeps(1));
    EXPECT_GE(rig.ssdp->searches, 1) << "discovery is tried after the seeds";
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(rig.nextSweep());
    EXPECT_EQ(subscription.count(), 0u);

    ASSERT_TRUE(rig.nextSweep());
    ASSERT_EQ(subscription.count(), 1u);
    const HouseholdSnapshot& empty = subscription.last();
    EXPECT_TRUE(empty.speakers().empty());
    EXPECT_TRUE(empty.topology().isEmpty());
    EXPECT_FALSE(empty.presets());
    EXPECT_FALSE(empty.networkName());

    for (int i = 0; i < 3; ++i) ASSERT_TRUE(rig.nextSweep());
    EXPECT_EQ(subscription.count(), 1u) << "an empty household is published once";
    EXPECT_FALSE(subscription.endedByProducer()) << "a household that is not there ends no stream";
    EXPECT_TRUE(rig.fake.requests().isEmpty());
}

TEST(HouseholdSweep, TheLogTellsWhenTheHouseholdIsLostAndFoundAndWhatFailed) {
    START_HOUSEHOLD(rig, 16);
    rig.makeController();
    Subscription subscription(rig.controller->snapshots());
    ASSERT_TRUE(rig.waitForSweeps(1));

    rig.fake.failRequests(fakes::FakeTarget::action(QStringLiteral("RenderingControl#GetVolume"), rig.id(1)), 701, 1);
    ASSERT_TRUE(rig.nextSweep());
    for (int i = 0; i < 4; ++i) rig.fake.setReachability(rig.id(i), fakes::Reachability::Refused);
    ASSERT_TRUE(rig.nextSweep());
    ASSERT_TRUE(rig.nextSweep());
    for (int i = 0; i < 4; ++i) rig.fake.setReachability(rig.id(i), fakes::Reachability::Reachable);
    ASSERT_TRUE(rig.nextSweep());

    const QStringList lines = rig.logLines();
    const QRegularExpression shape(QStringLiteral(
        R"(^\[\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z\] \[pid=\d+ ppid=\d+ bundle=orvella\] .+$)"));
    for (const QString& line : lines) EXPECT_TRUE(shape.match(line).hasMatch()) << line.toStdString();

    const auto withText = [&](const QString& text) { return lines.filter(text).size(); };
    const QString found = QStringLiteral("Household found through a known address at ") +
                          QString::fromStdString(rig.ip(0)) + QStringLiteral(": 4 rooms");
    EXPECT_EQ(withText(found), 2) << lines.join('\n').toStdString();
    EXPECT_EQ(withText(QStringLiteral("Household lost")), 1);
    EXPECT_EQ(withText(QStringLiteral("SOAP RenderingControl#GetVolume to ") + QString::fromStdString(rig.ip(1)) +
                       QStringLiteral(" failed: speaker refused: UPnP error 701")),
              1);
    EXPECT_GE(withText(QStringLiteral("SOAP ZoneGroupTopology#GetZoneGroupState to ")), 4)
        << "each seed that did not answer while the household was lost";
    EXPECT_EQ(withText(QStringLiteral("GetString")), 0) << "an unset household value is no failure";
    // Found, lost and found again: the values are read anew.
    EXPECT_EQ(rig.requestCount(QStringLiteral("SystemProperties#GetString")), 4);
    EXPECT_FALSE(subscription.endedByProducer()) << "losing the household ends no stream";
}

TEST(HouseholdSweep, ANetworkExtenderInTheZoneGroupStateHidesNoRoom) {
    START_HOUSEHOLD(rig, 27);
    rig.fake.model().setGroup({rig.id(0), rig.id(1)});
    rig.fake.model().setExtender(fakes::FakeHousehold::standardExtender(blockAddress(27, 9)));
    rig.makeController();
    Subscription subscription(rig.controller->snapshots());
    ASSERT_TRUE(subscription.waitForCount(1)) << "the household is found";

    const HouseholdSnapshot& s = subscription.last();
    const std::set<SpeakerUUID> rooms{rig.uuid(0), rig.uuid(1), rig.uuid(2), rig.uuid(3)};
    EXPECT_EQ(s.topology().speakers(), rooms);
    EXPECT_EQ(s.topology().group(rig.uuid(1)), rig.group(0));
    ASSERT_EQ(s.speakers().size(), rooms.size());
    for (const SpeakerUUID& room : rooms) EXPECT_TRUE(s.speakers().at(room).reachability.isOnline()) << room.rawValue();
}

TEST(HouseholdSweep, BadRepliesKeepTheLastKnownStatusAndVolume) {
    START_HOUSEHOLD(rig, 20);
    rig.fake.seedDemoContent();
    rig.makeController();
    Subscription subscription(rig.controller->snapshots());
    ASSERT_TRUE(subscription.waitForCount(1));
    ASSERT_TRUE(rig.nextSweep());
    ASSERT_EQ(subscription.count(), 2u) << "the second sweep adds the telemetry";
    const HouseholdSnapshot before = subscription.last();

    // A reply that fails as a whole is logged and changes nothing.
    for (const char* action : {"AVTransport#GetPositionInfo", "RenderingControl#GetVolume", "AVTransport#GetTransportInfo"}) {
        rig.fake.malformReplies(fakes::FakeTarget::action(QString::fromLatin1(action), rig.id(0)),
                                fakes::Malformation::Truncated, 1);
    }
    ASSERT_TRUE(rig.nextSweep());
    EXPECT_EQ(subscription.count(), 2u) << "nothing changed that the readings could show";
    EXPECT_TRUE(before.isSemanticallyEquivalent(subscription.last()));
    EXPECT_GE(rig.logLines().filter(QStringLiteral(" failed: ")).size(), 1);

    // Broken track metadata costs the track's title, not its place, length or what comes next.
    rig.fake.malformReplies(fakes::FakeTarget::action(QStringLiteral("AVTransport#GetPositionInfo"), rig.id(0)),
                            fakes::Malformation::BrokenEmbeddedDocument, 1);
    ASSERT_TRUE(rig.nextSweep());
    ASSERT_EQ(subscription.count(), 3u);
    const PlaybackState was = before.status(rig.group(0)).playback;
    const PlaybackState now = subscription.last().status(rig.group(0)).playback;
    ASSERT_TRUE(now.nowPlaying() && now.nowPlaying()->asTrack());
    const NowPlayingTrack& wasTrack = was.nowPlaying()->asTrack()->track;
    const NowPlayingTrack& nowTrack = now.nowPlaying()->asTrack()->track;
    EXPECT_EQ(nowTrack.title(), "");
    EXPECT_EQ(nowTrack.artist(), std::nullopt);
    EXPECT_EQ(nowTrack.queuePosition(), wasTrack.queuePosition());
    EXPECT_EQ(nowTrack.duration(), wasTrack.duration());
    EXPECT_EQ(nowTrack.upNext(), wasTrack.upNext());
}

}  // namespace

namespace {

// The first group's playback (a copy: the status is handed out by value).
PlaybackState firstGroupPlayback(HouseholdRig& rig, const HouseholdSnapshot& s) { return s.status(rig.group(0)).playback; }

std::string trackTitle(const PlaybackState& playback) {
    const NowPlaying* now = playback.nowPlaying();
    return now && now->asTrack() ? now->asTrack()->track.title() : std::string();
}

TEST(HouseholdSweep, AChangeShowsInTheNextSnapshotWhileRepeatedAnswersGoUnread) {
    struct Case {
        const char* name;
        std::function<void(HouseholdRig&)> change;
        std::function<bool(HouseholdRig&, const HouseholdSnapshot&)> shows;
    };
    const Case cases[] = {
        {"a member's volume, and with it the group's",
         [](HouseholdRig& rig) { rig.fake.model().editSpeaker(rig.id(1)).volume = 50; },
         [](HouseholdRig& rig, const HouseholdSnapshot& s) {
             const int average = (rig.fake.model().speaker(rig.id(0)).volume + 50) / 2;
             return s.speakers().at(rig.uuid(1)).volume == DiscreteVolume::snappingPercent(50) &&
                    s.status(rig.group(0)).volume == DiscreteVolume::snappingPercent(average);
         }},
        {"the next track while paused",
         [](HouseholdRig& rig) { rig.fake.model().editPlayback(rig.id(0)).trackNumber = 3; },
         [](HouseholdRig& rig, const HouseholdSnapshot& s) {
             const PlaybackState playback = firstGroupPlayback(rig, s);
             return trackTitle(playback) == "Stairwell Echo" &&
                    playback.nowPlaying()->asTrack()->track.upNext().front().title() == "Café Noir";
         }},
        {"a radio station while paused",
         [](HouseholdRig& rig) { rig.fake.model().playRadioStation(rig.id(0), QStringLiteral("PAUSED_PLAYBACK")); },
         [](HouseholdRig& rig, const HouseholdSnapshot& s) {
             const PlaybackState playback = firstGroupPlayback(rig, s);
             return playback.nowPlaying() && playback.nowPlaying()->isStream();
         }},
        {"the entries after a paused track",
         [](HouseholdRig& rig) {
             auto& playback = rig.fake.model().editPlayback(rig.id(0));
             std::swap(playback.queue[playback.trackNumber], playback.queue[playback.trackNumber + 1]);
         },
         [](HouseholdRig& rig, const HouseholdSnapshot& s) {
             const PlaybackState playback = firstGroupPlayback(rig, s);
             const auto& fake = rig.fake.model().playback(rig.id(0));
             return trackTitle(playback) == "Kitchen Radio" &&
                    playback.nowPlaying()->asTrack()->track.upNext().front().title() ==
                        fake.queue[fake.trackNumber].title.toStdString();
         }},
        {"playing again",
         [](HouseholdRig& rig) { rig.fake.model().editPlayback(rig.id(0)).transportState = QStringLiteral("PLAYING"); },
         [](HouseholdRig& rig, const HouseholdSnapshot& s) { return firstGroupPlayback(rig, s).isPlaying(); }},
    };
    int block = 70;
    for (const auto& c : cases) {
        START_HOUSEHOLD(rig, block++);
        // The kitchen joins the living room, paused in its queue.
        rig.fake.seedDemoContent();
        rig.fake.model().editPlayback(rig.id(0)).transportState = QStringLiteral("PAUSED_PLAYBACK");
        rig.makeController();
        Subscription subscription(rig.controller->snapshots());
        ASSERT_TRUE(rig.waitForSweeps(1)) << c.name;
        ASSERT_TRUE(rig.nextSweep()) << c.name;
        ASSERT_EQ(trackTitle(firstGroupPlayback(rig, subscription.last())), "Kitchen Radio") << c.name;
        // An unchanged paused group: its media and group volume are not asked for again.
        const QStringList unchanged{QStringLiteral("AVTransport#GetMediaInfo"),
                                    QStringLiteral("GroupRenderingControl#GetGroupVolume")};
        std::vector<qsizetype> before;
        for (const QString& read : unchanged) before.push_back(rig.requestCount(read));
        ASSERT_TRUE(rig.nextSweep()) << c.name;
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(rig.requestCount(unchanged[int(i)]), before[i]) << c.name << ": " << unchanged[int(i)].toStdString();
        }
        const std::size_t published = subscription.count();

        c.change(rig);
        ASSERT_TRUE(rig.nextSweep()) << c.name;
        EXPECT_EQ(subscription.count(), published + 1) << c.name;
        EXPECT_TRUE(c.shows(rig, subscription.last())) << c.name;
    }
}

}  // namespace
