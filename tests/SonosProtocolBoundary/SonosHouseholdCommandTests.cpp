// Commands on the speakers' own lanes and the household values: order on one speaker's lane
// while another speaker's command goes ahead, what each command sends, how failures read, and
// presets and the system name stored on the speakers. Addresses: 127.202.50.* to 127.202.69.*.
#include "HouseholdRig.h"

#include "OrvelDomain/PresetID.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

QStringList actionsOf(const fakes::FakeHousehold& fake, const QString& speaker) {
    QStringList out;
    for (const auto& request : fake.requestsTo(speaker)) {
        if (request.action == QStringLiteral("GetZoneGroupState")) continue;
        QString line = request.isControl() ? request.target() : QString::fromLatin1(request.method) + QLatin1Char(' ') + request.path;
        for (const auto& [name, value] : request.arguments) {
            if (name != QStringLiteral("InstanceID") && name != QStringLiteral("EnqueuedURIMetaData")) line += QLatin1Char(' ') + value;
        }
        out << line;
    }
    return out;
}

DiscreteVolume volume(int n) { return *DiscreteVolume::make(n); }

fakes::FakeTrack fakeTrack(int n, int seconds = 200) {
    fakes::FakeTrack track;
    track.uri = QStringLiteral("x-file-cifs://nas/%1.mp3").arg(n);
    track.title = QStringLiteral("Track %1").arg(n);
    track.durationSeconds = seconds;
    return track;
}

TEST(HouseholdCommands, OneSpeakersCommandsRunInOrderWhileAnotherSpeakersGoAhead) {
    START_HOUSEHOLD(rig, 50);
    rig.makeController();
    rig.fake.holdReplies(rig.id(1), true);

    auto first = rig.sendInBackground(SonosCommand::setVolume(volume(10), VolumeTarget::speaker(rig.uuid(1))));
    auto second = rig.sendInBackground(SonosCommand::setVolume(volume(20), VolumeTarget::speaker(rig.uuid(1))));
    auto other = rig.sendInBackground(SonosCommand::setVolume(volume(30), VolumeTarget::speaker(rig.uuid(2))));

    ASSERT_TRUE(waitUntil([&] { return other->has_value(); }));
    EXPECT_EQ(*other, succeeded(CommandOutcome::applied()));
    ASSERT_TRUE(waitUntil([&] { return rig.fake.heldReplyCount(rig.id(1)) == 1; }));
    EXPECT_FALSE(first->has_value());
    EXPECT_EQ(actionsOf(rig.fake, rig.id(1)), QStringList{QStringLiteral("RenderingControl#SetVolume Master 10")})
        << "the second waits for the first to be answered";

    rig.fake.releaseHeldReplies(rig.id(1));
    ASSERT_TRUE(waitUntil([&] { return first->has_value() && rig.fake.heldReplyCount(rig.id(1)) == 1; }));
    EXPECT_FALSE(second->has_value());
    rig.fake.holdReplies(rig.id(1), false);
    ASSERT_TRUE(waitUntil([&] { return second->has_value(); }));

    EXPECT_EQ(*first, succeeded(CommandOutcome::applied()));
    EXPECT_EQ(*second, succeeded(CommandOutcome::applied()));
    EXPECT_EQ(actionsOf(rig.fake, rig.id(1)), (QStringList{QStringLiteral("RenderingControl#SetVolume Master 10"),
                                                           QStringLiteral("RenderingControl#SetVolume Master 20")}));
    EXPECT_EQ(rig.fake.model().speaker(rig.id(1)).volume, 20);
}

