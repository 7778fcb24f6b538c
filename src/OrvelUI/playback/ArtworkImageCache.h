#pragma once

// The process-wide artwork cache: fetches artwork by URL, shrinks it off the GUI thread and
// keeps the results in a bounded least-recently-used memory. Concurrent loads of one URL share
// one download; the requested size is not part of the key, so a URL's image serves every later
// request whatever size it names. Failures are not remembered: the next load fetches again.
// Used on the GUI thread only; the download runs there too (through QNetworkAccessManager),
// and only the decoding of plain bytes leaves it.

#include <memory>
#include <optional>

#include <QImage>
#include <QUrl>
#include <QtGlobal>

#include <QCoroTask>

#include "OrvelUI/playback/ArtworkDecode.h"
#include "OrvelUI/playback/ArtworkDownload.h"

class QNetworkAccessManager;

namespace orvel {

class Clock;

struct ArtworkCacheConfiguration {
    qsizetype countLimit = 160;
    qint64 costLimit = qint64(32) * 1024 * 1024;
    ArtworkDownloadLimits download;
    ArtworkDecodeLimits decode;
};

class ArtworkImageCache {
public:
    using Configuration = ArtworkCacheConfiguration;
    // The state that running loads share with the cache (defined in the source file).
    struct Core;

    // The one instance the views use, created on first use (on the GUI thread) and never
    // released; it downloads through a manager of its own on the system clock.
    static ArtworkImageCache& shared();

    // `manager` and `clock` must outlive every load started here. A cache destroyed while loads
    // run lets them finish unseen.
    explicit ArtworkImageCache(QNetworkAccessManager* manager, Clock& clock, Configuration configuration = {});
    ~ArtworkImageCache();
    ArtworkImageCache(const ArtworkImageCache&) = delete;
    ArtworkImageCache& operator=(const ArtworkImageCache&) = delete;

    // The cached image, else the result of the running download of `url`, else of a new one
    // decoded to at most `maxPixelSize` (never below 64) on its longer edge. Absent when no
    // image could be had.
    QCoro::Task<std::optional<QImage>> load(QUrl url, int maxPixelSize);

    // The cached image for `url`, at once and without any network.
    std::optional<QImage> cached(const QUrl& url);

    // What an entry stored for a request of `maxPixelSize` counts against the cost limit: a
    // square four-byte bitmap of that edge, whatever was actually decoded.
    static qint64 cost(int maxPixelSize);

    qsizetype cachedCount() const;
    qsizetype inFlightCount() const;

private:
    std::shared_ptr<Core> core_;
};

}  // namespace orvel
