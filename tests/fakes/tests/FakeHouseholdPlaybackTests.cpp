// Address blocks 30-59.
#include <gtest/gtest.h>

#include "TestHousehold.h"
#include "fakes/FakeDocuments.h"

namespace orvel::fakes {
namespace {

using namespace testing;

struct Step {
    QString action;
    SoapValues arguments;
};

TEST(FakeHouseholdTransport, commandsMoveTheTransportOrAreRefused) {
    struct TransportCase {
        const char* name;
        QString source;  // "queue", a URI, or empty for no media
        int queueLength;
        QString state;
        int track;
        QList<Step> steps;
        int faultCode;  // of the last step
        QString stateAfter;
        int trackAfter;
        int relAfter;
    };
    const Step play{"AVTransport#Play", {{"InstanceID", "0"}, {"Speed", "1"}}};
    const Step pause{"AVTransport#Pause", kInstance};
    const Step next{"AVTransport#Next", kInstance};
    const Step previous{"AVTransport#Previous", kInstance};
    const auto seek = [](const char* unit, const char* target) {
        return Step{"AVTransport#Seek", {{"InstanceID", "0"}, {"Unit", unit}, {"Target", target}}};
    };
    const QString radio = QStringLiteral("x-sonosapi-stream:s1?sid=254");
    const QString tv = QStringLiteral("x-sonos-htastream:RINCON_000E58C9200201400:spdif");
    const QList<TransportCase> cases = {
        {"play the queue", "queue", 3, "STOPPED", 1, {play}, 0, "PLAYING", 1, 0},
        {"play an empty queue", "queue", 0, "STOPPED", 0, {play}, upnp::transitionNotAvailable, "STOPPED", 0, 0},
        {"play without media", "", 0, "NO_MEDIA_PRESENT", 0, {play}, upnp::transitionNotAvailable, "NO_MEDIA_PRESENT", 0, 0},
        {"play at another speed", "queue", 3, "STOPPED", 1, {{"AVTransport#Play", {{"InstanceID", "0"}, {"Speed", "2"}}}},
         upnp::invalidArgs, "STOPPED", 1, 0},
        {"pause", "queue", 3, "PLAYING", 2, {pause}, 0, "PAUSED_PLAYBACK", 2, 0},
        {"pause when paused", "queue", 3, "PAUSED_PLAYBACK", 2, {pause}, 0, "PAUSED_PLAYBACK", 2, 0},
        {"pause when stopped", "queue", 3, "STOPPED", 2, {pause}, upnp::transitionNotAvailable, "STOPPED", 2, 0},
        {"pause the TV", tv, 0, "PLAYING", 1, {pause}, upnp::transitionNotAvailable, "PLAYING", 1, 0},
        {"pause the radio", radio, 0, "PLAYING", 1, {pause}, 0, "PAUSED_PLAYBACK", 1, 0},
        {"next", "queue", 3, "PLAYING", 1, {next, next}, 0, "PLAYING", 3, 0},
        {"next past the end", "queue", 3, "PLAYING", 3, {next}, upnp::illegalSeekTarget, "PLAYING", 3, 0},
        {"previous", "queue", 3, "PLAYING", 3, {previous}, 0, "PLAYING", 2, 0},
        {"previous before the start", "queue", 3, "PLAYING", 1, {previous}, upnp::illegalSeekTarget, "PLAYING", 1, 0},
        {"next on the radio", radio, 0, "PLAYING", 1, {next}, upnp::transitionNotAvailable, "PLAYING", 1, 0},
        {"seek a queue entry", "queue", 5, "STOPPED", 1, {seek("TRACK_NR", "4"), play}, 0, "PLAYING", 4, 0},
        {"seek entry zero", "queue", 5, "STOPPED", 1, {seek("TRACK_NR", "0")}, upnp::illegalSeekTarget, "STOPPED", 1, 0},
        {"seek past the queue", "queue", 5, "STOPPED", 1, {seek("TRACK_NR", "6")}, upnp::illegalSeekTarget, "STOPPED", 1, 0},
        {"seek an entry off the queue", radio, 0, "PLAYING", 1, {seek("TRACK_NR", "1")}, upnp::transitionNotAvailable, "PLAYING", 1, 0},
        {"seek in the track", "queue", 2, "PLAYING", 2, {seek("REL_TIME", "0:01:05")}, 0, "PLAYING", 2, 65},
        {"seek to the track's end", "queue", 2, "PLAYING", 2, {seek("REL_TIME", "0:03:20")}, 0, "PLAYING", 2, 200},
        {"seek past the track", "queue", 2, "PLAYING", 2, {seek("REL_TIME", "0:03:21")}, upnp::illegalSeekTarget, "PLAYING", 2, 0},
        {"seek to a malformed time", "queue", 2, "PLAYING", 2, {seek("REL_TIME", "1:5")}, upnp::invalidArgs, "PLAYING", 2, 0},
        {"seek to seconds over 59", "queue", 2, "PLAYING", 2, {seek("REL_TIME", "0:00:60")}, upnp::invalidArgs, "PLAYING", 2, 0},
        {"seek by an unknown unit", "queue", 2, "PLAYING", 2, {seek("FRAME", "1")}, upnp::seekModeNotSupported, "PLAYING", 2, 0},
    };
    auto household = makeHousehold(30, 1);
    ASSERT_TRUE(household->start());
    const QString id = household->speakerId(0);
    for (const TransportCase& c : cases) {
        FakeHouseholdModel& model = household->model();
        model.setQueue(id, testTracks(c.queueLength));
        FakePlayback& playback = model.editPlayback(id);
        playback.currentUri = c.source == QLatin1String("queue") ? queueUriOf(id) : c.source;
        playback.transportState = c.state;
        playback.trackNumber = c.track;
        playback.relSeconds = 0;

        ActionResult last;
        for (const Step& step : c.steps) {
            last = callAction(*household, id, step.action, step.arguments);
            ASSERT_TRUE(last.finished) << c.name;
        }
        EXPECT_EQ(last.faultCode, c.faultCode) << c.name;
        const FakePlayback& after = model.playback(id);
        EXPECT_EQ(after.transportState, c.stateAfter) << c.name;
        EXPECT_EQ(after.trackNumber, c.trackAfter) << c.name;
        EXPECT_EQ(after.relSeconds, c.relAfter) << c.name;
    }
}

TEST(FakeHouseholdTransport, groupMembersAndSatellitesRefuseWhatOnlyACoordinatorDoes) {
    auto household = makeHousehold(31, 3);
    const QStringList ids = household->speakerIds();
    FakeHouseholdModel& model = household->model();
    model.setQueue(ids[0], testTracks(2));
    model.editPlayback(ids[0]).currentUri = queueUriOf(ids[0]);
    model.setGroup({ids[0], ids[1]});
    model.bond(ids[0], ids[2], SatelliteRole::Subwoofer);
    ASSERT_TRUE(household->start());
    const QList<Step> steps = {
        {"AVTransport#Play", {{"InstanceID", "0"}, {"Speed", "1"}}},
        {"AVTransport#Pause", kInstance},
        {"AVTransport#Next", kInstance},
        {"AVTransport#Seek", {{"InstanceID", "0"}, {"Unit", "TRACK_NR"}, {"Target", "1"}}},
        {"GroupRenderingControl#GetGroupVolume", kInstance},
        {"GroupRenderingControl#SnapshotGroupVolume", kInstance},
        {"GroupRenderingControl#SetGroupVolume", {{"InstanceID", "0"}, {"DesiredVolume", "10"}}},
        {"AVTransport#DelegateGroupCoordinationTo", {{"InstanceID", "0"}, {"NewCoordinator", ids[0]}, {"RejoinGroup", "1"}}},
    };
    for (const QString& notCoordinator : {ids[1], ids[2]})
        for (const Step& step : steps)
            EXPECT_EQ(callAction(*household, notCoordinator, step.action, step.arguments).faultCode, upnp::transitionNotAvailable)
                << step.action.toStdString();
    EXPECT_EQ(callAction(*household, ids[2], "AVTransport#BecomeCoordinatorOfStandaloneGroup", kInstance).faultCode,
              upnp::transitionNotAvailable);
    EXPECT_EQ(model.playback(ids[0]).transportState, QStringLiteral("STOPPED"));
}

TEST(FakeHouseholdTransport, positionAndMediaDescribeWhatPlays) {
    struct PositionCase {
        const char* name;
        QString uri, expectedTrack, expectedDuration, expectedRelTime;
        QString expectedTitle;  // of TrackMetaData; "NOT_IMPLEMENTED" when not DIDL
        QString expectedTrackUri;
    };
    auto household = makeHousehold(32, 1);
    ASSERT_TRUE(household->start());
    const QString id = household->speakerId(0);
    const QString radio = QStringLiteral("x-sonosapi-stream:s24940?sid=254&flags=8224&sn=0");
    const QString tv = QStringLiteral("x-sonos-htastream:") + id + QStringLiteral(":spdif");
    const QString lineIn = QStringLiteral("x-rincon-stream:") + id;
    const QList<PositionCase> cases = {
        {"queue, a title with markup", queueUriOf(id), "2", "0:03:20", "0:01:05", "Rock & Roll <Live>", testTrack(2).uri},
        {"radio", radio, "1", "0:00:00", "0:01:05", "Radio Paradise", radio},
        {"television", tv, "1", "NOT_IMPLEMENTED", "NOT_IMPLEMENTED", "NOT_IMPLEMENTED", tv},
        {"line-in", lineIn, "1", "NOT_IMPLEMENTED", "NOT_IMPLEMENTED", "NOT_IMPLEMENTED", lineIn},
        {"nothing", "", "0", "0:00:00", "0:00:00", "", ""},
    };
    QList<FakeTrack> tracks = testTracks(3);
    tracks[1].title = QStringLiteral("Rock & Roll <Live>");
    for (const PositionCase& c : cases) {
        household->model().setQueue(id, tracks);
        FakePlayback& playback = household->model().editPlayback(id);
        playback.currentUri = c.uri;
        playback.currentUriMetaData = c.uri == radio ? streamDidl(QStringLiteral("Radio Paradise"), {}) : QString();
        playback.streamContent = QStringLiteral("Harbour Lights - Low Tide");
        playback.trackNumber = 2;
        playback.relSeconds = 65;

        const ActionResult position = callAction(*household, id, "AVTransport#GetPositionInfo", kInstance);
        ASSERT_TRUE(position.ok()) << c.name;
        EXPECT_EQ(position.output("Track"), c.expectedTrack) << c.name;
        EXPECT_EQ(position.output("TrackDuration"), c.expectedDuration) << c.name;
        EXPECT_EQ(position.output("RelTime"), c.expectedRelTime) << c.name;
        EXPECT_EQ(position.output("TrackURI"), c.expectedTrackUri) << c.name;
        const QString metadata = position.output("TrackMetaData");
        if (c.expectedTitle == QLatin1String("NOT_IMPLEMENTED") || c.expectedTitle.isEmpty()) {
            EXPECT_EQ(metadata, c.expectedTitle) << c.name;
        } else {
            EXPECT_TRUE(isWellFormed(metadata)) << c.name;
            EXPECT_EQ(elementsNamed(parseElements(metadata), "dc:title").value(0).text, c.expectedTitle) << c.name;
        }
        const ActionResult media = callAction(*household, id, "AVTransport#GetMediaInfo", kInstance);
        EXPECT_EQ(media.output("CurrentURI"), c.uri) << c.name;
    }
}

// --- volume ---

TEST(FakeHouseholdVolume, speakerVolumeIsSetAndReadAndChecked) {
    auto household = makeHousehold(34, 2);
    ASSERT_TRUE(household->start());
    const QString id = household->speakerId(1);
    const auto set = [&](const char* channel, const char* volume) {
        return callAction(*household, id, "RenderingControl#SetVolume",
                          {{"InstanceID", "0"}, {"Channel", channel}, {"DesiredVolume", volume}});
    };
    struct Case {
        const char* channel;
        const char* volume;
        int fault;
        int after;
    };
    const QList<Case> cases = {
        {"Master", "35", 0, 35},   {"Master", "0", 0, 0},      {"Master", "100", 0, 100},
        {"Master", "101", 402, 100}, {"Master", "-1", 402, 100}, {"Master", "5.5", 402, 100},
        {"Master", "", 402, 100},  {"LF", "20", 402, 100},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(set(c.channel, c.volume).faultCode, c.fault) << c.volume;
        EXPECT_EQ(callAction(*household, id, "RenderingControl#GetVolume", {{"InstanceID", "0"}, {"Channel", "Master"}})
                      .output("CurrentVolume"),
                  QString::number(c.after))
            << c.volume;
    }
    EXPECT_EQ(household->model().speaker(household->speakerId(0)).volume, 20);
}

TEST(FakeHouseholdVolume, groupVolumeIsTheMembersAverageAndMovesThemInProportion) {
    auto household = makeHousehold(35, 3);
    const QStringList ids = household->speakerIds();
    FakeHouseholdModel& model = household->model();
    model.setGroup({ids[0], ids[1], ids[2]});
    model.editSpeaker(ids[0]).volume = 10;
    model.editSpeaker(ids[1]).volume = 20;
    model.editSpeaker(ids[2]).volume = 60;
    ASSERT_TRUE(household->start());
    const auto groupVolume = [&] {
        return callAction(*household, ids[0], "GroupRenderingControl#GetGroupVolume", kInstance).output("CurrentVolume");
    };
    const auto setGroupVolume = [&](const char* volume) {
        return callAction(*household, ids[0], "GroupRenderingControl#SetGroupVolume", {{"InstanceID", "0"}, {"DesiredVolume", volume}});
    };
    EXPECT_EQ(groupVolume(), QStringLiteral("30"));
    ASSERT_TRUE(callAction(*household, ids[0], "GroupRenderingControl#SnapshotGroupVolume", kInstance).ok());
    ASSERT_TRUE(setGroupVolume("15").ok());
    EXPECT_EQ(model.speaker(ids[0]).volume, 5);
    EXPECT_EQ(model.speaker(ids[1]).volume, 10);
    EXPECT_EQ(model.speaker(ids[2]).volume, 30);
    EXPECT_EQ(groupVolume(), QStringLiteral("15"));
    // The snapshot stays the base, so going back restores the members exactly.
    ASSERT_TRUE(setGroupVolume("30").ok());
    EXPECT_EQ(model.speaker(ids[2]).volume, 60);
    // Loud members stop at 100.
    ASSERT_TRUE(setGroupVolume("100").ok());
    EXPECT_EQ(model.speaker(ids[2]).volume, 100);
    EXPECT_EQ(setGroupVolume("101").faultCode, upnp::invalidArgs);
}

// --- queue ---

TEST(FakeHouseholdQueue, browseReturnsPagesOfAtMostAHundredInQueueOrder) {
    struct BrowseCase { int start, count, returned, firstNumber; };
    auto household = makeHousehold(36, 1);
    ASSERT_TRUE(household->start());
    const QString id = household->speakerId(0);
    household->model().setQueue(id, testTracks(250));
    const QList<BrowseCase> cases = {{0, 0, 100, 1}, {0, 10, 10, 1}, {100, 500, 100, 101}, {200, 100, 50, 201}, {250, 10, 0, 0}, {999, 5, 0, 0}};
    for (const BrowseCase& c : cases) {
        const ActionResult result = callAction(*household, id, "ContentDirectory#Browse",
                                               {{"ObjectID", "Q:0"},
                                                {"BrowseFlag", "BrowseDirectChildren"},
                                                {"Filter", "dc:title,res,dc:creator,upnp:artist,upnp:album,upnp:albumArtURI"},
                                                {"StartingIndex", QString::number(c.start)},
                                                {"RequestedCount", QString::number(c.count)},
                                                {"SortCriteria", ""}});
        ASSERT_TRUE(result.ok()) << c.start;
        EXPECT_EQ(result.output("NumberReturned"), QString::number(c.returned)) << c.start;
        EXPECT_EQ(result.output("TotalMatches"), QStringLiteral("250")) << c.start;
        const QList<XmlElement> items = elementsNamed(parseElements(result.output("Result")), "item");
        ASSERT_EQ(items.size(), c.returned) << c.start;
        if (c.returned > 0) {
            EXPECT_EQ(items.front().attribute("id"), QStringLiteral("Q:0/%1").arg(c.firstNumber));
            EXPECT_EQ(items.back().attribute("id"), QStringLiteral("Q:0/%1").arg(c.firstNumber + c.returned - 1));
        }
    }
    const auto refused = [&](const char* object, const char* flag, const char* start) {
        return callAction(*household, id, "ContentDirectory#Browse",
                          {{"ObjectID", object}, {"BrowseFlag", flag}, {"Filter", "*"}, {"StartingIndex", start},
                           {"RequestedCount", "10"}, {"SortCriteria", ""}})
            .faultCode;
    };
    EXPECT_EQ(refused("A:ARTIST", "BrowseDirectChildren", "0"), upnp::noSuchObject);
    EXPECT_EQ(refused("Q:0", "BrowseMetadata", "0"), upnp::invalidArgs);
    EXPECT_EQ(refused("Q:0", "BrowseDirectChildren", "-1"), upnp::invalidArgs);
}

TEST(FakeHouseholdQueue, enqueuedItemsLandWhereAskedAndKeepTheCurrentEntryPlaying) {
    struct EnqueueCase {
        const char* name;
        bool playingQueue;
        int currentTrack;
        QString desired, asNext;
        int fault, position, trackAfter;
    };
    const QList<EnqueueCase> cases = {
        {"after the current entry", true, 2, "3", "1", 0, 3, 2},
        {"at the front while playing", true, 2, "1", "1", 0, 1, 3},
        {"next by itself", true, 2, "0", "1", 0, 3, 2},
        {"appended", true, 2, "0", "0", 0, 5, 2},
        {"beyond the end", true, 2, "9", "1", 0, 5, 2},
        {"first when nothing plays", false, 0, "1", "1", 0, 1, 0},
        {"unreadable position", true, 2, "x", "1", upnp::invalidArgs, 0, 2},
        {"unreadable flag", true, 2, "1", "yes", upnp::invalidArgs, 0, 2},
    };
    const QString spotifyUri = QStringLiteral("x-sonos-spotify:spotify%3atrack%3a6rqhFgbbKwnb9MLmUQDhG6?sid=12&flags=8224&sn=2");
    const QString metadata = QStringLiteral(
        "<DIDL-Lite xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:upnp=\"urn:schemas-upnp-org:metadata-1-0/upnp/\" "
        "xmlns:r=\"urn:schemas-rinconnetworks-com:metadata-1-0/\" xmlns=\"urn:schemas-upnp-org:metadata-1-0/DIDL-Lite/\">"
        "<item id=\"10032020spotify%3atrack%3a6rqhFgbbKwnb9MLmUQDhG6\" parentID=\"\" restricted=\"true\">"
        "<dc:title>Speak &amp; Spell</dc:title><upnp:class>object.item.audioItem.musicTrack</upnp:class>"
        "<desc id=\"cdudn\" nameSpace=\"urn:schemas-rinconnetworks-com:metadata-1-0/\">SA_RINCON3079_X_#Svc3079-0-Token</desc>"
        "</item></DIDL-Lite>");
    auto household = makeHousehold(40, 1);
    ASSERT_TRUE(household->start());
    const QString id = household->speakerId(0);
    for (const EnqueueCase& c : cases) {
        household->model().setQueue(id, testTracks(4));
        FakePlayback& playback = household->model().editPlayback(id);
        playback.currentUri = c.playingQueue ? queueUriOf(id) : QStringLiteral("x-sonosapi-stream:s1");
        playback.trackNumber = c.currentTrack;

        const ActionResult result = callAction(*household, id, "AVTransport#AddURIToQueue",
                                               {{"InstanceID", "0"},
                                                {"EnqueuedURI", spotifyUri},
                                                {"EnqueuedURIMetaData", metadata},
                                                {"DesiredFirstTrackNumberEnqueued", c.desired},
                                                {"EnqueueAsNext", c.asNext}});
        EXPECT_EQ(result.faultCode, c.fault) << c.name;
        EXPECT_EQ(household->model().playback(id).trackNumber, c.trackAfter) << c.name;
        if (c.fault) continue;
        EXPECT_EQ(result.output("FirstTrackNumberEnqueued"), QString::number(c.position)) << c.name;
        EXPECT_EQ(result.output("NewQueueLength"), QStringLiteral("5")) << c.name;
        const FakeTrack& added = household->model().speaker(id).playback.queue.at(c.position - 1);
        EXPECT_EQ(added.uri, spotifyUri) << c.name;
        EXPECT_EQ(added.title, QStringLiteral("Speak & Spell")) << c.name;
    }
}

} // namespace
} // namespace orvel::fakes
