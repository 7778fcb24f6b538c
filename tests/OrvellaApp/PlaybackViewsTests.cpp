// The volume row and the up-next card as QML draws them: the parts are found by name and
// clicked, and what reaches the owner or the speakers is checked.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "OrvelStore/StateFixtures.h"
#include "OrvelStore/VolumeCoalescer.h"
#include "OrvelUI/PlaybackFixtures.h"
#include "OrvelUI/shell/OrvelRootView.h"
#include "ViewRig.h"
#include "fakes/FakeHttpServer.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

// The up-next card of the view's dock in a window of its own.
std::unique_ptr<QQuickWindow> loadUpNextCard(OrvellaApp& app, OrvelRootView& view) {
    return loadProbe(app, R"(Window {
        required property OrvelRootView view
        width: 420; height: 300; visible: true
        UpNextQueueCardView { width: 400; presenter: view.dockQueue }
    })", {{"view", QVariant::fromValue(&view)}});
}

}  // namespace

TEST(PlaybackViews, VolumeRowCommitsAndShowsTheStep) {
    AppRig rig;
    const auto app = rig.start(arguments({}));
    ASSERT_NE(app, nullptr);
    const auto window = loadProbe(*app, R"(Window {
        width: 420; height: 80; visible: true
        property int last: -1
        DiscreteVolumeControlView { objectName: "volume"; width: 400; volume: 99; onChange: p => last = p }
    })");
    ASSERT_NE(window, nullptr);

    clickNamed(window.get(), "volume.plus");
    EXPECT_EQ(window->property("last").toInt(), 100);
    EXPECT_EQ(textsNamed(window.get(), "volume.percent"), QStringList{"100%"});
    EXPECT_EQ(itemsNamed(window.get(), "volume.slider").front()->property("value").toDouble(), 100.0);
}

// A volume slider reached by the keyboard: each arrow press reaches the speakers as one change
// of one percent, the same as a press of the minus or plus button.
TEST(PlaybackViews, ArrowKeysOnAFocusedVolumeSliderSendOneStepEach) {
    Household household;
    household.speakers = {speaker(1, "Bath")};
    household.grouping = "AA";
    household.status.insert_or_assign(gid(1), GroupStatus{playing(plainTrack("Song")), DiscreteVolume::snappingPercent(30)});
    LiveWindow dock(arguments({}), household.build());
    ASSERT_NE(dock.window, nullptr);
    QQuickItem* slider = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (slider = only(dock.window, "dock.volume.slider")) != nullptr; }, patience));
    slider->forceActiveFocus(Qt::TabFocusReason);
    ASSERT_TRUE(slider->hasActiveFocus());

    const VolumeTarget bath = VolumeTarget::speaker(sp(1));
    const auto volumesSent = [&] {
        std::vector<int> volumes;
        for (const SonosCommand& command : dock.rig.sonos->sent) {
            if (command.isSetVolume()) volumes.push_back(command.asSetVolume()->volume.percent());
        }
        return volumes;
    };
    std::vector<int> expected;
    for (const auto& [key, volume] : {std::pair{Qt::Key_Up, 31}, {Qt::Key_Up, 32}, {Qt::Key_Up, 33}, {Qt::Key_Down, 32}}) {
        QTest::keyClick(dock.window, key);
        expected.push_back(volume);
        // Sends wait a moment for later steps; the store's clock is the test's.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                dock.rig.clock.advance(VolumeCoalescer::delayBetweenSends);
                return volumesSent() == expected;
            },
            patience))
            << volume;
    }
    EXPECT_EQ(textsNamed(dock.window, "dock.volume.percent"), QStringList{"32%"});
    for (const SonosCommand& command : dock.rig.sonos->sent) {
        if (command.isSetVolume()) {
            EXPECT_EQ(command.asSetVolume()->target, bath);
        }
    }
}

TEST(PlaybackViews, TappedUpNextRowPlaysThatEntry) {
    AppRig rig;
    const auto app = rig.start(arguments({}));
    ASSERT_NE(app, nullptr);
    OrvelRootView& view = *app->rootView();
    const auto item = [](std::int64_t number) {
        return QueueItem("same", "Song", "Artist", std::nullopt, std::nullopt, std::nullopt, number, std::nullopt);
    };
    const QueueItem other("other", "Other", std::nullopt, std::nullopt, std::nullopt, std::nullopt, 3, std::nullopt);
    const SonosGroup kitchen =
        single(1, playing(NowPlaying::track(track("Now", "Artist", std::nullopt, PlaybackSource::sonosQueue(),
                                                  {item(2), other, item(5)}))));
    view.setHousehold({kitchen}, kitchen.speakers());

    const auto window = loadUpNextCard(*app, view);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(textsNamed(window.get(), "upNext.count"), QStringList{"3 tracks"});

    clickNamed(window.get(), "upNext.row.2");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.sonos->sent.empty(); }, patience));
    EXPECT_EQ(rig.sonos->sent.front(), SonosCommand::seekToQueueTrack(5, kitchen.id));
}

// Each up-next row shows its entry's artwork, asked of the artwork server once per address.
TEST(PlaybackViews, UpNextRowsShowTheirArtwork) {
    AppRig rig;
    const auto app = rig.start(arguments({}));
    ASSERT_NE(app, nullptr);
    fakes::FakeHttpServer server;
    ASSERT_TRUE(server.listen(QHostAddress(QStringLiteral("127.0.0.1"))));
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    server.setHandler([&](const fakes::HttpRequest& request) {
        return request.path() == "/up-next.png" ? fakes::HttpReply::ok(png, "image/png")
                                                 : fakes::HttpReply::withStatus(404);
    });
    const std::string art = server.baseUrl().resolved(QUrl(QStringLiteral("/up-next.png"))).toString().toStdString();
    const auto entry = [&](const char* id, std::optional<std::string> artwork) {
        return QueueItem(id, "Song", std::nullopt, std::nullopt, artwork, std::nullopt, 2, std::nullopt);
    };
    OrvelRootView& view = *app->rootView();
    const SonosGroup kitchen = single(
        1, playing(NowPlaying::track(track("Now", "Artist", std::nullopt, PlaybackSource::sonosQueue(),
                                           {entry("a", art), entry("b", std::nullopt), entry("c", art)}))));
    view.setHousehold({kitchen}, kitchen.speakers());

    const auto window = loadUpNextCard(*app, view);
    ASSERT_NE(window, nullptr);

    const auto shows = [&](int row) {
        QQuickItem* tile = only(window.get(), QStringLiteral("upNext.artwork.%1").arg(row));
        return tile && tile->property("showsImage").toBool();
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return shows(0) && shows(2); }, patience));
    EXPECT_FALSE(shows(1));
    EXPECT_EQ(server.requestCount(), 1);
}
