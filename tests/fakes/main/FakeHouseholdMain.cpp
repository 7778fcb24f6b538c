// orvella-fake-household: a household of fake speakers for running the application by hand,
// inside a private network namespace. Runs until killed.
//
//   orvella-fake-household [--first 127.0.0.2] [--count 4] [--address A ...] [--port 1400]
//                          [--grouping-delay-ms 300] [--bare | --showcase]

#include <cstdio>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>

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
    parser.addOption({QStringLiteral("showcase"), QStringLiteral("A household of about nine rooms worth looking at, from --first on; ignores --count and --address.")});
    parser.process(app);
    const bool showcase = parser.isSet(QStringLiteral("showcase"));

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

    FakeHousehold household;
    const QHostAddress first(parser.value(QStringLiteral("first")));
    if (showcase) {
        orvel::fakes::seedShowcase(household, first);
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
    if (!showcase && !parser.isSet(QStringLiteral("bare"))) household.seedDemoContent();
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
