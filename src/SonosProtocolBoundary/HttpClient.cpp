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
    // The reply ended cleanly and the connection can carry the next request.
    bool reusable = false;

    // Ends the exchange once. A failed or unusable connection is closed at once: nothing more
    // is read from it.
    void finish(bool keepConnection = false) {
        if (over) return;
        over = true;
        reusable = keepConnection;
        idle.cancel();
        deadline.cancel();
        if (socket) {
            QObject::disconnect(socket.get(), nullptr, nullptr, nullptr);
            if (!keepConnection) socket->abort();
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

// The idle connections, one per server ("host:port").
class HttpClient::Pool {
public:
    Pool() = default;
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;
    ~Pool() {
        for (auto& [key, socket] : idle_) SocketDeleter()(socket);
    }

    // The server's idle connection, when it is still open.
    QTcpSocket* take(const QString& key) {
        const auto it = idle_.find(key);
        if (it == idle_.end()) return nullptr;
        QTcpSocket* socket = it->second;
        idle_.erase(it);
        QObject::disconnect(socket, nullptr, nullptr, nullptr);
        if (socket->state() != QAbstractSocket::ConnectedState || socket->bytesAvailable() > 0) {
            SocketDeleter()(socket);
            return nullptr;
        }
        return socket;
    }

    void put(const QString& key, QTcpSocket* socket) {
        if (idle_.contains(key) || socket->state() != QAbstractSocket::ConnectedState) {
            SocketDeleter()(socket);
            return;
        }
        idle_.emplace(key, socket);
        // A server may close an idle connection at any time, and has nothing to say on one.
        const auto drop = [this, key, socket] {
            const auto it = idle_.find(key);
            if (it == idle_.end() || it->second != socket) return;
            idle_.erase(it);
            SocketDeleter()(socket);
        };
        QObject::connect(socket, &QTcpSocket::readyRead, socket, drop);
        QObject::connect(socket, &QTcpSocket::disconnected, socket, drop);
        QObject::connect(socket, &QTcpSocket::errorOccurred, socket, drop);
    }

    std::size_t idleCount() const { return idle_.size(); }

    std::uint64_t opened = 0;

private:
    std::map<QString, QTcpSocket*> idle_;
};

HttpClient::HttpClient(Clock& clock) : clock_(clock), pool_(std::make_unique<Pool>()) {}

HttpClient::~HttpClient() = default;

std::size_t HttpClient::idleConnectionCount() const { return pool_->idleCount(); }

std::uint64_t HttpClient::connectionsOpened() const { return pool_->opened; }

QCoro::Task<HttpResult> HttpClient::get(QUrl url, HttpLimits limits) {
    auto sendTask = send("GET", std::move(url), {}, {}, limits, Repeat::safe);
    co_return co_await std::move(sendTask);
}

QCoro::Task<HttpResult> HttpClient::post(QUrl url, std::vector<Header> headers, QByteArray body, HttpLimits limits,
                                         Repeat repeat) {
    auto sendTask = send("POST", std::move(url), std::move(headers), std::move(body), limits, repeat);
    co_return co_await std::move(sendTask);
}

QCoro::Task<HttpResult> HttpClient::send(QByteArray verb, QUrl url, std::vector<Header> headers, QByteArray body,
                                         HttpLimits limits, Repeat repeat) {
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
                         "\r\n"
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

    const QString key = url.host() + QLatin1Char(':') + QString::number(port);
    // A command never goes over a kept connection: one the server closed in the meantime would
    // leave it unknown whether the command arrived, and it must not be sent twice.
    QTcpSocket* kept = repeat == Repeat::safe ? pool_->take(key) : nullptr;
    for (;;) {
        const bool reused = kept != nullptr;
        auto exchanging = runExchange(url.host(), port, request, limits, std::exchange(kept, nullptr));
        Outcome outcome = co_await std::move(exchanging);
        if (outcome.failure) {
            // The kept connection was closed before the server could answer: once more on a new one.
            if (reused && !outcome.answered && outcome.failure->kind != TransportError::Kind::timedOut) continue;
            co_return std::unexpected(*outcome.failure);
        }
        if (outcome.connection) pool_->put(key, outcome.connection);
        co_return std::move(outcome.response);
    }
}

QCoro::Task<HttpClient::Outcome> HttpClient::runExchange(QString host, quint16 port, QByteArray request, HttpLimits limits,
                                                         QTcpSocket* kept) {
    auto exchange = std::make_shared<Exchange>(limits.maxBodyBytes);
    exchange->ended.start();
    if (kept != nullptr) {
        exchange->socket.reset(kept);
    } else {
        exchange->socket.reset(new QTcpSocket);
        exchange->socket->setProxy(QNetworkProxy::NoProxy);
        ++pool_->opened;
    }
    QTcpSocket* socket = exchange->socket.get();
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
            if (e->reader.finished()) {
                return e->finish(e->reader.leavesConnectionReusable() && e->socket->bytesAvailable() == 0);
            }
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
    if (kept != nullptr) {
        socket->write(request);
    } else {
        socket->connectToHost(host, port);
    }

    QFuture<void> ended = exchange->ended.future();
    co_await ended;

    Outcome outcome;
    outcome.answered = exchange->reader.sawBytes();
    if (exchange->failure) {
        outcome.failure = exchange->failure;
        co_return outcome;
    }
    outcome.response = HttpResponse{exchange->reader.statusCode(), std::move(exchange->reader.body())};
    if (exchange->reusable) outcome.connection = exchange->socket.release();
    co_return outcome;
}

}  // namespace orvel
