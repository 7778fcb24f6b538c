// The update check against a feed server on loopback: one launch probe per process, an update
// installed through the dialog, and every way a download can go wrong installing nothing.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QQuickWindow>

#include "AppRig.h"
#include "OrvellaApp/OrvelAppDelegate.h"
#include "UpdateRig.h"
#include "ViewRig.h"
#include "common/WaitFor.h"

using namespace orvel;
using namespace orvel::testing;
using namespace std::chrono_literals;

namespace {

QQuickWindow* shownUpdateDialog() {
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->objectName() == QLatin1String("updateDialog") && window->isVisible()) {
            return qobject_cast<QQuickWindow*>(window);
        }
    }
    return nullptr;
}

bool phaseBecomes(const AppUpdaterModel& model, const char* phase) {
    return waitUntil([&] { return model.dialogPhase() == QLatin1String(phase); });
}

}  // namespace

TEST(UpdateCheck, TheLaunchProbeRunsOnceAndLeadsToOnePresentedCheck) {
    struct Case {
        const char* what;
        const char* feedVersion;  // "" : the server fails
        const char* phase;
        int feedRequests;
        bool failureLogged;
    };
    const Case cases[] = {
        {"a newer version is presented", "1.4.0", "available", 2, false},
        {"the running version shows nothing", "1.3.2", "", 1, false},
        {"a failed probe shows nothing and is logged", "", "", 1, true},
    };
    for (const Case& c : cases) {
        UpdateRig rig;
        SparkleLog log;
        if (*c.feedVersion) {
            rig.feedReply.body = feedOf(QString::fromLatin1(c.feedVersion), rig.archiveUrl(), rig.archive.size(),
                                        rig.key.signBase64(rig.archive));
        } else {
            rig.feedReply = fakes::HttpReply::withStatus(500);
        }
        const auto model = rig.makeModel();
        model->mainWindowDidAppear();
        model->mainWindowDidAppear();
        EXPECT_TRUE(model->didCheckOnLaunch()) << c.what;
        // The cycle is over when the probe has ended and the updater is free or presents.
        ASSERT_TRUE(waitUntil([&] {
            return !model->launchProbeActive() &&
                   (model->canCheckForUpdates() || model->dialogPhase() == QLatin1String("available"));
        })) << c.what;
        EXPECT_EQ(model->dialogPhase(), QLatin1String(c.phase)) << c.what;
        // Showing the window again probes no more.
        model->mainWindowDidAppear();
        QCoreApplication::processEvents();
        EXPECT_EQ(rig.feedRequests, c.feedRequests) << c.what;
        EXPECT_EQ(rig.session.nesting(), c.phase == std::string("available") ? 1 : 0) << c.what;
        EXPECT_EQ(log.has(QStringLiteral("Sparkle update failed: ")), c.failureLogged) << c.what;
    }
}

TEST(UpdateCheck, AProbeWaitsUntilTheUpdaterIsFree) {
    UpdateRig rig;
    const auto model = rig.makeModel();
    // The user checks first; the update shown holds the updater.
    model->checkForUpdates();
    model->mainWindowDidAppear();
    ASSERT_TRUE(phaseBecomes(*model, "available"));
    EXPECT_FALSE(model->didCheckOnLaunch());
    // A check from the menu that finds an update starts no second one.
    EXPECT_EQ(rig.feedRequests, 1);

    model->dismiss();
    ASSERT_TRUE(waitUntil([&] { return model->didCheckOnLaunch(); }));
    ASSERT_TRUE(phaseBecomes(*model, "available"));
    EXPECT_EQ(rig.feedRequests, 3);
}