TEST(HouseholdCommands, VolumeAndTransportGoToTheRightSpeaker) {
    START_HOUSEHOLD(rig, 51);
    rig.fake.seedDemoContent();  // 0 leads 1 and plays its queue
    rig.makeController();

    struct Case {
        SonosCommand command;
        int speaker;
        QStringList actions;
    };
    const Case cases[] = {
        {SonosCommand::setVolume(volume(44), VolumeTarget::group(rig.group(0))), 0,
         {QStringLiteral("GroupRenderingControl#SnapshotGroupVolume"), QStringLiteral("GroupRenderingControl#SetGroupVolume 44")}},
        {SonosCommand::setVolume(volume(12), VolumeTarget::speaker(rig.uuid(1))), 1,
         {QStringLiteral("RenderingControl#SetVolume Master 12")}},
        {SonosCommand::playPause(PlayPause::pause, rig.group(0)), 0, {QStringLiteral("AVTransport#Pause")}},
        {SonosCommand::playPause(PlayPause::play, rig.group(0)), 0, {QStringLiteral("AVTransport#Play 1")}},
        {SonosCommand::nextTrack(rig.group(0)), 0, {QStringLiteral("AVTransport#GetMediaInfo"), QStringLiteral("AVTransport#Next")}},
        {SonosCommand::previousTrack(rig.group(0)), 0,
         {QStringLiteral("AVTransport#GetMediaInfo"), QStringLiteral("AVTransport#Previous")}},
        {SonosCommand::seekToQueueTrack(5, rig.group(0)), 0,
         {QStringLiteral("AVTransport#GetMediaInfo"), QStringLiteral("AVTransport#Seek TRACK_NR 5"),
          QStringLiteral("AVTransport#Play 1")}},
    };
    for (const Case& c : cases) {
        rig.fake.clearRequests();
        EXPECT_EQ(rig.send(c.command), succeeded(CommandOutcome::applied())) << c.command.caseName();
        EXPECT_EQ(actionsOf(rig.fake, rig.id(c.speaker)), c.actions) << c.command.caseName();
    }
    EXPECT_EQ(rig.fake.model().playback(rig.id(0)).trackNumber, 5);
    EXPECT_EQ(rig.fake.model().speaker(rig.id(1)).volume, 12);
}

TEST(HouseholdCommands, SkippingIsRefusedForSourcesThatCannotSkip) {
    START_HOUSEHOLD(rig, 52, RigOptions{.speakers = 2});
    rig.fake.model().setQueue(rig.id(0), {fakeTrack(1), fakeTrack(2)});
    rig.makeController();
    for (const char* uri : {"x-sonos-htastream:%1:spdif", "x-rincon-stream:%1", "x-sonosapi-stream:s24940?sid=254&flags=8224&sn=0"}) {
        fakes::FakePlayback& playback = rig.fake.model().editPlayback(rig.id(0));
        playback.currentUri = QString::fromLatin1(uri).replace(QStringLiteral("%1"), rig.id(0));
        playback.trackNumber = 1;
        playback.transportState = QStringLiteral("PLAYING");
        EXPECT_EQ(rig.send(SonosCommand::nextTrack(rig.group(0))), failed(SonosCommandError::unsupportedForCurrentSource())) << uri;
    }
    EXPECT_EQ(rig.requestCount(QStringLiteral("AVTransport#Next")), 0);
}

TEST(HouseholdCommands, ASpotifyItemIsQueuedAfterTheCurrentEntryAndPlayed) {
    START_HOUSEHOLD(rig, 56);
    rig.fake.seedDemoContent();  // the queue plays its second entry; the service is linked
    rig.makeController();
    const SpotifyURI item = *SpotifyURI::make("spotify:track:6rqhFgbbKwnb9MLmUQDhG6");
    const SpotifyTrackMetadata metadata{"Harbour", "Lights", std::nullopt, std::nullopt, std::nullopt};

    EXPECT_EQ(rig.send(SonosCommand::enqueueAndPlaySpotify(item, metadata, rig.group(0))),
              succeeded(CommandOutcome::applied()));
    const QStringList actions = actionsOf(rig.fake, rig.id(0));
    ASSERT_EQ(actions.size(), 6) << actions.join('\n').toStdString();
    EXPECT_EQ(actions[0], QStringLiteral("GET /status/accounts"));
    EXPECT_EQ(actions[1], QStringLiteral("AVTransport#GetMediaInfo"));
    EXPECT_EQ(actions[2], QStringLiteral("AVTransport#GetPositionInfo"));
    EXPECT_TRUE(actions[3].startsWith(QStringLiteral("AVTransport#AddURIToQueue x-sonos-spotify:spotify%3atrack%3a6rqhFgbbKwnb9MLmUQDhG6?sid=12&flags=8224&sn=2 3 1")))
        << actions[3].toStdString();
    EXPECT_EQ(actions.mid(4), (QStringList{QStringLiteral("AVTransport#Seek TRACK_NR 3"), QStringLiteral("AVTransport#Play 1")}))
        << "the position is only sought when asked for";
    EXPECT_EQ(rig.fake.model().playback(rig.id(0)).queue[2].title, QStringLiteral("Harbour"));
}

