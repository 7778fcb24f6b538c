#include "OrvelUI/playback/ArtworkDownload.h"

#include <algorithm>
#include <memory>
#include <optional>

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <QCoroNetworkReply>

#include "Support/Clock.h"

namespace orvel {

std::string_view describe(ArtworkDownloadError error) {
    switch (error) {
    case ArtworkDownloadError::unsupportedScheme: return "not an http or https URL";
    case ArtworkDownloadError::tooManyRedirects: return "too many redirects";
    case ArtworkDownloadError::badStatus: return "unexpected HTTP status";
    case ArtworkDownloadError::emptyBody: return "empty body";
    case ArtworkDownloadError::bodyTooLarge: return "body too large";
    case ArtworkDownloadError::timedOut: return "timed out";
    case ArtworkDownloadError::network: return "network failure";
    }
    return "network failure";
}

bool isDownloadableArtworkUrl(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty()) return false;
    // QUrl keeps schemes in lower case.
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

namespace {

struct ReplyDeleter {
    void operator()(QNetworkReply* reply) const {
        if (reply != nullptr) reply->deleteLater();
    }
};

// Shared by the coroutine, the reply's signal handlers and the timers, which may outlive one
// another by a turn of the event loop. One per download; each hop replaces the reply.
struct Transfer {
    QPointer<QNetworkReply> reply;
    QByteArray body;
    std::optional<ArtworkDownloadError> failure;
    Clock::Timer idle;
    Clock::Timer deadline;

    void fail(ArtworkDownloadError error) {
        if (failure) return;
        failure = error;
        body.clear();
        // Aborted from the event loop rather than from inside the reply's own signal, which Qt
        // would report as a second error; nothing more is read meanwhile.
        if (reply) QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
    }
};

void armIdle(const std::shared_ptr<Transfer>& transfer, Clock& clock, std::chrono::milliseconds idle) {
    // Weakly held: the transfer owns the timer.
    std::weak_ptr<Transfer> weak = transfer;
    transfer->idle = clock.schedule(idle, [weak] {
        if (auto t = weak.lock()) t->fail(ArtworkDownloadError::timedOut);
    });
}

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

QNetworkRequest artworkRequest(const QUrl& url) {
    QNetworkRequest request(url);
    // Redirects are followed here, hop by hop, so that every target's scheme is checked.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setMaximumRedirectsAllowed(0);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    // Naming an encoding ourselves stops Qt from inflating compressed bodies behind the size cap.
    request.setRawHeader("Accept-Encoding", "identity");
    return request;
}

// What a reply may hold that has not been taken yet. Qt's network thread reads no further ahead
// than this, so a body refused on its declared length, or once past the cap, is not read on
// behind the refusal before the abort reaches that thread.
constexpr qint64 readAheadBytes = 256 * 1024;

// Moves what has arrived into the body, up to one byte past the cap. Only what has arrived:
// read(n) allocates all n bytes first, and an empty body would keep that allocation (the whole
// cap) for as long as the download lasts.
void takeArrived(QNetworkReply& reply, Transfer& transfer, qint64 cap) {
    transfer.body += reply.read(std::min(reply.bytesAvailable(), cap + 1 - transfer.body.size()));
}

// Wires the cap and the idle time-out to one hop's reply.
void watch(QNetworkReply* raw, std::shared_ptr<Transfer> transfer, Clock* clock, ArtworkDownloadLimits limits) {
    const qint64 cap = limits.maxBodyBytes;
    const auto idle = limits.idleTimeout;
    raw->setReadBufferSize(readAheadBytes);
    auto progressed = [transfer, clock, idle] {
        if (!transfer->failure) armIdle(transfer, *clock, idle);
    };
    QObject::connect(raw, &QNetworkReply::downloadProgress, raw, progressed);
    QObject::connect(raw, &QNetworkReply::metaDataChanged, raw, [raw, transfer, cap, progressed] {
        progressed();
        bool ok = false;
        const qint64 announced = raw->header(QNetworkRequest::ContentLengthHeader).toLongLong(&ok);
        if (ok && announced > cap) transfer->fail(ArtworkDownloadError::bodyTooLarge);
    });
    QObject::connect(raw, &QNetworkReply::readyRead, raw, [raw, transfer, cap, progressed] {
        progressed();
        if (transfer->failure) return;
        takeArrived(*raw, *transfer, cap);
        if (transfer->body.size() > cap) transfer->fail(ArtworkDownloadError::bodyTooLarge);
    });
    armIdle(transfer, *clock, idle);
}

}  // namespace

QCoro::Task<ArtworkDownloadResult> downloadArtwork(QPointer<QNetworkAccessManager> manager, Clock* clock, QUrl url,
                                                   ArtworkDownloadLimits limits) {
    auto transfer = std::make_shared<Transfer>();
    // The last reply's handlers keep the transfer until the reply is deleted; its timers stop
    // with the download.
    struct StopTimers {
        std::shared_ptr<Transfer> transfer;
        ~StopTimers() {
            transfer->idle.cancel();
            transfer->deadline.cancel();
        }
    };
    StopTimers stopTimers{transfer};
    std::weak_ptr<Transfer> weak = transfer;
    transfer->deadline = clock->schedule(limits.deadline, [weak] {
        if (auto t = weak.lock()) t->fail(ArtworkDownloadError::timedOut);
    });

    for (int hop = 0;; ++hop) {
        if (!isDownloadableArtworkUrl(url)) co_return std::unexpected(ArtworkDownloadError::unsupportedScheme);
        if (transfer->failure) co_return std::unexpected(*transfer->failure);
        if (!manager) co_return std::unexpected(ArtworkDownloadError::network);

        std::unique_ptr<QNetworkReply, ReplyDeleter> reply(manager->get(artworkRequest(url)));
        QNetworkReply* raw = reply.get();
        transfer->reply = raw;
        transfer->body.clear();
        watch(raw, transfer, clock, limits);
        co_await raw;
        transfer->idle.cancel();
        if (transfer->failure) co_return std::unexpected(*transfer->failure);

        const QVariant status = raw->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (!status.isValid()) co_return std::unexpected(ArtworkDownloadError::network);
        const int code = status.toInt();
        if (isRedirect(code)) {
            if (hop >= limits.maxRedirects) co_return std::unexpected(ArtworkDownloadError::tooManyRedirects);
            const QByteArray location = raw->rawHeader("Location");
            if (location.isEmpty()) co_return std::unexpected(ArtworkDownloadError::badStatus);
            url = url.resolved(QUrl::fromEncoded(location));
            continue;
        }
        if (code < 200 || code > 299) co_return std::unexpected(ArtworkDownloadError::badStatus);
        // A reply cut short after its headers is no answer either.
        if (raw->error() != QNetworkReply::NoError) co_return std::unexpected(ArtworkDownloadError::network);
        takeArrived(*raw, *transfer, limits.maxBodyBytes);
        if (transfer->body.size() > limits.maxBodyBytes) co_return std::unexpected(ArtworkDownloadError::bodyTooLarge);
        if (transfer->body.isEmpty()) co_return std::unexpected(ArtworkDownloadError::emptyBody);
        co_return ArtworkDownloadResult(ArtworkBytes{std::move(transfer->body)});
    }
}

}  // namespace orvel
