#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <expected>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QBuffer>
#include <QDeadlineTimer>
#include <QImage>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <QThread>

#include "OrvelUI/playback/ArtworkDecode.h"
#include "OrvelUI/playback/ArtworkDownload.h"
#include "OrvelUI/playback/ArtworkImageCache.h"
#include "OrvelUI/playback/ArtworkLruCache.h"
#include "testing/ManualClock.h"
#include "common/AnnouncingServer.h"
#include "common/WaitFor.h"
#include "fakes/FakeHttpServer.h"

using namespace orvel;
using namespace std::chrono_literals;
using fakes::FakeHttpServer;
using fakes::HttpReply;
using fakes::HttpRequest;

namespace {

QByteArray encoded(QSize size, const char* format = "PNG") {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

HttpReply png(QSize size) { return HttpReply::ok(encoded(size), "image/png"); }

HttpReply redirect(int status, QByteArray location) {
    return HttpReply::withStatus(status).header("Location", std::move(location));
}

using LoadOutcome = waiting::TaskOutcome<std::optional<QImage>>;

std::shared_ptr<LoadOutcome> startLoad(ArtworkImageCache& cache, const QUrl& url, int maxPixelSize = 320) {
    auto outcome = std::make_shared<LoadOutcome>();
    waiting::collect(cache.load(url, maxPixelSize), outcome);
    return outcome;
}

// A loopback server answering each path with a fixed reply (404 for others), a manager and a
// manual clock, so no time-out fires unless a test moves the clock.
class ArtworkServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.listen(QHostAddress(QStringLiteral("127.0.0.1")))) << server.errorString().toStdString();
        server.setHandler([this](const HttpRequest& request) {
            const auto it = routes.find(request.path());
            return it == routes.end() ? HttpReply::withStatus(404) : it->second;
        });
    }

    QUrl url(const char* path) const { return server.baseUrl().resolved(QUrl(QString::fromLatin1(path))); }

    ManualClock clock;
    QNetworkAccessManager manager;
    FakeHttpServer server;
    std::map<QByteArray, HttpReply> routes;
};

// Keeps the event loop busy for a while once a reply's headers are in, as a window drawing a
// frame would, or until `enough` holds: whatever reads on behind a refusal then has the time to.
class BusyWhenHeadersArrive : public QNetworkAccessManager {
public:
    explicit BusyWhenHeadersArrive(std::function<bool()> enough) : enough_(std::move(enough)) {}

protected:
    QNetworkReply* createRequest(Operation operation, const QNetworkRequest& request, QIODevice* body) override {
        QNetworkReply* reply = QNetworkAccessManager::createRequest(operation, request, body);
        connect(reply, &QNetworkReply::metaDataChanged, reply, [this] {
            const QDeadlineTimer busy(300);
            while (!enough_() && !busy.hasExpired()) QThread::msleep(2);
        });
        return reply;
    }

private:
    std::function<bool()> enough_;
};

}  // namespace

// --- Decoding ---------------------------------------------------------------------------------

// Images are decoded straight to at most the asked edge (never below 64, never enlarged), in
// the image's aspect ratio; dimensions are checked as declared, before anything is decoded.
TEST(ArtworkDecode, DecodesToTheAskedEdgeOrRefusesWhatItCannotBound) {
    struct Case {
        const char* what;
        QByteArray bytes;
        int asked;
        std::expected<QSize, ArtworkDecodeError> expected;
        ArtworkDecodeLimits limits = {};
    };
    const Case cases[] = {
        {"wide", encoded({2000, 1000}), 320, QSize(320, 160)},
        {"tall JPEG", encoded({1000, 2000}, "JPEG"), 320, QSize(160, 320)},
        {"asked below the floor", encoded({2000, 1000}), 10, QSize(64, 32)},
        {"smaller than asked", encoded({100, 50}), 320, QSize(100, 50)},
        {"asked past the edge cap", encoded({2100, 1050}), 100000, QSize(2048, 1024)},
        {"not an image", QByteArray("<html>not found</html>"), 320, std::unexpected(ArtworkDecodeError::unreadable)},
        {"side past the limit", encoded({16385, 1}), 320, std::unexpected(ArtworkDecodeError::tooLarge)},
        {"too many pixels", encoded({40, 30}), 320, std::unexpected(ArtworkDecodeError::tooLarge), {.maxPixels = 1199}},
        {"truncated picture", encoded({400, 400}).left(200), 320, std::unexpected(ArtworkDecodeError::failed)},
    };
    for (const Case& c : cases) {
        const auto image = decodeArtwork(c.bytes, c.asked, c.limits);
        const std::expected<QSize, ArtworkDecodeError> got =
            image ? std::expected<QSize, ArtworkDecodeError>(image->size()) : std::unexpected(image.error());
        EXPECT_EQ(got, c.expected) << c.what;
    }
}