TEST(HouseholdCommands, ASpotifyItemWithAStartPlaysFromTheTopWhenTheQueueIsNotPlaying) {
    START_HOUSEHOLD(rig, 57, RigOptions{.speakers = 2});
    rig.fake.model().setAccounts({fakes::FakeAccount{}});
    rig.fake.model().setQueue(rig.id(1), {fakeTrack(1)});
    rig.fake.model().editPlayback(rig.id(1)).currentUri = QStringLiteral("x-rincon-mp3radio:radio.example/stream");
    rig.makeController();
    const SpotifyURI item = *SpotifyURI::make("spotify:track:6rqhFgbbKwnb9MLmUQDhG6");

    EXPECT_EQ(rig.send(SonosCommand::enqueueAndPlaySpotify(item, {"Harbour", "Lights", std::nullopt, std::nullopt,
                                                                  Duration::seconds(std::int64_t{200})},
                                                           rig.group(1), Duration::seconds(std::int64_t{0}))),
              succeeded(CommandOutcome::applied()));
    const QStringList actions = actionsOf(rig.fake, rig.id(1));
    ASSERT_EQ(actions.size(), 7) << actions.join('\n').toStdString();
    EXPECT_TRUE(actions[2].contains(QStringLiteral(" 1 1"))) << "first in the queue: " << actions[2].toStdString();
    EXPECT_EQ(actions.mid(3), (QStringList{QStringLiteral("AVTransport#SetAVTransportURI x-rincon-queue:") + rig.id(1) +
                                               QStringLiteral("#0 "),
                                           QStringLiteral("AVTransport#Seek TRACK_NR 1"), QStringLiteral("AVTransport#Play 1"),
                                           QStringLiteral("AVTransport#Seek REL_TIME 0:00:00")}));
}

TEST(HouseholdCommands, FailuresReadAsTheirCause) {
    START_HOUSEHOLD(rig, 58);
    rig.fake.seedDemoContent();
    rig.makeController();
    const SpotifyURI item = *SpotifyURI::make("spotify:track:6rqhFgbbKwnb9MLmUQDhG6");
    const SpotifyTrackMetadata metadata{"Harbour", "Lights", std::nullopt, std::nullopt, std::nullopt};
    rig.fake.setReachability(rig.id(3), fakes::Reachability::Refused);
    rig.fake.failRequests(fakes::FakeTarget::action(QStringLiteral("AVTransport#Play"), rig.id(2)), 701, 1);
    ASSERT_EQ(rig.send(SonosCommand::ungroup(rig.uuid(3))), succeeded(CommandOutcome::alreadySatisfied()));

    EXPECT_EQ(rig.send(SonosCommand::setVolume(volume(5), VolumeTarget::speaker(rig.uuid(3)))),
              failed(SonosCommandError::speakerUnreachable(rig.uuid(3))));
    EXPECT_EQ(rig.send(SonosCommand::playPause(PlayPause::play, rig.group(2))),
              failed(SonosCommandError::speakerRejected("UPnP error 701")));
    EXPECT_EQ(rig.send(SonosCommand::playPause(PlayPause::play, rig.group(1))),
              failed(SonosCommandError::groupDissolved(rig.group(1))))
        << "1 follows 0";
    EXPECT_EQ(rig.send(SonosCommand::seekToQueueTrack(40, rig.group(0))),
              failed(SonosCommandError::speakerRejected("UPnP error 711")));

    fakes::FakeAccount unlinked;
    unlinked.deleted = true;
    rig.fake.model().setAccounts({unlinked});
    EXPECT_EQ(rig.send(SonosCommand::enqueueAndPlaySpotify(item, metadata, rig.group(0))),
              failed(SonosCommandError::spotifyNotLinkedOnSonos()));
    EXPECT_EQ(rig.requestCount(QStringLiteral("AVTransport#AddURIToQueue")), 0);
}

std::vector<PresetPill> somePresets(const HouseholdRig& rig) {
    return {PresetPill(PresetID::random(), "Evening", rig.uuid(0), {rig.uuid(1), rig.uuid(2)}),
            PresetPill(PresetID::random(), "Kitchen \"only\" & <more>", rig.uuid(1), std::set<SpeakerUUID>{})};
}