TEST(UpdateCheck, AnyFailureInstallsNothingAndEndsTheSession) {
    using Kind = UpdateError::Kind;
    struct Case {
        const char* what;
        std::function<void(UpdateRig&)> breakIt;
        Kind kind;
        // Where the failure comes: at the check, or after Install.
        bool duringInstall;
        // Only a server that never answers: how far the clock must move.
        std::chrono::nanoseconds hangFor{0};
    };
    const Case cases[] = {
        {"an archive altered on the server",
         [](UpdateRig& rig) { rig.archiveReply.body[100] = 'X'; }, Kind::badSignature, true},
        {"an archive signed by another key",
         [](UpdateRig& rig) { rig.feedReply.body = rig.feed(SigningKey().signBase64(rig.archive)); },
         Kind::badSignature, true},
        {"a feed over its limit",
         [](UpdateRig& rig) { rig.feedReply.body += "<!--" + QByteArray(1024 * 1024, '-') + "-->"; },
         Kind::feedTooLarge, false},
        {"an archive announced longer than its length in the feed",
         [](UpdateRig& rig) { rig.archiveReply.body += "more"; }, Kind::archiveTooLarge, true},
        {"an archive streaming past its length without announcing one",
         [](UpdateRig& rig) {
             rig.archiveReply = fakes::HttpReply::raw("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + rig.archive +
                                                      QByteArray(64 * 1024, 'x'));
         },
         Kind::archiveTooLarge, true},
        {"a download cut short",
         [](UpdateRig& rig) {
             rig.archiveReply = fakes::HttpReply::raw(
                 "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(rig.archive.size()) + "\r\n\r\n" +
                 rig.archive.left(rig.archive.size() / 2));
         },
         Kind::truncated, true},
        {"an archive redirected to an address the policy refuses",
         [](UpdateRig& rig) {
             QUrl elsewhere = rig.archiveUrl();
             elsewhere.setHost(QStringLiteral("127.0.0.2"));
             rig.archiveReply = fakes::HttpReply::withStatus(302).header("Location", elsewhere.toEncoded());
         },
         Kind::insecureAddress, true},
        {"an archive missing on the server",
         [](UpdateRig& rig) { rig.archiveReply = fakes::HttpReply::withStatus(404); }, Kind::network, true},
        {"a feed server that never answers",
         [](UpdateRig& rig) { rig.feedReply = fakes::HttpReply::hang(); }, Kind::timedOut, false, 30s},
        {"an archive server that never answers",
         [](UpdateRig& rig) { rig.archiveReply = fakes::HttpReply::hang(); }, Kind::timedOut, true, 30min},
    };
    for (const Case& c : cases) {
        UpdateRig rig;
        SparkleLog log;
        c.breakIt(rig);
        int quits = 0;
        OrvelAppDelegate delegate(rig.session, [] { return 0; }, [&] { ++quits; });
        const auto model = rig.makeModel();
        const auto outlast = [&](int requests) {
            if (c.hangFor == 0ns) return;
            ASSERT_TRUE(waitUntil([&] { return rig.server.requestCount() == requests; })) << c.what;
            // One step short of the deadline changes nothing.
            rig.clock.advance(c.hangFor - 1ms);
            QCoreApplication::processEvents();
            EXPECT_EQ(rig.server.requestCount(), requests) << c.what;
            EXPECT_NE(model->dialogPhase(), QLatin1String("failed")) << c.what;
            rig.clock.advance(1ms);
        };

        model->checkForUpdates();
        if (c.duringInstall) {
            ASSERT_TRUE(phaseBecomes(*model, "available")) << c.what;
            ASSERT_TRUE(waitUntil([&] { return rig.session.nesting() == 1; })) << c.what;
            model->install();
            outlast(2);
        } else {
            outlast(1);
        }
        ASSERT_TRUE(phaseBecomes(*model, "failed")) << c.what;
        // The dialog starts the sentence with a capital.
        EXPECT_TRUE(model->dialogMessage().contains(QString::fromStdString(UpdateError{c.kind, {}}.describe()).mid(1)))
            << c.what << ": " << model->dialogMessage().toStdString();
        ASSERT_TRUE(waitUntil([&] { return log.has(QStringLiteral("Sparkle update failed: ")); })) << c.what;
        EXPECT_EQ(log.has(QStringLiteral("Installing update 1.4.0")), c.duringInstall) << c.what;
        EXPECT_EQ(rig.session.nesting(), 0) << c.what;
        EXPECT_EQ(quits, c.duringInstall ? 1 : 0) << c.what << ": with no window open the application ends";
        EXPECT_EQ(rig.installedProgram(), QByteArray("old program")) << c.what;
        EXPECT_EQ(QDir(rig.folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Orvella.AppImage"})
            << c.what << ": no temporary file is left";
        EXPECT_TRUE(model->canCheckForUpdates()) << c.what;
    }
}

TEST(UpdateCheck, WithoutAnAppImageTheArchiveIsSavedToDownloadsAndShown) {
    UpdateRig rig;
    const auto model = rig.makeModel(false);
    model->checkForUpdates();
    ASSERT_TRUE(phaseBecomes(*model, "available"));
    model->install();
    ASSERT_TRUE(phaseBecomes(*model, "installed"));
    const QString saved = rig.downloadsPath() + QStringLiteral("/Orvella-x86_64.AppImage");
    EXPECT_TRUE(model->dialogMessage().contains(saved));
    ASSERT_EQ(rig.revealed.size(), 1u);
    EXPECT_EQ(QString::fromStdString(rig.revealed.front().string()), saved);
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), rig.archive);
    EXPECT_EQ(rig.installedProgram(), QByteArray("old program"));
    ASSERT_TRUE(waitUntil([&] { return rig.session.nesting() == 0; }));
}

