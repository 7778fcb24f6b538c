#include "OrvellaApp/update/BoundedDownload.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace orvel {

namespace {
constexpr int maxRedirects = 5;
}

QFuture<BoundedDownload::Result> BoundedDownload::start(QNetworkAccessManager& manager, const QUrl& url,
                                                        const UpdateAddressPolicy& addresses,
                                                        const DownloadLimits& limits, Clock& clock) {
    if (!addresses.allows(url)) {
        QPromise<Result> refused;
        QFuture<Result> future = refused.future();
        refused.start();
        refused.addResult(Result(updateFailure(UpdateError::Kind::insecureAddress, url.toString().toStdString())));
        refused.finish();
        return future;
    }
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(maxRedirects);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply* reply = manager.get(request);
    // A child of the reply: when the manager takes its replies down, the download goes with them.
    auto* download = new BoundedDownload(reply, addresses, limits, clock);
    return download->promise_->future();
}

BoundedDownload::BoundedDownload(QNetworkReply* reply, const UpdateAddressPolicy& addresses,
                                 const DownloadLimits& limits, Clock& clock)
    : QObject(reply), reply_(reply), addresses_(addresses), limits_(limits) {
    promise_->start();
    connect(reply, &QNetworkReply::redirected, this, [this](const QUrl& next) {
        if (!addresses_.allows(next)) return fail(UpdateError::Kind::insecureAddress, "redirect to " + next.toString().toStdString());
        if (reply_) emit reply_->redirectAllowed();
    });
    connect(reply, &QNetworkReply::metaDataChanged, this, &BoundedDownload::headersArrived);
    connect(reply, &QIODevice::readyRead, this, &BoundedDownload::read);
    connect(reply, &QNetworkReply::finished, this, &BoundedDownload::finished);
    deadline_ = clock.schedule(limits_.deadline, [this] { fail(UpdateError::Kind::timedOut, ""); });
}

BoundedDownload::~BoundedDownload() {
    if (!done_) complete(updateFailure(UpdateError::Kind::cancelled, ""));
}

void BoundedDownload::headersArrived() {
    if (done_ || !reply_) return;
    const QVariant declared = reply_->header(QNetworkRequest::ContentLengthHeader);
    if (declared.isValid() && declared.toLongLong() > limits_.maxBytes) {
        fail(limits_.tooLarge, "the server announces " + std::to_string(declared.toLongLong()) + " bytes");
    }
}

void BoundedDownload::read() {
    if (done_ || !reply_) return;
    const qint64 available = reply_->bytesAvailable();
    if (body_.size() + available > limits_.maxBytes) {
        return fail(limits_.tooLarge, "more than " + std::to_string(limits_.maxBytes) + " bytes");
    }
    body_.append(reply_->read(available));
}

void BoundedDownload::finished() {
    if (done_ || !reply_) return;
    read();
    if (done_) return;
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant declared = reply_->header(QNetworkRequest::ContentLengthHeader);
    // An error status is what the server meant, whatever body came with it.
    if (status != 0 && status != 200) return fail(UpdateError::Kind::network, "HTTP status " + std::to_string(status));
    const bool shortOfDeclared = declared.isValid() && body_.size() < declared.toLongLong();
    const bool shortOfExpected = limits_.exactLength && body_.size() < *limits_.exactLength;
    if (status == 200 && (shortOfExpected || shortOfDeclared)) {
        return fail(UpdateError::Kind::truncated,
                    std::to_string(body_.size()) + " of " +
                        std::to_string(limits_.exactLength ? *limits_.exactLength : declared.toLongLong()) + " bytes");
    }
    if (reply_->error() != QNetworkReply::NoError) {
        return fail(UpdateError::Kind::network, reply_->errorString().toStdString());
    }
    if (status != 200) return fail(UpdateError::Kind::network, "no HTTP reply");
    if (limits_.exactLength && body_.size() != *limits_.exactLength) {
        return fail(limits_.tooLarge, "more than the announced " + std::to_string(*limits_.exactLength) + " bytes");
    }
    complete(Result(std::move(body_)));
}

void BoundedDownload::fail(UpdateError::Kind kind, std::string detail) {
    complete(updateFailure(kind, std::move(detail)));
}

void BoundedDownload::complete(Result result) {
    if (done_) return;
    done_ = true;
    deadline_.cancel();
    promise_->addResult(std::move(result));
    promise_->finish();
    if (reply_) {
        QNetworkReply* reply = reply_.data();
        reply_.clear();
        reply->disconnect(this);
        if (reply->isRunning()) reply->abort();
        reply->deleteLater();
    }
}

}  // namespace orvel
