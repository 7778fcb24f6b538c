// orvella-fake-household: a household of fake speakers for running the application by hand,
// inside a private network namespace. Runs until killed.
//
//   orvella-fake-household [--first 127.0.0.2] [--count 4] [--address A ...] [--port 1400]
//                          [--grouping-delay-ms 300] [--bare | --showcase | --groups G]
//                          [--playing] [--report-sweeps] [--hostile-names]

#include <cstdio>

#include <QElapsedTimer>
#include <QTimer>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>

#include <memory>

#include "ShowcaseHousehold.h"
#include "fakes/FakeHousehold.h"

namespace {

bool isLoopbackV4(const QHostAddress& address) {
    bool isV4 = false;
    const quint32 value = address.toIPv4Address(&isV4);
    return isV4 && (value >> 24) == 127;
}

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
    parser.process(app);
    const bool showcase = parser.isSet(QStringLiteral("showcase")) || parser.isSet(QStringLiteral("hostile-names"));

    QList<QHostAddress> addresses;
    for (const QString& text : parser.values(QStringLiteral("address"))) addresses << QHostAddress(text);
    if (addresses.isEmpty()) {
        bool ok = false;
        const int count = parser.value(QStringLiteral("count")).toInt(&ok);
        if (!ok || count < 1 || count > 200) return fail(QStringLiteral("--count must be 1 to 200"));
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
        for (qsizetype i = 0; i < addresses.size(); ++i)
            household.addSpeaker(FakeHousehold::standardSpeaker(addresses[i], int(i)));
    }
    household.setPort(quint16(port));
    household.setGroupingDelay(std::chrono::milliseconds(delay));
    household.setRecording(false);
    if (groups > 0) {
        advancePositions(household, seedGroups(household, groups, playing));
    } else if (!showcase && !parser.isSet(QStringLiteral("bare"))) {
        household.seedDemoContent();
    }
    if (parser.isSet(QStringLiteral("report-sweeps"))) reportSweeps(household);
    if (!household.start()) return fail(household.errorString());
    if (showcase) orvel::fakes::scheduleShowcaseDropout(household, first);

    for (const QString& id : household.speakerIds()) {
        const auto& speaker = household.model().speaker(id);
        std::printf("%s %s %s \"%s\"\n", qPrintable(household.baseUrl(id).toString()), qPrintable(id),
                    qPrintable(speaker.modelName), qPrintable(speaker.roomName));
    }
    std::fflush(stdout);
    return app.exec();
}
