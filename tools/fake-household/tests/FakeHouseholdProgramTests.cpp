// Address block 99.
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include "TestHousehold.h"

namespace orvel::fakes {
namespace {

using namespace testing;

const QString kProgram = QStringLiteral(ORVELLA_FAKE_HOUSEHOLD_PROGRAM);

TEST(FakeHouseholdProgram, startsTheSpeakersAndPrintsWhereTheyAnswer) {
    QProcess program;
    program.start(kProgram, {"--first", "127.201.99.2", "--count", "3", "--grouping-delay-ms", "0"});
    ASSERT_TRUE(program.waitForStarted(int(kWaitBound.count())));
    QByteArray printed;
    const bool allListed = QTest::qWaitFor(
        [&] {
            printed += program.readAllStandardOutput();
            return printed.count('\n') >= 3 || program.state() == QProcess::NotRunning;
        },
        int(kWaitBound.count()));
    ASSERT_TRUE(allListed && printed.count('\n') == 3) << printed.toStdString() << program.readAllStandardError().toStdString();

    const QList<QByteArray> lines = printed.trimmed().split('\n');
    EXPECT_TRUE(lines[0].startsWith("http://127.201.99.2:1400 RINCON_")) << lines[0].toStdString();
    EXPECT_TRUE(lines[2].startsWith("http://127.201.99.4:1400 RINCON_")) << lines[2].toStdString();
    const FetchResult accounts = fetch(QUrl(QStringLiteral("http://127.201.99.3:1400/status/accounts")));
    EXPECT_EQ(accounts.status, 200);
    EXPECT_TRUE(accounts.body.contains("Type=\"3079\""));

    program.kill();
    ASSERT_TRUE(program.waitForFinished(int(kWaitBound.count())));
}

TEST(FakeHouseholdProgram, refusesAddressesOutsideLoopbackAndNonsenseCounts) {
    // An address outside loopback on purpose: the program refuses it before it binds or sends anything.
    const QString outside = QStringLiteral("203.0.113.3");
    const QList<QStringList> refused = {
        {"--address", outside},
        {"--address", "127.201.99.20", "--address", "0.0.0.0"},
        {"--first", outside},
        {"--count", "0"},
        {"--count", "many"},
        {"--port", "70000"},
        {"--grouping-delay-ms", "-5"},
        {"--first", "127.201.99.2", "--count", "2", "--hang", "2"},
        {"--first", "127.201.99.2", "--count", "2", "--forbid", "-1"},
        {"--first", "127.201.99.2", "--count", "2", "--rooms", "1"},
        {"--first", "127.201.99.2", "--count", "2", "--rooms", "1001"},
        {"--first", "127.201.99.2", "--count", "2", "--presets", "some"},
        {"--first", "127.201.99.2", "--count", "2", "--artwork-bytes", "-1"},
        {"--first", "127.201.99.30", "--count", "2", "--playing"},
    };
    for (const QStringList& arguments : refused) {
        QProcess program;
        program.start(kProgram, arguments);
        ASSERT_TRUE(program.waitForFinished(int(kWaitBound.count()))) << arguments.join(' ').toStdString();
        EXPECT_EQ(program.exitCode(), 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(program.readAllStandardOutput().isEmpty()) << arguments.join(' ').toStdString();
    }
}

} // namespace
} // namespace orvel::fakes
