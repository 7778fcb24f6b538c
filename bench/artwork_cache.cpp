// The artwork cache's costs: decoding a 3000 x 3000 JPEG (generated here) asked at 320 pixels,
// with the process's peak resident memory while decoding; 200 distinct artwork URLs loaded
// through one cache from a loopback server, which reports the requests sent and the entries the
// cost limit lets the cache keep; and the peak resident memory of one load whose reply announces
// 50 MB (refused on its declared length), beside one load of an ordinary image.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QNetworkAccessManager>

#include "OrvelUI/playback/ArtworkDecode.h"
#include "OrvelUI/playback/ArtworkImageCache.h"
#include "Support/Clock.h"
#include "common/AnnouncingServer.h"
#include "common/WaitFor.h"
#include "fakes/FakeHttpServer.h"

using namespace orvel;

namespace {

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "bench_artwork_cache";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// A gradient with grain, so the file is about as busy as a photograph's.
QByteArray jpeg(int edge) {
    QImage image(edge, edge, QImage::Format_RGB32);
    std::uint32_t noise = 2463534242u;
    for (int y = 0; y < edge; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < edge; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int grain = int(noise & 31) - 16;
            const int base = 40 + 160 * (x + y) / (2 * edge);
            line[x] = qRgb(std::clamp(base + grain, 0, 255), std::clamp(base / 2 + grain, 0, 255),
                           std::clamp(200 - base + grain, 0, 255));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

double maxRssMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// Linux lets a process reset its peak resident size to the current one, so the peak seen after
// the decodes is theirs and not the generator's.
void resetPeakRss() { std::ofstream("/proc/self/clear_refs") << "5"; }

void decodeLargeJpeg(benchmark::State& state) {
    application();
    std::optional<QByteArray> bytes = jpeg(3000);
    resetPeakRss();
    const double before = maxRssMiB();
    QSize decoded;
    for (auto _ : state) {
        auto image = decodeArtwork(*bytes, 320);
        if (!image) {
            state.SkipWithError("decode failed");
            break;
        }
        decoded = image->size();
        benchmark::DoNotOptimize(image);
    }
    state.counters["width"] = decoded.width();
    state.counters["height"] = decoded.height();
    state.counters["jpegMiB"] = double(bytes->size()) / (1024.0 * 1024.0);
    state.counters["maxRssBeforeMiB"] = before;
    state.counters["maxRssMiB"] = maxRssMiB();
}
BENCHMARK(decodeLargeJpeg)->Unit(benchmark::kMillisecond);

struct Tally {
    int finished = 0;
    int images = 0;
};

QCoro::Task<> count(QCoro::Task<std::optional<QImage>> load, std::shared_ptr<Tally> tally) {
    const bool image = (co_await load).has_value();
    ++tally->finished;
    if (image) ++tally->images;
}

void cacheOf200Urls(benchmark::State& state) {
    application();
    fakes::FakeHttpServer server;
    if (!server.listen(QHostAddress(QStringLiteral("127.0.0.1")))) {
        state.SkipWithError("no loopback server");
        return;
    }
    server.setRecording(false);
    const QByteArray body = jpeg(640);
    qint64 requests = 0;
    server.setHandler([&](const fakes::HttpRequest&) {
        ++requests;
        return fakes::HttpReply::ok(body, "image/jpeg");
    });
    QNetworkAccessManager manager;
    constexpr int urlCount = 200;
    resetPeakRss();
    const double before = maxRssMiB();
    qsizetype kept = 0;
    int images = 0;
    for (auto _ : state) {
        ArtworkImageCache cache(&manager, Clock::system());
        // All at once, as a long up-next list asks for its rows' artwork.
        // The views keep only what the cache keeps: each result is counted and dropped.
        auto tally = std::make_shared<Tally>();
        for (int i = 0; i < urlCount; ++i) {
            const QUrl url = server.baseUrl().resolved(QUrl(QStringLiteral("/art/%1.jpg").arg(i)));
            count(cache.load(url, 320), tally);
        }
        waitUntil([&] { return tally->finished == urlCount; }, std::chrono::seconds(60));
        images = tally->images;
        kept = cache.cachedCount();
    }
    state.counters["images"] = images;
    state.counters["bodyKiB"] = double(body.size()) / 1024.0;
    state.counters["requests"] = benchmark::Counter(double(requests), benchmark::Counter::kAvgIterations);
    state.counters["kept"] = double(kept);
    state.counters["maxRssBeforeMiB"] = before;
    state.counters["maxRssMiB"] = maxRssMiB();
}
BENCHMARK(cacheOf200Urls)->Unit(benchmark::kMillisecond)->Iterations(3);

// One load from a server that sends as fast as it is read: an ordinary 640-pixel JPEG, or the same
// JPEG announced and sent as 50 MB. The peak resident memory of the second should be about
// that of the first.
void announcedLength(benchmark::State& state) {
    application();
    const QByteArray body = jpeg(640);
    const std::int64_t announced = state.range(0) == 0 ? body.size() : std::int64_t(50) * 1000 * 1000;
    state.SetLabel(state.range(0) == 0 ? "ordinary image" : "announces 50 MB");
    QNetworkAccessManager manager;
    double before = 0;
    double sentMiB = 0;
    for (auto _ : state) {
        testing::AnnouncingServer server(body, announced);
        ArtworkImageCache cache(&manager, Clock::system());
        resetPeakRss();
        before = maxRssMiB();
        auto tally = std::make_shared<Tally>();
        count(cache.load(server.url(), 320), tally);
        waitUntil([&] { return tally->finished == 1 && server.closed(); }, std::chrono::seconds(60));
        if ((tally->images == 1) != (state.range(0) == 0)) state.SkipWithError("unexpected outcome");
        sentMiB = double(server.bytesSent()) / (1024.0 * 1024.0);
    }
    state.counters["maxRssBeforeMiB"] = before;
    state.counters["maxRssMiB"] = maxRssMiB();
    state.counters["sentMiB"] = sentMiB;
}
BENCHMARK(announcedLength)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