TEST(HouseholdValues, PresetsAndTheSystemNameRoundTripThroughTheSpeakers) {
    START_HOUSEHOLD(rig, 60);
    rig.makeController();
    Subscription subscription(rig.controller->snapshots());
    ASSERT_TRUE(subscription.waitForCount(1));
    ASSERT_TRUE(rig.settle());
    ASSERT_EQ(subscription.last().presets(), std::optional(std::vector<PresetPill>{}));
    EXPECT_FALSE(subscription.last().networkName());
    const auto reads = rig.requestCount(QStringLiteral("SystemProperties#GetString"));

    const std::vector<PresetPill> presets = somePresets(rig);
    EXPECT_EQ(rig.send(SonosCommand::savePresets(presets)), succeeded(CommandOutcome::applied()));
    EXPECT_EQ(rig.send(SonosCommand::setSystemName("Maple Street")), succeeded(CommandOutcome::applied()));
    EXPECT_EQ(rig.fake.model().systemProperty(QStringLiteral("Orvella_SystemName")), QStringLiteral("Maple Street"));
    EXPECT_EQ(rig.fake.model().systemProperty(QStringLiteral("Orvella_Presets_v1")),
              QString::fromStdString(presetListToJsonText(presets)));

    ASSERT_TRUE(rig.settle());
    ASSERT_TRUE(rig.nextSweep());
    ASSERT_EQ(subscription.count(), 2u);
    EXPECT_EQ(subscription.last().presets(), presets);
    EXPECT_EQ(subscription.last().networkName(), "Maple Street");
    EXPECT_EQ(rig.requestCount(QStringLiteral("SystemProperties#GetString")), reads) << "written values need no reading";

    // Another controller on the same household reads them back.
    rig.controller.reset();
    rig.makeController();
    Subscription fresh(rig.controller->snapshots());
    ASSERT_TRUE(fresh.waitForCount(1));
    EXPECT_EQ(fresh.last().presets(), presets);
    EXPECT_EQ(fresh.last().networkName(), "Maple Street");
}

// An entry no reader of presets takes hides none of the others, and every save writes it back
// byte for byte at its place. A save before the list was read reads it first and keeps what the
// speakers hold; when it cannot read the list, it saves nothing.
TEST(HouseholdValues, PresetEntriesTheControllerCannotReadSurviveItsSaves) {
    START_HOUSEHOLD(rig, 62);
    const QString variable = QStringLiteral("Orvella_Presets_v1");
    const PresetPill evening(PresetID::random(), "Evening", rig.uuid(0), {rig.uuid(1)});
    const PresetPill kitchen(PresetID::random(), "Kitchen", rig.uuid(2), std::set<SpeakerUUID>{});
    const PresetPill late(PresetID::random(), "Late", rig.uuid(3), std::set<SpeakerUUID>{});
    const PresetPill renamed = kitchen.renamed("Kitchen only");
    const std::string foreign = R"({ "id": {"rawValue": "not a UUID"}, "name": "Someone else's" })";
    auto stored = [&] { return rig.fake.model().systemProperty(variable).value_or(QString()).toStdString(); };
    rig.fake.model().setSystemProperty(variable, QString::fromStdString("[" + presetToJsonText(evening) + ",\n  " + foreign +
                                                                        ", " + presetToJsonText(kitchen) + "]"));
    rig.makeController();
    Subscription subscription(rig.controller->snapshots());
    ASSERT_TRUE(subscription.waitForCount(1));
    EXPECT_EQ(subscription.last().presets(), (std::vector<PresetPill>{evening, kitchen}));

    EXPECT_EQ(rig.send(SonosCommand::savePresets({evening, renamed, late})), succeeded(CommandOutcome::applied()));
    const std::string saved = "[" + presetToJsonText(evening) + "," + foreign + "," + presetToJsonText(renamed) + "," +
                              presetToJsonText(late) + "]";
    EXPECT_EQ(stored(), saved);

    // A controller that has not read the list yet.
    rig.controller.reset();
    rig.makeController();
    rig.fake.failRequests(fakes::FakeTarget::action(QStringLiteral("SystemProperties#GetString")), 501, 1);
    EXPECT_EQ(rig.send(SonosCommand::savePresets({kitchen})), failed(SonosCommandError::speakerRejected("UPnP error 501")));
    EXPECT_EQ(stored(), saved);
    EXPECT_EQ(rig.requestCount(QStringLiteral("SystemProperties#SetString")), 1);
    const PresetPill dinner(PresetID::random(), "Dinner", rig.uuid(1), std::set<SpeakerUUID>{});
    EXPECT_EQ(rig.send(SonosCommand::savePresets({dinner})), succeeded(CommandOutcome::applied()));
    EXPECT_EQ(stored(), saved.substr(0, saved.size() - 1) + "," + presetToJsonText(dinner) + "]");
}