// --- The bounded memory -----------------------------------------------------------------------

// Whichever limit is passed, the least recently used entries (a look-up counts as a use) go
// first; an entry costlier than the whole limit is not kept.
TEST(ArtworkLruCache, EvictsTheLeastRecentlyUsedPastEitherLimit) {
    struct Step {
        char key;
        bool lookUp;  // else insert
        qint64 cost;
    };
    struct Case {
        const char* what;
        qsizetype countLimit;
        qint64 costLimit;
        std::vector<Step> steps;
        std::string kept;
    };
    const Case cases[] = {
        {"count", 2, 1000, {{'a', false, 1}, {'b', false, 1}, {'c', false, 1}}, "bc"},
        {"count after a look-up", 2, 1000, {{'a', false, 1}, {'b', false, 1}, {'a', true, 0}, {'c', false, 1}}, "ac"},
        {"cost", 10, 10, {{'a', false, 4}, {'b', false, 4}, {'c', false, 4}}, "bc"},
        {"cost of a replaced entry", 10, 10, {{'a', false, 4}, {'b', false, 4}, {'a', false, 7}}, "a"},
        {"costlier than the limit", 10, 10, {{'a', false, 4}, {'b', false, 11}}, ""},
    };
    for (const Case& c : cases) {
        ArtworkLruCache cache(c.countLimit, c.costLimit);
        const auto url = [](char key) { return QUrl(QStringLiteral("http://127.0.0.1/") + QChar(key)); };
        for (const Step& step : c.steps) {
            if (step.lookUp) {
                cache.find(url(step.key));
            } else {
                cache.insert(url(step.key), QImage(1, 1, QImage::Format_RGB32), step.cost);
            }
        }
        std::string kept;
        for (char key : std::string("abc")) {
            if (cache.contains(url(key))) kept += key;
        }
        EXPECT_EQ(kept, c.kept) << c.what;
        EXPECT_LE(cache.totalCost(), c.costLimit) << c.what;
    }
}

// --- Downloading ------------------------------------------------------------------------------

