#include "OrvelUI/playback/ArtworkImageCache.h"

#include <algorithm>
#include <map>
#include <utility>

#include <QLoggingCategory>
#include <QNetworkAccessManager>

#include "OrvelUI/playback/ArtworkLruCache.h"
#include "Support/Clock.h"
#include "Support/RunDetached.h"
#include "Support/SingleFlight.h"

Q_LOGGING_CATEGORY(lcArtwork, "Orvella.Artwork", QtWarningMsg)

namespace orvel {

using ImageFlight = SingleFlight<std::optional<QImage>>;

// Everything a load needs, shared with the running loads so that none depends on the cache
// object's lifetime.
struct ArtworkImageCache::Core {
    QPointer<QNetworkAccessManager> manager;
    Clock* clock;
    Configuration configuration;
    ArtworkLruCache images;
    std::map<QUrl, ImageFlight> inFlight;

    Core(QNetworkAccessManager* manager, Clock& clock, Configuration configuration)
        : manager(manager), clock(&clock), configuration(configuration),
          images(configuration.countLimit, configuration.costLimit) {}
};

namespace {

QCoro::Task<std::optional<QImage>> fetchAndDecode(QPointer<QNetworkAccessManager> manager, Clock* clock, QUrl url,
                                                  int maxPixelSize, ArtworkImageCache::Configuration configuration) {
    auto bytes = co_await downloadArtwork(manager, clock, url, configuration.download);
    if (!bytes) {
        qCDebug(lcArtwork) << "artwork" << url.toDisplayString() << describe(bytes.error()).data();
        co_return std::nullopt;
    }
    auto job = [bytes = std::move(bytes->data), maxPixelSize, limits = configuration.decode]() mutable {
        return decodeArtwork(std::move(bytes), maxPixelSize, limits);
    };
    auto image = co_await runDetached(std::move(job));
    if (!image) {
        qCDebug(lcArtwork) << "artwork" << url.toDisplayString() << describe(image.error()).data();
        co_return std::nullopt;
    }
    co_return std::optional<QImage>(std::move(*image));
}

// The one download of a flight. Leaving the in-flight table and entering the cache happen in
// one turn, before any waiter resumes, so a later load finds one or the other, never neither.
QCoro::Task<std::optional<QImage>> runFlight(std::shared_ptr<ArtworkImageCache::Core> core, QUrl url,
                                             int maxPixelSize) {
    auto image = co_await fetchAndDecode(core->manager, core->clock, url, maxPixelSize, core->configuration);
    core->inFlight.erase(url);
    if (image) core->images.insert(url, *image, ArtworkImageCache::cost(maxPixelSize));
    co_return image;
}

QCoro::Task<std::optional<QImage>> runLoad(std::shared_ptr<ArtworkImageCache::Core> core, QUrl url, int maxPixelSize) {
    if (auto hit = core->images.find(url)) co_return hit;
    // A copy shares the flight's state, so the flight outlives its entry in the table.
    ImageFlight flight = core->inFlight.try_emplace(url).first->second;
    auto start = [core, url, maxPixelSize] { return runFlight(core, url, maxPixelSize); };
    auto image = co_await flight.run(std::move(start));
    co_return image;
}

}  // namespace

ArtworkImageCache& ArtworkImageCache::shared() {
    // Never released: views may ask for artwork until the process ends.
    static ArtworkImageCache* instance = new ArtworkImageCache(new QNetworkAccessManager(), Clock::system());
    return *instance;
}

ArtworkImageCache::ArtworkImageCache(QNetworkAccessManager* manager, Clock& clock, Configuration configuration)
    : core_(std::make_shared<Core>(manager, clock, configuration)) {}

ArtworkImageCache::~ArtworkImageCache() = default;

QCoro::Task<std::optional<QImage>> ArtworkImageCache::load(QUrl url, int maxPixelSize) {
    return runLoad(core_, std::move(url), maxPixelSize);
}

std::optional<QImage> ArtworkImageCache::cached(const QUrl& url) { return core_->images.find(url); }

qint64 ArtworkImageCache::cost(int maxPixelSize) {
    const qint64 edge = std::max(maxPixelSize, 0);
    return edge * edge * 4;
}

qsizetype ArtworkImageCache::cachedCount() const { return core_->images.count(); }

qsizetype ArtworkImageCache::inFlightCount() const { return qsizetype(core_->inFlight.size()); }

}  // namespace orvel
