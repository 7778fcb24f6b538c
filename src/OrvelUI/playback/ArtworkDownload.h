#pragma once

// Fetching artwork bytes by URL: a plain GET through the given QNetworkAccessManager on the GUI
// thread. Only http and https are fetched, also after a redirect (each hop is checked, and only
// a few are followed); the body is capped, refused on its declared length and aborted while
// streaming past the cap; an idle time-out and a total deadline over all hops end a slow or
// trickling server.

#include <chrono>
#include <expected>
#include <string_view>

#include <QByteArray>
#include <QPointer>
#include <QUrl>
#include <QtGlobal>

#include <QCoroTask>

class QNetworkAccessManager;

namespace orvel {

class Clock;

enum class ArtworkDownloadError {
    unsupportedScheme,  // not http or https (also a redirect's target)
    tooManyRedirects,
    badStatus,          // an HTTP status outside 200 to 299, or a redirect without a target
    emptyBody,
    bodyTooLarge,
    timedOut,           // idle for too long, or past the total deadline
    network,            // no connection, a broken reply, the manager gone
};

std::string_view describe(ArtworkDownloadError error);

struct ArtworkDownloadLimits {
    std::chrono::milliseconds idleTimeout{8000};
    std::chrono::milliseconds deadline{8000};
    qint64 maxBodyBytes = qint64(10) * 1024 * 1024;
    int maxRedirects = 4;

    friend bool operator==(const ArtworkDownloadLimits&, const ArtworkDownloadLimits&) = default;
};

// Whether a URL may be fetched at all: a valid http or https URL with a host.
bool isDownloadableArtworkUrl(const QUrl& url);

// The downloaded body. (A struct rather than a bare QByteArray: g++ 12 does not compile a
// QCoro task whose result is an expected of QByteArray.)
struct ArtworkBytes {
    QByteArray data;
};

using ArtworkDownloadResult = std::expected<ArtworkBytes, ArtworkDownloadError>;

// The time-outs run on `clock`, which must outlive the download.
QCoro::Task<ArtworkDownloadResult> downloadArtwork(QPointer<QNetworkAccessManager> manager, Clock* clock, QUrl url,
                                                   ArtworkDownloadLimits limits);

}  // namespace orvel