// Byte order marks before the stored list, however many, hide none of its presets; text that is
// no JSON at all is kept as a string entry; entries of a JSON list the parser refuses on their own
// hide only themselves. Either way the next save writes a JSON list again, which every controller
// reads.
TEST(HouseholdValues, SavesMakeAStoredListOfAnyShapeJsonAgain) {
    START_HOUSEHOLD(rig, 63);
    const QString variable = QStringLiteral("Orvella_Presets_v1");
    const PresetPill evening(PresetID::random(), "Evening", rig.uuid(0), {rig.uuid(1)});
    const PresetPill late(PresetID::random(), "Late", rig.uuid(3), std::set<SpeakerUUID>{});
    auto stored = [&] { return rig.fake.model().systemProperty(variable).value_or(QString()).toStdString(); };
    const QString marks(2, QChar(0xFEFF));
    rig.fake.model().setSystemProperty(variable, marks + QString::fromStdString(presetListToJsonText({evening})));
    rig.makeController();
    Subscription subscription(rig.controller->snapshots());
    ASSERT_TRUE(subscription.waitForCount(1));
    EXPECT_EQ(subscription.last().presets(), std::vector<PresetPill>{evening});
    EXPECT_EQ(rig.send(SonosCommand::savePresets({evening, late})), succeeded(CommandOutcome::applied()));
    EXPECT_EQ(stored(), presetListToJsonText({evening, late}));

    // A controller that saves before it has read the list.
    rig.controller.reset();
    rig.fake.model().setSystemProperty(variable, marks + QStringLiteral("Evening; Kitchen"));
    rig.makeController();
    EXPECT_EQ(rig.send(SonosCommand::savePresets({late})), succeeded(CommandOutcome::applied()));
    EXPECT_EQ(stored(), "[\"Evening; Kitchen\"," + presetToJsonText(late) + "]");

    // Another controller cut a name between the halves of a surrogate pair, and wrote a number
    // beyond a double: JSON all the same, so only those two entries are set aside.
    rig.controller.reset();
    const std::string cut = R"({"id":{"rawValue":"6F9619FF-8B86-D011-B42D-00C04FC964FF"},"name":"Party \ud83d",)"
                            R"("coordinatorUUID":")" + rig.uuid(2).rawValue() + R"(","memberUUIDs":[]})";
    rig.fake.model().setSystemProperty(variable, QString::fromStdString("[" + presetToJsonText(evening) + "," + cut + ",1e400]"));
    rig.makeController();
    Subscription odd(rig.controller->snapshots());
    ASSERT_TRUE(odd.waitForCount(1));
    EXPECT_EQ(odd.last().presets(), std::vector<PresetPill>{evening});
    EXPECT_EQ(rig.send(SonosCommand::savePresets({evening, late})), succeeded(CommandOutcome::applied()));
    EXPECT_EQ(stored(), "[" + presetToJsonText(evening) + "," + cut + ",1e400," + presetToJsonText(late) + "]");
}

TEST(HouseholdValues, AreWrittenToTheFirstSpeakerThatAnswers) {
    START_HOUSEHOLD(rig, 61);
    rig.makeController();
    // A grouping command reads the household first, so its speakers are known.
    ASSERT_EQ(rig.send(SonosCommand::ungroup(rig.uuid(2))), succeeded(CommandOutcome::alreadySatisfied()));
    rig.fake.setReachability(rig.id(0), fakes::Reachability::Refused);
    EXPECT_EQ(rig.send(SonosCommand::setSystemName("Attic")), succeeded(CommandOutcome::applied()));
    EXPECT_EQ(rig.fake.requestLog(rig.id(1)), QStringList{QStringLiteral("SystemProperties#SetString")});

    rig.fake.failRequests(fakes::FakeTarget::action(QStringLiteral("SystemProperties#SetString")), 402);
    EXPECT_EQ(rig.send(SonosCommand::savePresets(somePresets(rig))), failed(SonosCommandError::speakerRejected("UPnP error 402")));

    for (int i = 1; i < 4; ++i) rig.fake.setReachability(rig.id(i), fakes::Reachability::Refused);
    EXPECT_EQ(rig.send(SonosCommand::setSystemName("Cellar")), failed(SonosCommandError::speakerUnreachable(rig.uuid(0))));
}

}  // namespace