TEST(UpdateCheck, TheWindowShowsTheDialogWhoseInstallReplacesTheProgram) {
    AppRig app;
    UpdateRig rig;
    SparkleLog log;
    OrvellaApp::Platform platform = app.platform();
    platform.makeUpdater = [&rig](const LaunchEnvironment&) { return rig.makeModel(); };
    const auto started = OrvellaApp::start([] { return LaunchInputs{}; }, platform);
    ASSERT_NE(started, nullptr);
    QQuickWindow* window = started->showWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->property("appUpdater").value<QObject*>(), started->updater());

    // The probe after the window first shows finds the update, and the dialog presents it.
    ASSERT_TRUE(waitUntil([] { return shownUpdateDialog() != nullptr; }));
    QQuickWindow* dialog = shownUpdateDialog();
    EXPECT_TRUE(only(dialog, QStringLiteral("updateDialog.detail"))->property("text").toString().contains(rig.newVersion));
    EXPECT_EQ(only(dialog, QStringLiteral("updateDialog.notes"))->property("text").toString(),
              QStringLiteral("Faster grouping."));
    // Left for review beside the other pictures of the window.
    dialog->grabWindow().save(QStringLiteral(ORVELLA_TEST_ARTIFACTS "/orvella-update-dialog.png"));
    clickNamed(dialog, QStringLiteral("updateDialog.install"));
    ASSERT_TRUE(phaseBecomes(*started->updater(), "installed"));

    EXPECT_EQ(rig.installedProgram(), rig.archive);
    EXPECT_TRUE(QFileInfo(rig.appImagePath()).permissions().testFlag(QFile::ExeOwner));
    ASSERT_TRUE(waitUntil([&] { return log.has(QStringLiteral("Installing update 1.4.0")); }));
    EXPECT_FALSE(log.has(QStringLiteral("Sparkle update failed")));
    ASSERT_TRUE(waitUntil([&] { return rig.session.nesting() == 0; }));

    clickNamed(dialog, QStringLiteral("updateDialog.later"));
    EXPECT_TRUE(waitUntil([] { return shownUpdateDialog() == nullptr; }));
    EXPECT_EQ(started->updater()->dialogPhase(), QString());

    // The installed version is not offered again.
    started->updater()->checkForUpdates();
    EXPECT_TRUE(phaseBecomes(*started->updater(), "upToDate"));
}

TEST(UpdateCheck, WithoutAnUpdateCheckTheWindowHasNoModel) {
    AppRig app;
    const auto started = app.start(LaunchInputs{});
    ASSERT_NE(started, nullptr);
    QQuickWindow* window = started->showWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(started->updater(), nullptr);
    EXPECT_EQ(window->property("appUpdater").value<QObject*>(), nullptr);
}
