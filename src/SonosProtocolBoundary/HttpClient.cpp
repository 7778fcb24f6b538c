#include "HttpClient.h"

#include <QFuture>
#include <QNetworkProxy>
#include <QPromise>
#include <QTcpSocket>

#include <qcoro/qcorofuture.h>

#include "SonosProtocolBoundary/HttpReplyReader.h"

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

struct SocketDeleter {
    void operator()(QTcpSocket* socket) const {
        if (socket == nullptr) return;
        QObject::disconnect(socket, nullptr, nullptr, nullptr);
        socket->abort();
        socket->deleteLater();
    }
};

// Shared between the coroutine, the signal handlers and the timers, which may outlive each
// other by a turn of the event loop.
struct Exchange {
    explicit Exchange(std::int64_t maxBodyBytes) : reader(maxBodyBytes) {}

    std::unique_ptr<QTcpSocket, SocketDeleter> socket;
    HttpReplyReader reader;
    std::optional<TransportError> failure;
    Clock::Timer idle;
    Clock::Timer deadline;
    QPromise<void> ended;
    bool over = false;

    // Ends the exchange once, closing its connection at once: nothing more is read from it.
    void finish() {
        if (over) return;
        over = true;
        idle.cancel();
        deadline.cancel();
        if (socket) {
            QObject::disconnect(socket.get(), nullptr, nullptr, nullptr);
            socket->abort();
        }
        ended.finish();
    }
    void fail(TransportError error) {
        if (over) return;
        failure = std::move(error);
        finish();
    }
};

// (Re)starts the idle timer. The timer holds the exchange weakly: the exchange owns the timer.
void armIdle(const std::shared_ptr<Exchange>& exchange, Clock& clock, std::chrono::milliseconds idle) {
    std::weak_ptr<Exchange> weak = exchange;
    exchange->idle = clock.schedule(idle, [weak, ms = idle.count()] {
        if (auto e = weak.lock()) e->fail(TransportError::timedOut("no data for " + std::to_string(ms) + " ms"));
    });
}

TransportError mapSocketError(QAbstractSocket::SocketError error, const QString& text) {
    std::string detail = text.toStdString();
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return TransportError::connectionRefused(detail);
    case QAbstractSocket::SocketTimeoutError: return TransportError::timedOut(detail);
    default: return TransportError::networkFailure(detail);
    }
}

bool isFieldSafe(QByteArrayView text) {
    return !text.contains('\r') && !text.contains('\n') && !text.contains('\0');
}

}  // namespace

HttpClient::HttpClient(Clock& clock) : clock_(clock) {}

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
    if (!url.isValid() || url.scheme() != QLatin1String("http") || url.host().isEmpty()) {
        co_return std::unexpected(TransportError::networkFailure("not a plain HTTP URL: " + url.toString().toStdString()));
    }
    const quint16 port = static_cast<quint16>(url.port(80));
    QByteArray target = url.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty()) target = "/";
    if (url.hasQuery()) target += '?' + url.query(QUrl::FullyEncoded).toLatin1();
    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':')) host = '[' + host + ']';

    QByteArray request = verb + ' ' + target + " HTTP/1.1\r\nHost: " + host + ':' + QByteArray::number(port) +
                         "\r\nConnection: close\r\n"
                         // Naming an encoding ourselves keeps compressed bodies out.
                         "Accept-Encoding: identity\r\n";
    if (verb == "POST") request += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    for (const auto& [name, value] : headers) {
        if (name.isEmpty() || !isFieldSafe(name) || name.contains(':') || !isFieldSafe(value)) {
            co_return std::unexpected(TransportError::networkFailure("request header " + name.toStdString() +
                                                                     " is not a single line"));
        }
        request += name + ": " + value + "\r\n";
    }
    request += "\r\n" + body;

    auto exchange = std::make_shared<Exchange>(limits.maxBodyBytes);
    exchange->ended.start();
    exchange->socket.reset(new QTcpSocket);
    QTcpSocket* socket = exchange->socket.get();
    socket->setProxy(QNetworkProxy::NoProxy);
    Clock* clock = &clock_;
    const auto idle = limits.idleTimeout;
    std::weak_ptr<Exchange> weak = exchange;

    QObject::connect(socket, &QTcpSocket::connected, socket, [weak, request] {
        if (auto e = weak.lock()) e->socket->write(request);
    });
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [weak, clock, idle] {
        if (auto e = weak.lock()) armIdle(e, *clock, idle);
    });
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [weak, clock, idle] {
        auto e = weak.lock();
        if (!e || e->over) return;
        armIdle(e, *clock, idle);
        // Read in bounded slices: the reader fails as soon as a bound is passed, and a
        // reader that has finished stops the reading.
        while (!e->over && e->socket->bytesAvailable() > 0) {
            const QByteArray slice = e->socket->read(64 * 1024);
            if (slice.isEmpty()) break;
            e->reader.feed(slice);
            if (e->reader.failure()) return e->fail(*e->reader.failure());
            if (e->reader.finished()) return e->finish();
        }
    });
    QObject::connect(socket, &QTcpSocket::errorOccurred, socket, [weak](QAbstractSocket::SocketError error) {
        auto e = weak.lock();
        if (!e || e->over) return;
        if (error == QAbstractSocket::RemoteHostClosedError) {
            // Bytes that came with the close are still to be read.
            e->reader.feed(e->socket->readAll());
            e->reader.endOfStream();
            if (e->reader.failure()) return e->fail(*e->reader.failure());
            return e->finish();
        }
        e->fail(mapSocketError(error, e->socket->errorString()));
    });

    armIdle(exchange, *clock, idle);
    exchange->deadline = clock->schedule(limits.deadline, [weak, ms = limits.deadline.count()] {
        if (auto e = weak.lock()) e->fail(TransportError::timedOut("no complete reply within " + std::to_string(ms) + " ms"));
    });
    socket->connectToHost(url.host(), port);

    QFuture<void> ended = exchange->ended.future();
    co_await ended;

    if (exchange->failure) co_return std::unexpected(*exchange->failure);
    co_return HttpResponse{exchange->reader.statusCode(), std::move(exchange->reader.body())};
}

}  // namespace orvel