// Only http and https are fetched, hop by hop; statuses outside 2xx, empty and oversized bodies
// give no bytes.
TEST_F(ArtworkServerTest, DownloadsOnlyWhatItMay) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString localFile = folder.filePath(QStringLiteral("art.png"));
    ASSERT_TRUE(QImage(8, 8, QImage::Format_RGB32).save(localFile));
    const QByteArray localUrl = QUrl::fromLocalFile(localFile).toEncoded();
    const QByteArray big(11 * 1024 * 1024, 'x');

    routes["/art.png"] = png({10, 10});
    routes["/moved"] = redirect(301, "art.png");
    routes["/to-file"] = redirect(302, localUrl);
    routes["/to-ftp"] = redirect(307, "ftp://127.0.0.1/art.png");
    routes["/loop"] = redirect(302, "/loop");
    routes["/nowhere"] = HttpReply::withStatus(302);
    routes["/299"] = HttpReply::withStatus(299, "x");
    routes["/300"] = HttpReply::withStatus(300, "x");
    routes["/empty"] = HttpReply::ok({}, "image/png");
    routes["/declared-big"] = HttpReply::ok(big, "image/png");
    // Chunked, so no length is declared, and never finished: only a cap applied while the bytes
    // stream in gives "too large" rather than a broken reply.
    routes["/streamed-big"] = HttpReply::raw("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nTransfer-Encoding: chunked\r\n\r\n" +
                                             QByteArray::number(big.size(), 16) + "\r\n" + big + "\r\n");
    routes["/dropped"] = HttpReply::drop();

    struct Case {
        QUrl url;
        std::optional<ArtworkDownloadError> error;
        qsizetype requests;  // -1: not counted (Qt sends a request again once when the server drops it)
    };
    const ArtworkDownloadLimits limits;
    const Case cases[] = {
        {url("/art.png"), std::nullopt, 1},
        {url("/moved"), std::nullopt, 2},
        {QUrl::fromEncoded(localUrl), ArtworkDownloadError::unsupportedScheme, 0},
        {url("/to-file"), ArtworkDownloadError::unsupportedScheme, 1},
        {url("/to-ftp"), ArtworkDownloadError::unsupportedScheme, 1},
        {url("/loop"), ArtworkDownloadError::tooManyRedirects, limits.maxRedirects + 1},
        {url("/nowhere"), ArtworkDownloadError::badStatus, 1},
        {url("/missing"), ArtworkDownloadError::badStatus, 1},
        {url("/299"), std::nullopt, 1},
        {url("/300"), ArtworkDownloadError::badStatus, 1},
        {url("/empty"), ArtworkDownloadError::emptyBody, 1},
        {url("/declared-big"), ArtworkDownloadError::bodyTooLarge, 1},
        {url("/streamed-big"), ArtworkDownloadError::bodyTooLarge, 1},
        {url("/dropped"), ArtworkDownloadError::network, -1},
    };
    for (const Case& c : cases) {
        server.clearRequests();
        const auto result = waitForTask(downloadArtwork(&manager, &clock, c.url, limits));
        const std::string what = c.url.toString().toStdString();
        ASSERT_TRUE(result.has_value()) << what << " did not end";
        if (c.error) {
            ASSERT_FALSE(result->has_value()) << what;
            EXPECT_EQ(result->error(), *c.error) << what;
        } else {
            EXPECT_TRUE(result->has_value()) << what;
        }
        if (c.requests >= 0) {
            EXPECT_EQ(server.requestCount(), c.requests) << what;
        }
    }
}

// A body announced past the cap is refused when the headers come, and nothing reads on behind
// the refusal while the window is busy: the connection closes having taken no more than the
// kernel's buffers hold (a few megabytes), not the body.
TEST_F(ArtworkServerTest, RefusesADeclaredLengthPastTheCapWithoutReadingTheBody) {
    constexpr qint64 announced = 100 * 1024 * 1024;
    orvel::testing::AnnouncingServer big({}, announced);
    ASSERT_TRUE(big.listening());
    BusyWhenHeadersArrive busy([&] { return big.bytesSent() >= announced / 4; });
    const auto result = waitForTask(downloadArtwork(&busy, &clock, big.url(), {.maxBodyBytes = 1024 * 1024}));
    ASSERT_TRUE(result.has_value());
    ASSERT_FALSE(result->has_value());
    EXPECT_EQ(result->error(), ArtworkDownloadError::bodyTooLarge);
    ASSERT_TRUE(waitUntil([&] { return big.closed(); }));
    EXPECT_LT(big.bytesSent(), announced / 4);
}

