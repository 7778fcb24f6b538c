// orvella-fake-household: a household of fake speakers for running the application by hand,
// inside a private network namespace. Runs until killed.
//
//   orvella-fake-household [--first 127.0.0.2] [--count 4] [--address A ...] [--port 1400]
//                          [--grouping-delay-ms 300] [--bare | --showcase | --groups G]
//                          [--playing] [--report-sweeps] [--log-requests] [--hostile-names]
//                          [--rooms N] [--hang I] [--endless-header I] [--forbid I]
//                          [--presets many|large|emoji|malformed|long-names] [--artwork-bytes N]
//                          [--hostile-rooms | --plain-rooms] [--pause-after-ms MS] [--extender]

#include <cstdio>

#include <QElapsedTimer>
#include <QTimer>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>

#include <memory>

#include "MisbehavingHousehold.h"
#include "ShowcaseHousehold.h"
#include "fakes/FakeHousehold.h"

namespace {

bool isLoopbackV4(const QHostAddress& address) {
    bool isV4 = false;
    const quint32 value = address.toIPv4Address(&isV4);
    return isV4 && (value >> 24) == 127;
}

constexpr int maxRooms = 1000;

int fail(const QString& message) {
    std::fprintf(stderr, "orvella-fake-household: %s\n", qPrintable(message));
    return 2;
}

// Splits the speakers into `groups` groups of nearly equal size, each paused in its own queue:
// a quiet household of the kind that sits idle most of the day. With `playing`, every other
// group (the first, the third, ...) plays instead.
QStringList seedGroups(orvel::fakes::FakeHousehold& household, int groups, bool playing) {
    QStringList playingCoordinators;
    using orvel::fakes::FakeTrack;
    const QStringList ids = household.speakerIds();
    auto& model = household.model();
    const qsizetype count = ids.size();
    for (int g = 0; g < groups; ++g) {
        const qsizetype from = count * g / groups;
        const qsizetype to = count * (g + 1) / groups;
        if (from >= to) continue;
        const QStringList members = ids.mid(from, to - from);
        const QString& coordinator = members.front();
        model.setGroup(members);
        QList<FakeTrack> queue;
        for (int t = 1; t <= 6; ++t) {
            queue << FakeTrack::spotify(QStringLiteral("4uLU6hMCjMI75M1AX%1Q%2").arg(g, 3, 10, QLatin1Char('0')).arg(t),
                                        "Quiet Track", "The Idle Rooms", "Still Life", 180 + 7 * t);
        }
        model.setQueue(coordinator, queue);
        auto& playback = model.editPlayback(coordinator);
        playback.currentUri = QStringLiteral("x-rincon-queue:") + coordinator + QStringLiteral("#0");
        playback.trackNumber = 2;
        playback.relSeconds = 40 + g;
        const bool plays = playing && g % 2 == 0;
        playback.transportState = plays ? QStringLiteral("PLAYING") : QStringLiteral("PAUSED_PLAYBACK");
        if (plays) playingCoordinators << coordinator;
    }
    model.spreadRadioReadings(50, 12);
    model.setAccounts({orvel::fakes::FakeAccount{}});
    model.setSystemProperty(QStringLiteral("Orvella_SystemName"), QStringLiteral("Quiet Household"));
    return playingCoordinators;
}

// Moves the position of every group that still plays on by a second each second, into the next
// track of its queue at the end of one, as a speaker that plays reports it.
void advancePositions(orvel::fakes::FakeHousehold& household, const QStringList& coordinators) {
    if (coordinators.isEmpty()) return;
    auto* ticker = new QTimer(&household);
    ticker->setInterval(1000);
    QObject::connect(ticker, &QTimer::timeout, &household, [&household, coordinators] {
        for (const QString& coordinator : coordinators) {
            auto& playback = household.model().editPlayback(coordinator);
            if (playback.transportState != QLatin1String("PLAYING") || !playback.playsQueue()) continue;
            if (playback.trackNumber < 1 || playback.trackNumber > playback.queue.size()) continue;
            if (++playback.relSeconds < playback.queue[playback.trackNumber - 1].durationSeconds) continue;
            playback.relSeconds = 0;
            playback.trackNumber = playback.trackNumber % int(playback.queue.size()) + 1;
        }
    });
    ticker->start();
}

// One line on standard error per sweep of a controller, told by its zone group state read (each
// sweep starts with one): the requests since the previous one, how many of them were radio
// pages (telemetry), and the milliseconds since the fake started.
void reportSweeps(orvel::fakes::FakeHousehold& household) {
    struct Tally {
        QElapsedTimer clock;
        int requests = 0;
        int radioPages = 0;
    };
    auto tally = std::make_shared<Tally>();
    tally->clock.start();
    QObject::connect(&household, &orvel::fakes::FakeHousehold::requestReceived, &household,
                     [tally](const orvel::fakes::FakeRequest& request) {
                         if (request.target() == QLatin1String("ZoneGroupTopology#GetZoneGroupState") && tally->requests > 0) {
                             std::fprintf(stderr, "sweep requests=%d radio=%d at_ms=%lld\n", tally->requests,
                                          tally->radioPages, static_cast<long long>(tally->clock.elapsed()));
                             tally->requests = 0;
                             tally->radioPages = 0;
                         }
                         ++tally->requests;
                         if (request.path == QLatin1String("/status/proc/ath_rincon/status")) ++tally->radioPages;
                     });
}

} // namespace

