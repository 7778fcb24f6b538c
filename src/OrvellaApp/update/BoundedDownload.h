#pragma once

// One GET with limits: the address (and every redirect) must pass the address policy, the body
// is read as it streams and the download is aborted the moment it passes its byte limit, and a
// total deadline on the injected clock aborts it however slowly the bytes come. The result is
// the whole body or one typed error; nothing partial is handed out.

#include <QByteArray>
#include <QFuture>
#include <QObject>
#include <QPointer>
#include <QPromise>
#include <QUrl>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "OrvellaApp/update/UpdateAddressPolicy.h"
#include "OrvellaApp/update/UpdateError.h"
#include "Support/Clock.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace orvel {

struct DownloadLimits {
    std::int64_t maxBytes = 0;
    // Given: the body must be exactly this long; fewer bytes is a truncated download.
    std::optional<std::int64_t> exactLength;
    std::chrono::nanoseconds deadline{0};
    // What passing `maxBytes` is called.
    UpdateError::Kind tooLarge = UpdateError::Kind::archiveTooLarge;
};

class BoundedDownload : public QObject {
    Q_OBJECT

public:
    using Result = UpdateResult<QByteArray>;

    // Starts the download at once. The future finishes exactly once; it finishes as cancelled
    // when the manager goes first. The clock must outlive the download.
    static QFuture<Result> start(QNetworkAccessManager& manager, const QUrl& url, const UpdateAddressPolicy& addresses,
                                 const DownloadLimits& limits, Clock& clock);

    ~BoundedDownload() override;

private:
    BoundedDownload(QNetworkReply* reply, const UpdateAddressPolicy& addresses, const DownloadLimits& limits,
                    Clock& clock);

    void read();
    void headersArrived();
    void finished();
    void fail(UpdateError::Kind kind, std::string detail);
    void complete(Result result);

    QPointer<QNetworkReply> reply_;
    UpdateAddressPolicy addresses_;
    DownloadLimits limits_;
    QByteArray body_;
    std::shared_ptr<QPromise<Result>> promise_ = std::make_shared<QPromise<Result>>();
    Clock::Timer deadline_;
    bool done_ = false;
};

}  // namespace orvel