// A server that stops sending trips the idle time-out; one that keeps trickling trips the total
// deadline, which counts across the whole download.
TEST_F(ArtworkServerTest, SlowServersEndAtTheirTimeOut) {
    // A byte every 50 ms: over an hour for the whole body, so it is still trickling when the
    // test moves the clock.
    HttpReply trickle = HttpReply::ok(QByteArray(100'000, 'x'), "image/png");
    trickle.trickleBytes = 1;
    trickle.trickleInterval = 50ms;
    routes["/hang"] = HttpReply::hang();
    routes["/trickle"] = trickle;

    struct Case {
        const char* path;
        ArtworkDownloadLimits limits;
        std::chrono::milliseconds advance;
    };
    const Case cases[] = {
        {"/hang", {.idleTimeout = 1000ms, .deadline = 60000ms}, 1000ms},
        {"/trickle", {.idleTimeout = 60000ms, .deadline = 8000ms}, 8000ms},
    };
    for (const Case& c : cases) {
        server.clearRequests();
        auto outcome = std::make_shared<waiting::TaskOutcome<ArtworkDownloadResult>>();
        waiting::collect(downloadArtwork(&manager, &clock, url(c.path), c.limits), outcome);
        ASSERT_TRUE(waitUntil([&] { return server.requestCount() == 1; })) << c.path;
        EXPECT_FALSE(outcome->done) << c.path;
        clock.advance(c.advance - 1ms);
        EXPECT_FALSE(outcome->done) << c.path;
        clock.advance(1ms);
        ASSERT_TRUE(waitUntil([&] { return outcome->done; })) << c.path;
        ASSERT_FALSE(outcome->value->has_value()) << c.path;
        EXPECT_EQ(outcome->value->error(), ArtworkDownloadError::timedOut) << c.path;
    }
}

// --- The cache --------------------------------------------------------------------------------

// Twenty loads of one URL share one download; the image, scaled to the asked edge, is cached
// once and serves later loads of any size without a request.
TEST_F(ArtworkServerTest, ConcurrentLoadsShareOneDownload) {
    ArtworkImageCache cache(&manager, clock);
    routes["/art.png"] = png({2000, 1000});
    server.setHoldReplies(true);

    std::vector<std::shared_ptr<LoadOutcome>> loads;
    for (int i = 0; i < 20; ++i) loads.push_back(startLoad(cache, url("/art.png")));
    ASSERT_TRUE(waitUntil([&] { return server.heldReplyCount() == 1; }));
    EXPECT_EQ(cache.inFlightCount(), 1);
    server.setHoldReplies(false);

    ASSERT_TRUE(waitUntil([&] { return std::ranges::all_of(loads, [](const auto& l) { return l->done; }); }));
    for (const auto& load : loads) {
        ASSERT_TRUE(load->value->has_value());
        EXPECT_EQ((*load->value)->size(), QSize(320, 160));
    }
    EXPECT_EQ(server.requestCount(), 1);
    EXPECT_EQ(cache.inFlightCount(), 0);
    EXPECT_EQ(cache.cachedCount(), 1);

    const auto again = waitForTask(cache.load(url("/art.png"), 64));
    ASSERT_TRUE(again && again->has_value());
    EXPECT_EQ((*again)->size(), QSize(320, 160));
    EXPECT_EQ(server.requestCount(), 1);
}

// A failed load caches nothing, so the next load asks the server again; once the server
// answers, the image is had.
TEST_F(ArtworkServerTest, FailuresAreNotRemembered) {
    ArtworkImageCache cache(&manager, clock);
    for (const char* failure : {"404", "undecodable"}) {
        server.clearRequests();
        const QByteArray path = QByteArray("/") + failure;
        routes[path] = QByteArray(failure) == "404" ? HttpReply::withStatus(404)
                                                    : HttpReply::ok("not a picture", "image/png");
        const QUrl target = url(path.constData());
        const auto first = waitForTask(cache.load(target, 320));
        ASSERT_TRUE(first.has_value()) << failure;
        EXPECT_FALSE(first->has_value()) << failure;

        routes[path] = png({40, 40});
        const auto second = waitForTask(cache.load(target, 320));
        ASSERT_TRUE(second.has_value()) << failure;
        EXPECT_TRUE(second->has_value()) << failure;
        EXPECT_EQ(server.requestCount(), 2) << failure;
    }
}

// Both limits reach the cache's memory (which order it evicts in is checked above), and an
// entry costs what its request asked for (a square of 320), not the small image decoded.
TEST_F(ArtworkServerTest, BothLimitsBoundTheCache) {
    routes["/art.png"] = png({16, 16});
    for (const auto& [countLimit, costLimit] : {std::pair<qsizetype, qint64>{2, 1 << 30}, {160, 2 * 320 * 320 * 4}}) {
        ArtworkCacheConfiguration configuration;
        configuration.countLimit = countLimit;
        configuration.costLimit = costLimit;
        ArtworkImageCache cache(&manager, clock, configuration);
        for (int n = 0; n < 3; ++n) {
            const QUrl numbered = url("/art.png").resolved(QUrl(QStringLiteral("art.png?n=%1").arg(n)));
            ASSERT_TRUE(waitForTask(cache.load(numbered, 320)).value_or(std::nullopt).has_value());
        }
        EXPECT_EQ(cache.cachedCount(), 2) << countLimit;
    }
}
