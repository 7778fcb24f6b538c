#include "HttpClient.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

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

// Shared between the coroutine, the signal handlers and the timers, which may outlive each
// other by a turn of the event loop.
struct Transfer {
    QPointer<QNetworkReply> reply;
    QByteArray body;
    std::optional<TransportError> failure;
    Clock::Timer idle;
    Clock::Timer deadline;

    void fail(TransportError error) {
        if (failure) return;
        failure = std::move(error);
        if (reply) reply->abort();
    }
};

// (Re)starts the idle timer. The timer holds the transfer weakly: the transfer owns the timer.
void armIdle(const std::shared_ptr<Transfer>& transfer, Clock& clock, std::chrono::milliseconds idle) {
    std::weak_ptr<Transfer> weak = transfer;
    transfer->idle = clock.schedule(idle, [weak, ms = idle.count()] {
        if (auto t = weak.lock()) t->fail(TransportError::timedOut("no data for " + std::to_string(ms) + " ms"));
    });
}

TransportError mapNetworkError(QNetworkReply::NetworkError error, const QString& text) {
    std::string detail = text.toStdString();
    switch (error) {
    case QNetworkReply::ConnectionRefusedError: return TransportError::connectionRefused(detail);
    case QNetworkReply::TimeoutError: return TransportError::timedOut(detail);
    default: return TransportError::networkFailure(detail);
    }
}

}  // namespace

HttpClient::HttpClient(Clock& clock) : clock_(clock), manager_(std::make_unique<QNetworkAccessManager>()) {
    manager_->setProxy(QNetworkProxy::NoProxy);
    manager_->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    manager_->setAutoDeleteReplies(false);
}

HttpClient::~HttpClient() = default;

QCoro::Task<HttpResult> HttpClient::get(QUrl url, HttpLimits limits) {
    auto sendTask = send("GET", std::move(url), {}, {}, limits);
    co_return co_await std::move(sendTask);
}

QCoro::Task<HttpResult> HttpClient::post(QUrl url, std::vector<Header> headers, QByteArray body, HttpLimits limits) {
    auto sendTask = send("POST", std::move(url), std::move(headers), std::move(body), limits);
    co_return co_await std::move(sendTask);
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
    transfer->reply = raw;
    const std::int64_t cap = limits.maxBodyBytes;
    Clock* clock = &clock_;
    const auto idle = limits.idleTimeout;

    auto progressed = [transfer, clock, idle] {
        if (!transfer->failure) armIdle(transfer, *clock, idle);
    };
    QObject::connect(raw, &QNetworkReply::uploadProgress, raw, progressed);
    QObject::connect(raw, &QNetworkReply::downloadProgress, raw, progressed);
    QObject::connect(raw, &QNetworkReply::metaDataChanged, raw, [raw, transfer, cap, progressed] {
        progressed();
        bool ok = false;
        const qint64 announced = raw->header(QNetworkRequest::ContentLengthHeader).toLongLong(&ok);
        if (ok && announced > cap) {
            transfer->fail(TransportError::bodyTooLarge("announced " + std::to_string(announced) + " bytes, limit " +
                                                        std::to_string(cap)));
        }
    });
    QObject::connect(raw, &QNetworkReply::readyRead, raw, [raw, transfer, cap, progressed] {
        progressed();
        if (transfer->failure) return;
        transfer->body += raw->readAll();
        if (transfer->body.size() > cap) {
            transfer->body.clear();
            transfer->fail(TransportError::bodyTooLarge("more than " + std::to_string(cap) + " bytes"));
        }
    });

    armIdle(transfer, *clock, idle);
    std::weak_ptr<Transfer> weak = transfer;
    transfer->deadline = clock->schedule(limits.deadline, [weak, ms = limits.deadline.count()] {
        if (auto t = weak.lock()) t->fail(TransportError::timedOut("no complete reply within " + std::to_string(ms) + " ms"));
    });
    co_await raw;
    transfer->idle.cancel();
    transfer->deadline.cancel();

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