int main(int argc, char** argv) {
    using orvel::fakes::FakeHousehold;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvella-fake-household"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Fake speakers on loopback addresses, for running the application by hand."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("first"), QStringLiteral("First address (127.0.0.0/8)."), QStringLiteral("address"),
                      QStringLiteral("127.0.0.2")});
    parser.addOption({QStringLiteral("count"), QStringLiteral("Number of speakers from --first on."), QStringLiteral("n"),
                      QStringLiteral("4")});
    parser.addOption({QStringLiteral("address"), QStringLiteral("A speaker address; repeatable; replaces --first and --count."),
                      QStringLiteral("address")});
    parser.addOption({QStringLiteral("port"), QStringLiteral("Port of every speaker."), QStringLiteral("port"),
                      QStringLiteral("1400")});
    parser.addOption({QStringLiteral("grouping-delay-ms"), QStringLiteral("Delay before grouping changes take effect."),
                      QStringLiteral("ms"), QStringLiteral("300")});
    parser.addOption({QStringLiteral("bare"), QStringLiteral("Standalone idle speakers without queue, accounts or radio readings.")});
    parser.addOption({QStringLiteral("groups"), QStringLiteral("Splits the speakers into this many groups, each paused in its own queue."),
                      QStringLiteral("g")});
    parser.addOption({QStringLiteral("playing"), QStringLiteral("With --groups: every other group plays, its position moving on.")});
    parser.addOption({QStringLiteral("report-sweeps"), QStringLiteral("Prints the requests of each controller sweep on standard error.")});
    parser.addOption({QStringLiteral("showcase"), QStringLiteral("A household of about nine rooms worth looking at, from --first on; ignores --count and --address.")});
    parser.addOption({QStringLiteral("hostile-names"), QStringLiteral("The showcase with rooms named long, right to left, under combining marks, blank.")});
    parser.addOption({QStringLiteral("log-requests"), QStringLiteral("Prints every request on standard error: \"request <address> <target> <unix ms>\".")});
    // Misbehaviour. Speakers are named by their index from 0, in address order.
    parser.addOption({QStringLiteral("rooms"), QStringLiteral("The household lists this many rooms (up to 1000); those past the speakers are listed only, nothing listens at their addresses."),
                      QStringLiteral("n")});
    parser.addOption({QStringLiteral("hang"), QStringLiteral("A speaker that accepts every connection and never answers; repeatable."), QStringLiteral("index")});
    parser.addOption({QStringLiteral("endless-header"), QStringLiteral("A speaker whose replies' header never ends; repeatable."), QStringLiteral("index")});
    parser.addOption({QStringLiteral("forbid"), QStringLiteral("A speaker that refuses every request with 403 Forbidden; repeatable."), QStringLiteral("index")});
    parser.addOption({QStringLiteral("presets"), QStringLiteral("The presets value: many (1000), large (about 4 MB), emoji (a name of 20000 emoji), malformed (one entry does not read) or long-names (eight ordinary names of 22 to 30 characters)."),
                      QStringLiteral("kind")});
    parser.addOption({QStringLiteral("artwork-bytes"), QStringLiteral("Album art replies announce and send this many bytes."), QStringLiteral("n")});
    parser.addOption({QStringLiteral("hostile-rooms"), QStringLiteral("Every room named with 200 characters: in turn emoji, right-to-left text, floods of combining marks, all mixed.")});
    parser.addOption({QStringLiteral("plain-rooms"), QStringLiteral("Every room named with 200 plain Latin characters (the twin of --hostile-rooms).")});
    parser.addOption({QStringLiteral("pause-after-ms"), QStringLiteral("The first speaker's group plays and is paused this long after start, as by another controller; prints \"paused <unix ms>\" on standard error."),
                      QStringLiteral("ms")});
    parser.addOption({QStringLiteral("extender"), QStringLiteral("The household lists a network extender: a group of its own with one invisible member, no room, at the first free address after the speakers; nothing listens there.")});
    parser.process(app);
    const bool showcase = parser.isSet(QStringLiteral("showcase")) || parser.isSet(QStringLiteral("hostile-names"));

    QList<QHostAddress> addresses;
    for (const QString& text : parser.values(QStringLiteral("address"))) addresses << QHostAddress(text);
    if (addresses.isEmpty()) {
        bool ok = false;
        const int count = parser.value(QStringLiteral("count")).toInt(&ok);
        if (!ok || count < 1 || count > maxRooms) return fail(QStringLiteral("--count must be 1 to %1").arg(maxRooms));
        const QHostAddress first(parser.value(QStringLiteral("first")));
        for (int i = 0; i < count; ++i) addresses << FakeHousehold::addressAfter(first, i);
    }
    for (const QHostAddress& address : addresses)
        if (!isLoopbackV4(address)) return fail(QStringLiteral("%1 is not a loopback address (127.0.0.0/8)").arg(address.toString()));

    bool ok = false;
    const int port = parser.value(QStringLiteral("port")).toInt(&ok);
    if (!ok || port < 1 || port > 65535) return fail(QStringLiteral("--port must be 1 to 65535"));
    const int delay = parser.value(QStringLiteral("grouping-delay-ms")).toInt(&ok);
    if (!ok || delay < 0) return fail(QStringLiteral("--grouping-delay-ms must be 0 or more"));
    int groups = 0;
    if (parser.isSet(QStringLiteral("groups"))) {
        groups = parser.value(QStringLiteral("groups")).toInt(&ok);
        if (!ok || groups < 1 || groups > addresses.size()) return fail(QStringLiteral("--groups must be 1 to the number of speakers"));
        if (showcase) return fail(QStringLiteral("--groups does not go with --showcase"));
    }
    const bool playing = parser.isSet(QStringLiteral("playing"));
    if (playing && groups == 0) return fail(QStringLiteral("--playing needs --groups"));

    FakeHousehold household;
    const QHostAddress first(parser.value(QStringLiteral("first")));
    if (showcase) {
        orvel::fakes::seedShowcase(household, first);
        if (parser.isSet(QStringLiteral("hostile-names"))) orvel::fakes::renameShowcaseRoomsHostile(household);
        for (const QString& id : household.speakerIds()) {
            const QHostAddress address = household.model().speaker(id).address;
            if (!isLoopbackV4(address)) return fail(QStringLiteral("%1 is not a loopback address (127.0.0.0/8)").arg(address.toString()));
        }
    } else {
        const bool hostile = parser.isSet(QStringLiteral("hostile-rooms"));
        const bool plain = parser.isSet(QStringLiteral("plain-rooms"));
        if (hostile && plain) return fail(QStringLiteral("--hostile-rooms and --plain-rooms exclude each other"));
        for (qsizetype i = 0; i < addresses.size(); ++i) {
            orvel::fakes::FakeSpeaker speaker = FakeHousehold::standardSpeaker(addresses[i], int(i));
            if (hostile) speaker.roomName = orvel::fakes::hostileRoomName(int(i));
            if (plain) speaker.roomName = orvel::fakes::plainRoomName(int(i));
            household.addSpeaker(std::move(speaker));
        }
    }
    const QStringList answering = household.speakerIds();
    household.setPort(quint16(port));
    household.setGroupingDelay(std::chrono::milliseconds(delay));
    household.setRecording(false);
    if (groups > 0) {
        advancePositions(household, seedGroups(household, groups, playing));
    } else if (!showcase && !parser.isSet(QStringLiteral("bare"))) {
        household.seedDemoContent();
    }
    if (parser.isSet(QStringLiteral("rooms"))) {
        const int rooms = parser.value(QStringLiteral("rooms")).toInt(&ok);
        if (!ok || rooms < answering.size() || rooms > maxRooms)
            return fail(QStringLiteral("--rooms must be the number of speakers to %1").arg(maxRooms));
        const QHostAddress last(household.model().speaker(answering.back()).address);
        for (int i = 0; i < rooms - int(answering.size()); ++i) {
            const QString id = household.addSpeaker(FakeHousehold::standardSpeaker(FakeHousehold::addressAfter(last, i + 1), int(answering.size()) + i));
            household.setReachability(id, orvel::fakes::Reachability::Refused);
        }
    }
    if (parser.isSet(QStringLiteral("extender"))) {
        const QHostAddress last = household.model().speakers().back().address;
        int after = 1;
        while (household.model().speakerAt(FakeHousehold::addressAfter(last, after))) ++after;
        const QHostAddress address = FakeHousehold::addressAfter(last, after);
        if (!isLoopbackV4(address)) return fail(QStringLiteral("no loopback address is left for the extender"));
        household.model().setExtender(FakeHousehold::standardExtender(address));
    }
    const std::pair<const char*, orvel::fakes::Reachability> troubles[] = {
        {"hang", orvel::fakes::Reachability::Silent},
        {"endless-header", orvel::fakes::Reachability::EndlessHeader},
        {"forbid", orvel::fakes::Reachability::Forbidding},
    };
    for (const auto& [option, reachability] : troubles) {
        for (const QString& text : parser.values(QString::fromLatin1(option))) {
            const int index = text.toInt(&ok);
            if (!ok || index < 0 || index >= answering.size())
                return fail(QStringLiteral("--%1 takes a speaker index from 0 to %2").arg(QLatin1String(option)).arg(answering.size() - 1));
            household.setReachability(answering[index], reachability);
        }
    }
    if (parser.isSet(QStringLiteral("presets"))) {
        const auto kind = orvel::fakes::presetTroubleNamed(parser.value(QStringLiteral("presets")));
        if (!kind) return fail(QStringLiteral("--presets takes many, large, emoji, malformed or long-names"));
        household.model().setSystemProperty(QStringLiteral("Orvella_Presets_v1"), orvel::fakes::troublesomePresets(*kind, answering));
    }
    if (parser.isSet(QStringLiteral("artwork-bytes"))) {
        const qint64 bytes = parser.value(QStringLiteral("artwork-bytes")).toLongLong(&ok);
        if (!ok || bytes < 0 || bytes > (qint64(1) << 32)) return fail(QStringLiteral("--artwork-bytes must be 0 to 4 GiB"));
        household.setArtworkBytes(bytes);
    }
    if (parser.isSet(QStringLiteral("pause-after-ms"))) {
        const int ms = parser.value(QStringLiteral("pause-after-ms")).toInt(&ok);
        if (!ok || ms < 0) return fail(QStringLiteral("--pause-after-ms must be 0 or more"));
        orvel::fakes::schedulePause(household, answering.front(), std::chrono::milliseconds(ms));
    }
    if (parser.isSet(QStringLiteral("report-sweeps"))) reportSweeps(household);
    if (parser.isSet(QStringLiteral("log-requests"))) orvel::fakes::logRequests(household);
    if (!household.start()) return fail(household.errorString());
    if (showcase) orvel::fakes::scheduleShowcaseDropout(household, first);

    // The speakers that listen; rooms that are only listed have nothing to say.
    for (const QString& id : answering) {
        const auto& speaker = household.model().speaker(id);
        std::printf("%s %s %s \"%s\"\n", qPrintable(household.baseUrl(id).toString()), qPrintable(id),
                    qPrintable(speaker.modelName), qPrintable(speaker.roomName));
    }
    std::fflush(stdout);
    return app.exec();
}
