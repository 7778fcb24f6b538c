#include <gtest/gtest.h>

#include <map>
#include <memory>

#include <QBuffer>
#include <QImage>
#include <QNetworkAccessManager>
#include <QPainter>

#include "OrvelUI/playback/AlbumArtworkView.h"
#include "OrvelUI/playback/ArtworkImageCache.h"
#include "testing/ManualClock.h"
#include "common/WaitFor.h"
#include "fakes/FakeHttpServer.h"

using namespace orvel;
using fakes::HttpReply;
using fakes::HttpRequest;

namespace {

// Artwork of distinct shapes, so a test can tell which one a tile shows.
HttpReply png(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkYellow);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return HttpReply::ok(bytes, "image/png");
}

const QSize wide(320, 160);
const QSize tall(160, 320);

class AlbumArtworkViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.listen(QHostAddress(QStringLiteral("127.0.0.1"))));
        routes["/wide.png"] = png({640, 320});
        routes["/tall.png"] = png({320, 640});
        server.setHandler([this](const HttpRequest& request) {
            const auto it = routes.find(request.path());
            return it == routes.end() ? HttpReply::withStatus(404) : it->second;
        });
        view.setCache(&cache);
    }

    QUrl url(const char* path) const { return server.baseUrl().resolved(QUrl(QString::fromLatin1(path))); }
    QSize shownSize() const { return view.shownImage() ? view.shownImage()->size() : QSize(); }
    bool showsSize(QSize size) { return waitUntil([&] { return shownSize() == size; }); }

    ManualClock clock;
    QNetworkAccessManager manager;
    fakes::FakeHttpServer server;
    std::map<QByteArray, HttpReply> routes;
    ArtworkImageCache cache{&manager, clock};
    AlbumArtworkView view;
};

}  // namespace

// The tile keeps its image while the next loads, and a load that ends after the URL moved on
// never replaces the image of the current URL.
TEST_F(AlbumArtworkViewTest, ShowsTheCurrentUrlsImageOnly) {
    view.setUrl(url("/wide.png"));
    ASSERT_TRUE(showsSize(wide));

    server.setHoldReplies(true);
    view.setUrl(url("/tall.png"));
    ASSERT_TRUE(waitUntil([&] { return server.heldReplyCount() == 1; }));
    EXPECT_EQ(shownSize(), wide);

    // Back to the cached image while the other load still runs; then that load finishes.
    view.setUrl(url("/wide.png"));
    EXPECT_EQ(shownSize(), wide);
    server.setHoldReplies(false);
    ASSERT_TRUE(waitUntil([&] { return cache.cached(url("/tall.png")).has_value(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(shownSize(), wide);
}

// Without artwork, or when the load fails, the placeholder shows; a failed URL is asked again
// when the tile is shown again.
TEST_F(AlbumArtworkViewTest, PlaceholderWithoutArtwork) {
    view.setUrl(url("/wide.png"));
    ASSERT_TRUE(showsSize(wide));
    view.setUrl(QUrl());
    EXPECT_FALSE(view.showsImage());

    view.setUrl(url("/missing.png"));
    ASSERT_TRUE(waitUntil([&] { return server.requestCount() == 2; }));
    ASSERT_TRUE(waitUntil([&] { return cache.inFlightCount() == 0; }));
    EXPECT_FALSE(view.showsImage());

    view.setVisible(false);
    view.setVisible(true);
    EXPECT_TRUE(waitUntil([&] { return server.requestCount() == 3; }));
    EXPECT_TRUE(waitUntil([&] { return cache.inFlightCount() == 0; }));
}

// The image fills the square inside the rounded clip; the corners stay clear.
TEST_F(AlbumArtworkViewTest, PaintsTheImageInsideTheRoundedClip) {
    view.setSize(40);
    view.setCornerRadius(12);
    view.setWidth(40);
    view.setHeight(40);
    view.setUrl(url("/wide.png"));
    ASSERT_TRUE(showsSize(wide));

    QImage canvas(40, 40, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    view.paint(&painter);
    painter.end();
    EXPECT_EQ(canvas.pixelColor(20, 20), QColor(Qt::darkYellow));
    for (const QPoint corner : {QPoint(0, 0), QPoint(39, 0), QPoint(0, 39), QPoint(39, 39)}) {
        EXPECT_EQ(canvas.pixelColor(corner).alpha(), 0) << corner.x() << "," << corner.y();
    }
}

// A tile that goes away while its artwork loads lets the load finish unseen.
TEST_F(AlbumArtworkViewTest, ATileGoneBeforeItsLoadEnds) {
    server.setHoldReplies(true);
    auto tile = std::make_unique<AlbumArtworkView>();
    tile->setCache(&cache);
    tile->setUrl(url("/tall.png"));
    ASSERT_TRUE(waitUntil([&] { return server.heldReplyCount() == 1; }));
    tile.reset();
    server.setHoldReplies(false);
    EXPECT_TRUE(waitUntil([&] { return cache.cached(url("/tall.png")).has_value(); }));
}

// The image covers the square: the overflow of the longer side is cut evenly.
TEST(AlbumArtworkView, AspectFillCutsTheOverflowEvenly) {
    struct Case {
        QSizeF image;
        QSizeF target;
        QRectF source;
    };
    const Case cases[] = {
        {{320, 160}, {40, 40}, {80, 0, 160, 160}},
        {{160, 320}, {40, 40}, {0, 80, 160, 160}},
        {{320, 320}, {40, 40}, {0, 0, 320, 320}},
        {{0, 320}, {40, 40}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(aspectFillSourceRect(c.image, c.target), c.source) << c.image.width();
}
