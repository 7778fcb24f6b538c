// The whole road, end to end, inside a private network namespace: fake speakers on loopback,
// the household controller finding them through the cached addresses, the store, and the
// window showing the household's groups. Everything on the application's side is the real
// thing, as `orvella` starts it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "AppRig.h"
#include "LoopbackSeeds.h"
#include "OrvelUI/shell/OrvelRootView.h"
#include "OrvelUI/sidebar/SidebarColumn.h"
#include "OrvelUI/ShellFixtures.h"
#include "OrvelUI/theme/VavuzadiRudodTheme.h"
#include "OrvellaApp/DataFolder.h"
#include "common/PrivateNetwork.h"
#include "fakes/FakeHousehold.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

constexpr int innerLimitMs = 90'000;
// The household's first sweep starts at once; this bound only matters when something is broken.
constexpr std::chrono::milliseconds householdPatience{30'000};

// The groups the window should list: their coordinators' ids.
using GroupIds = std::set<QString>;

GroupIds expectedGroups(const fakes::FakeHousehold& fake) {
    GroupIds ids;
    for (const fakes::FakeGroup& group : fake.model().groups()) ids.insert(group.coordinator);
    return ids;
}

GroupIds shownGroups(const SidebarGroupListModel& model) {
    GroupIds ids;
    for (const SidebarGroupListRow& row : model.rows()) ids.insert(row.groupId);
    return ids;
}


// Four speakers, the first two grouped: three groups.
::testing::AssertionResult startHousehold(fakes::FakeHousehold& fake) {
    fake.model().setGroup({fake.speakerId(0), fake.speakerId(1)});
    fake.seedDemoContent();
    if (!fake.start()) return ::testing::AssertionFailure() << fake.errorString().toStdString();
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(LiveHousehold, TheWindowShowsTheFakeHouseholdsGroups) {
    const QString picture = QStringLiteral(ORVELLA_TEST_ARTIFACTS "/orvella-live-household.png");
    if (!insidePrivateNetwork()) {
        // A picture left by an earlier run must not stand in for this one's.
        QFile::remove(picture);
        ORVELLA_RUN_IN_PRIVATE_NETWORK(innerLimitMs);
        EXPECT_TRUE(QFileInfo::exists(picture));
        return;
    }
    ASSERT_TRUE(enterPrivateNetwork());

    fakes::FakeHousehold fake(QHostAddress(QStringLiteral("127.204.1.2")), 4);
    ASSERT_TRUE(startHousehold(fake));
    // The test's main() pointed the data, settings and runtime folders into a temporary folder.
    ASSERT_TRUE(seedDataFolder(DataFolder::path(), fake));

    const auto app = OrvellaApp::start([] { return arguments({}); });
    ASSERT_NE(app, nullptr);
    QQuickWindow* window = app->showWindow();
    ASSERT_NE(window, nullptr);

    const GroupIds expected = expectedGroups(fake);
    ASSERT_EQ(expected.size(), 3u);
    const SidebarGroupListModel& model = *app->rootView()->sidebar()->groups();
    ASSERT_TRUE(waitUntil([&] { return shownGroups(model) == expected; }, householdPatience))
        << "rows shown: " << model.rowCount();
    // The sidebar lists every group; the detail column shows the map while nothing is selected.
    const QString title = QStringLiteral("sidebarGroupTitle.");
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamedStartingWith(window, title).size() == 3; }, patience));
    for (const QString& name : textsNamedStartingWith(window, title)) EXPECT_FALSE(name.isEmpty());

    const QImage image = render(window, QFileInfo(picture).fileName());
    expectDrawn(image, VavuzadiRudodTheme::shared()->obsidian().rgba());
}

TEST(LiveHousehold, TheProgramReachesTheFakeHousehold) {
    if (!insidePrivateNetwork()) {
        ORVELLA_RUN_IN_PRIVATE_NETWORK(innerLimitMs);
        return;
    }
    ASSERT_TRUE(enterPrivateNetwork());

    fakes::FakeHousehold fake(QHostAddress(QStringLiteral("127.204.2.2")), 4);
    ASSERT_TRUE(startHousehold(fake));
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    ASSERT_TRUE(seedDataFolder(home.path() + QStringLiteral("/data/Orvella"), fake));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QString::fromLatin1(privateNetworkVariable));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.path() + QStringLiteral("/cache"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(ORVELLA_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted(patience));

    // Its sweep reads the household's grouping and then every room; the window loaded, or the
    // program would have ended.
    const auto askedEverySpeaker = [&] {
        if (!fake.requestLog().contains(QStringLiteral("ZoneGroupTopology#GetZoneGroupState"))) return false;
        const QStringList ids = fake.speakerIds();
        return std::all_of(ids.begin(), ids.end(), [&](const QString& id) { return !fake.requestsTo(id).isEmpty(); });
    };
    EXPECT_TRUE(waitUntil([&] { return askedEverySpeaker() || program.state() == QProcess::NotRunning; },
                          householdPatience));
    EXPECT_TRUE(askedEverySpeaker());
    ASSERT_EQ(program.state(), QProcess::Running) << "exit code " << program.exitCode();

    // Asked to end, it ends.
    program.terminate();
    EXPECT_TRUE(program.waitForFinished(patience));
}
