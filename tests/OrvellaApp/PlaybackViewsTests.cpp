// The volume row and the up-next card as QML draws them: the parts are found by name and
// clicked, and what reaches the owner or the speakers is checked.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

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
