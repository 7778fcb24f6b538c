#include "HttpClient.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

#include <qcoro/qcoronetworkreply.h>

namespace orvel {

std::string TransportError::message() const {
    switch (kind) {
    case Kind::connectionRefused: return "connection refused: " + detail;
    case Kind::timedOut: return "timed out: " + detail;
    case Kind::bodyTooLarge: return "reply too large: " + detail;
    case Kind::networkFailure: return "network failure: " + detail;
    }
    return detail;
}

namespace {

struct ReplyDeleter {
    void operator()(QNetworkReply* reply) const {
        if (reply != nullptr) reply->deleteLater();
    }
};

// Shared between the coroutine and the signal handlers, which may outlive each other by a turn
// of the event loop.
struct Transfer {
    QByteArray body;
    std::optional<TransportError> failure;
};

TransportError mapNetworkError(QNetworkReply::NetworkError error, const QString& text) {
    std::string detail = text.toStdString();
    switch (error) {
    case QNetworkReply::ConnectionRefusedError: return TransportError::connectionRefused(detail);
    case QNetworkReply::TimeoutError: return TransportError::timedOut(detail);
    default: return TransportError::networkFailure(detail);
    }
}

}  // namespace

HttpClient::HttpClient() : manager_(std::make_unique<QNetworkAccessManager>()) {
    manager_->setProxy(QNetworkProxy::NoProxy);
    manager_->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    manager_->setAutoDeleteReplies(false);
}

HttpClient::~HttpClient() = default;

QCoro::Task<HttpResult> HttpClient::get(QUrl url, HttpLimits limits) {
    co_return co_await send("GET", std::move(url), {}, {}, limits);
}

QCoro::Task<HttpResult> HttpClient::post(QUrl url, std::vector<Header> headers, QByteArray body, HttpLimits limits) {
    co_return co_await send("POST", std::move(url), std::move(headers), std::move(body), limits);
}

QCoro::Task<HttpResult> HttpClient::send(QByteArray verb, QUrl url, std::vector<Header> headers, QByteArray body,
                                         HttpLimits limits) {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setMaximumRedirectsAllowed(0);
    // Naming an encoding ourselves stops Qt from inflating compressed bodies behind the size cap.
    request.setRawHeader("Accept-Encoding", "identity");
    for (const auto& [name, value] : headers) request.setRawHeader(name, value);

    std::unique_ptr<QNetworkReply, ReplyDeleter> reply(
        verb == "POST" ? manager_->post(request, body) : manager_->get(request));
    QNetworkReply* raw = reply.get();
    auto transfer = std::make_shared<Transfer>();
    const std::int64_t cap = limits.maxBodyBytes;

    auto fail = [raw, transfer](TransportError error) {
        if (transfer->failure) return;
        transfer->failure = std::move(error);
        raw->abort();
    };

    auto* idle = new QTimer(raw);
    idle->setSingleShot(true);
    idle->setTimerType(Qt::PreciseTimer);
    idle->setInterval(limits.idleTimeout);
    auto* deadline = new QTimer(raw);
    deadline->setSingleShot(true);
    deadline->setTimerType(Qt::PreciseTimer);
    deadline->setInterval(limits.deadline);

    QObject::connect(idle, &QTimer::timeout, raw, [fail, ms = limits.idleTimeout.count()] {
        fail(TransportError::timedOut("no data for " + std::to_string(ms) + " ms"));
    });
    QObject::connect(deadline, &QTimer::timeout, raw, [fail, ms = limits.deadline.count()] {
        fail(TransportError::timedOut("no complete reply within " + std::to_string(ms) + " ms"));
    });
    auto progressed = [idle] { idle->start(); };
    QObject::connect(raw, &QNetworkReply::uploadProgress, raw, progressed);
    QObject::connect(raw, &QNetworkReply::downloadProgress, raw, progressed);
    QObject::connect(raw, &QNetworkReply::metaDataChanged, raw, [raw, fail, cap, idle] {
        idle->start();
        bool ok = false;
        const qint64 announced = raw->header(QNetworkRequest::ContentLengthHeader).toLongLong(&ok);
        if (ok && announced > cap) {
            fail(TransportError::bodyTooLarge("announced " + std::to_string(announced) + " bytes, limit " +
                                              std::to_string(cap)));
        }
    });
    QObject::connect(raw, &QNetworkReply::readyRead, raw, [raw, transfer, fail, cap, idle] {
        idle->start();
        if (transfer->failure) return;
        transfer->body += raw->readAll();
        if (transfer->body.size() > cap) {
            transfer->body.clear();
            fail(TransportError::bodyTooLarge("more than " + std::to_string(cap) + " bytes"));
        }
    });

    idle->start();
    deadline->start();
    co_await raw;
    idle->stop();
    deadline->stop();

    if (transfer->failure) co_return std::unexpected(*transfer->failure);
    const QVariant status = raw->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) co_return std::unexpected(mapNetworkError(raw->error(), raw->errorString()));
    // A reply that was cut short after its headers is not an answer either.
    switch (raw->error()) {
    case QNetworkReply::NoError:
    case QNetworkReply::ContentAccessDenied:
    case QNetworkReply::ContentOperationNotPermittedError:
    case QNetworkReply::ContentNotFoundError:
    case QNetworkReply::AuthenticationRequiredError:
    case QNetworkReply::ContentReSendError:
    case QNetworkReply::ContentConflictError:
    case QNetworkReply::ContentGoneError:
    case QNetworkReply::InternalServerError:
    case QNetworkReply::OperationNotImplementedError:
    case QNetworkReply::ServiceUnavailableError:
    case QNetworkReply::UnknownServerError:
    case QNetworkReply::ProtocolInvalidOperationError:
    case QNetworkReply::UnknownContentError:
        break;
    default:
        co_return std::unexpected(mapNetworkError(raw->error(), raw->errorString()));
    }
    transfer->body += raw->readAll();
    if (transfer->body.size() > cap) {
        co_return std::unexpected(TransportError::bodyTooLarge("more than " + std::to_string(cap) + " bytes"));
    }
    co_return HttpResponse{status.toInt(), std::move(transfer->body)};
}

}  // namespace orvel
