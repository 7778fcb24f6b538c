#include "fakes/FakeHttpServer.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace orvel::fakes {

namespace {

bool isLoopbackV4(const QHostAddress& address) {
    bool isV4 = false;
    const quint32 value = address.toIPv4Address(&isV4);
    return isV4 && (value >> 24) == 127;
}

bool equalsIgnoringCase(QByteArrayView a, QByteArrayView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isToken(QByteArrayView text) {
    if (text.isEmpty()) return false;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 32 || u >= 127 || c == ':' || c == '(' || c == ')' || c == ',' || c == '"') return false;
    }
    return true;
}

// One comma-separated header value holds `token` (as in "Connection: keep-alive, close").
bool listHolds(QByteArrayView value, QByteArrayView token) {
    for (const QByteArray& part : value.toByteArray().split(','))
        if (equalsIgnoringCase(part.trimmed(), token)) return true;
    return false;
}

enum class ParseState { Incomplete, Complete, Bad };

struct ParseResult {
    ParseState state = ParseState::Incomplete;
    HttpRequest request;
    int badStatus = 400;
    qsizetype consumed = 0;
};

ParseResult parseRequest(const QByteArray& buffer) {
    ParseResult result;
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0) {
        if (buffer.size() > FakeHttpServer::maxHeaderBytes) {
            result.state = ParseState::Bad;
            result.badStatus = 431;
        }
        return result;
    }
    auto bad = [&](int status) {
        result.state = ParseState::Bad;
        result.badStatus = status;
        return result;
    };
    if (headEnd > FakeHttpServer::maxHeaderBytes) return bad(431);

    QList<QByteArray> lines;
    for (qsizetype start = 0; start <= headEnd;) {
        qsizetype end = buffer.indexOf("\r\n", start);
        if (end < 0 || end > headEnd) end = headEnd;
        lines.append(buffer.mid(start, end - start));
        start = end + 2;
    }
    for (const QByteArray& line : lines)
        if (line.contains('\n') || line.contains('\r')) return bad(400);
    QList<QByteArray> requestLine = lines.front().split(' ');
    if (requestLine.size() != 3 || !isToken(requestLine[0]) || !requestLine[1].startsWith('/')
        || !requestLine[2].startsWith("HTTP/1."))
        return bad(400);
    HttpRequest& request = result.request;
    request.method = requestLine[0];
    request.target = requestLine[1];
    request.version = requestLine[2];

    std::optional<qsizetype> contentLength;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || !isToken(QByteArrayView(line).first(colon))) return bad(400);
        QByteArray name = line.left(colon);
        QByteArray value = line.mid(colon + 1).trimmed();
        if (equalsIgnoringCase(name, "Transfer-Encoding")) return bad(501);
        if (equalsIgnoringCase(name, "Content-Length")) {
            if (value.isEmpty() || value.size() > 12) return bad(400);
            for (char c : value)
                if (c < '0' || c > '9') return bad(400);
            const qsizetype length = value.toLongLong();
            if (contentLength && *contentLength != length) return bad(400);
            if (length > FakeHttpServer::maxBodyBytes) return bad(413);
            contentLength = length;
        }
        request.headers.append({std::move(name), std::move(value)});
    }

    const qsizetype bodyStart = headEnd + 4;
    const qsizetype bodyLength = contentLength.value_or(0);
    if (buffer.size() - bodyStart < bodyLength) return result;
    request.body = buffer.mid(bodyStart, bodyLength);
    result.consumed = bodyStart + bodyLength;
    result.state = ParseState::Complete;
    return result;
}

} // namespace

QByteArray HttpRequest::header(QByteArrayView name) const {
    for (const auto& [key, value] : headers)
        if (equalsIgnoringCase(key, name)) return value;
    return {};
}

bool HttpRequest::hasHeader(QByteArrayView name) const {
    for (const auto& header : headers)
        if (equalsIgnoringCase(header.first, name)) return true;
    return false;
}

QByteArray HttpRequest::path() const {
    const qsizetype query = target.indexOf('?');
    return query < 0 ? target : target.left(query);
}

HttpReply HttpReply::ok(QByteArray body, QByteArray contentType) {
    return withStatus(200, std::move(body), std::move(contentType));
}

HttpReply HttpReply::withStatus(int status, QByteArray body, QByteArray contentType) {
    HttpReply reply;
    reply.status = status;
    reply.body = std::move(body);
    if (!contentType.isEmpty()) reply.headers.append({"Content-Type", std::move(contentType)});
    return reply;
}

HttpReply HttpReply::raw(QByteArray bytes) {
    HttpReply reply;
    reply.delivery = Delivery::Raw;
    reply.body = std::move(bytes);
    return reply;
}

HttpReply HttpReply::drop() {
    HttpReply reply;
    reply.delivery = Delivery::Drop;
    return reply;
}

HttpReply HttpReply::hang() {
    HttpReply reply;
    reply.delivery = Delivery::Hang;
    return reply;
}

HttpReply HttpReply::endlessHeader() {
    HttpReply reply;
    reply.delivery = Delivery::EndlessHeader;
    return reply;
}

HttpReply& HttpReply::header(QByteArray name, QByteArray value) {
    headers.append({std::move(name), std::move(value)});
    return *this;
}

QByteArray httpReasonPhrase(int status) {
    switch (status) {
    case 200: return "OK";
    case 201: return "Created";
    case 202: return "Accepted";
    case 204: return "No Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 411: return "Length Required";
    case 412: return "Precondition Failed";
    case 413: return "Content Too Large";
    case 415: return "Unsupported Media Type";
    case 429: return "Too Many Requests";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 501: return "Not Implemented";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    case 504: return "Gateway Timeout";
    default: return "Unknown";
    }
}

// One accepted socket. Requests on it are answered strictly one after another; a pipelined
// request waits in the buffer until the reply before it is fully written.
class FakeHttpServer::Connection : public QObject {
public:
    Connection(FakeHttpServer* owner, QTcpSocket* socket) : owner_(owner), socket_(socket) {
        socket_->setParent(this);
        QObject::connect(socket_, &QTcpSocket::readyRead, this, [this] { readMore(); });
        QObject::connect(socket_, &QTcpSocket::disconnected, this, [this] { deleteLater(); });
    }

    bool isOpen() const { return socket_->state() == QAbstractSocket::ConnectedState; }
    void abort() {
        socket_->abort();
        deleteLater();
    }

    void readMore() {
        buffer_.append(socket_->readAll());
        process();
    }

    // The reply is final now (any hold is over): wait out its delay and send it.
    void start(HttpReply reply) {
        if (reply.delay.count() > 0) {
            QTimer::singleShot(reply.delay, Qt::PreciseTimer, this,
                               [this, reply = std::move(reply)]() mutable { send(std::move(reply)); });
        } else {
            send(std::move(reply));
        }
    }

private:
    void process() {
        if (busy_ || closing_) return;
        ParseResult parsed = parseRequest(buffer_);
        if (parsed.state == ParseState::Incomplete) return;
        busy_ = true;
        if (parsed.state == ParseState::Bad) {
            HttpReply reply = HttpReply::withStatus(parsed.badStatus, httpReasonPhrase(parsed.badStatus));
            reply.closeConnection = true;
            buffer_.clear();
            send(std::move(reply));
            return;
        }
        buffer_.remove(0, parsed.consumed);
        HttpRequest& request = parsed.request;
        request.localAddress = socket_->localAddress();
        request.localPort = socket_->localPort();

        const QByteArray connectionHeader = request.header("Connection");
        const bool clientCloses = request.version == "HTTP/1.0" ? !listHolds(connectionHeader, "keep-alive")
                                                                : listHolds(connectionHeader, "close");
        isHead_ = request.method == "HEAD";
        QPointer<Connection> self(this);
        HttpReply reply = owner_->answer(request);
        if (!self) return;
        if (clientCloses || !owner_->keepAlive_) reply.closeConnection = true;
        if (owner_->holding_) owner_->hold(this, std::move(reply));
        else start(std::move(reply));
    }

    void send(HttpReply reply) {
        switch (reply.delivery) {
        case HttpReply::Delivery::Hang:
            return;
        case HttpReply::Delivery::Drop:
            closing_ = true;
            socket_->disconnectFromHost();
            return;
        case HttpReply::Delivery::Raw:
            socket_->write(reply.body);
            finish(true);
            return;
        case HttpReply::Delivery::EndlessHeader:
            socket_->write("HTTP/1.1 200 OK\r\n");
            feedWhileDrained([](QTcpSocket* socket) {
                socket->write(QByteArray("X-Filler: ").append(QByteArray(100, 'x')).append("\r\n").repeated(256));
                return true;
            });
            return;
        case HttpReply::Delivery::Normal:
            break;
        }
        QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + httpReasonPhrase(reply.status) + "\r\n";
        for (const auto& [name, value] : reply.headers) {
            if (equalsIgnoringCase(name, "Content-Length") || equalsIgnoringCase(name, "Connection")) continue;
            head += name + ": " + value + "\r\n";
        }
        const qint64 length = std::max<qint64>(reply.body.size(), reply.announcedLength);
        head += "Content-Length: " + QByteArray::number(length) + "\r\n";
        if (reply.closeConnection) head += "Connection: close\r\n";
        head += "\r\n";
        const bool close = reply.closeConnection;
        if (isHead_) reply.body.clear();
        if (!isHead_ && length > reply.body.size()) {
            socket_->write(head + reply.body);
            auto left = std::make_shared<qint64>(length - reply.body.size());
            feedWhileDrained(
                [left](QTcpSocket* socket) {
                    const qint64 chunk = std::min<qint64>(*left, 256 * 1024);
                    socket->write(QByteArray(qsizetype(chunk), '\0'));
                    *left -= chunk;
                    return *left > 0;
                },
                [this, close] { finish(close); });
            return;
        }
        if (reply.trickleBytes <= 0 || reply.body.isEmpty()) {
            socket_->write(head + reply.body);
            finish(close);
            return;
        }
        socket_->write(head);
        pending_ = std::move(reply.body);
        auto* timer = new QTimer(this);
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(reply.trickleInterval);
        const qsizetype chunk = reply.trickleBytes;
        QObject::connect(timer, &QTimer::timeout, this, [this, timer, chunk, close] {
            socket_->write(pending_.left(chunk));
            pending_.remove(0, qMin(chunk, pending_.size()));
            if (!pending_.isEmpty()) return;
            timer->deleteLater();
            finish(close);
        });
        timer->start();
    }

    // Calls `feed` whenever little is left to write, until it answers false: a long reply goes
    // out as fast as the client reads it, never buffered whole. Then `done` runs.
    void feedWhileDrained(std::function<bool(QTcpSocket*)> feed, std::function<void()> done = {}) {
        auto more = [this, feed = std::move(feed), done = std::move(done)] {
            if (socket_->bytesToWrite() > 64 * 1024) return;
            if (feed(socket_)) return;
            QObject::disconnect(feeding_);
            if (done) done();
        };
        feeding_ = QObject::connect(socket_, &QTcpSocket::bytesWritten, this, more);
        more();
    }

    void finish(bool close) {
        emit owner_->replyFinished();
        if (close) {
            closing_ = true;
            socket_->disconnectFromHost();
            return;
        }
        busy_ = false;
        process();
    }

    FakeHttpServer* owner_;
    QTcpSocket* socket_;
    QByteArray buffer_;
    QByteArray pending_;
    bool busy_ = false;
    bool closing_ = false;
    bool isHead_ = false;
    QMetaObject::Connection feeding_;
};

FakeHttpServer::FakeHttpServer(QObject* parent) : QObject(parent) {}

FakeHttpServer::~FakeHttpServer() { close(); }

bool FakeHttpServer::listen(const QHostAddress& address, quint16 port) {
    if (!isLoopbackV4(address)) {
        error_ = QStringLiteral("refusing to bind %1: only 127.0.0.0/8 is allowed").arg(address.toString());
        return false;
    }
    close();
    server_ = new QTcpServer(this);
    if (!server_->listen(address, port)) {
        error_ = QStringLiteral("cannot bind %1:%2: %3").arg(address.toString()).arg(port).arg(server_->errorString());
        delete server_;
        server_ = nullptr;
        return false;
    }
    error_.clear();
    connect(server_, &QTcpServer::newConnection, this, &FakeHttpServer::acceptConnections);
    return true;
}

void FakeHttpServer::close() {
    if (server_) {
        server_->close();
        server_->deleteLater();
        server_ = nullptr;
    }
    dropConnections();
}

void FakeHttpServer::dropConnections() {
    held_.clear();
    for (const QPointer<Connection>& connection : std::as_const(connections_))
        if (connection) connection->abort();
    connections_.clear();
}

bool FakeHttpServer::isListening() const { return server_ && server_->isListening(); }

QHostAddress FakeHttpServer::address() const { return server_ ? server_->serverAddress() : QHostAddress(); }

quint16 FakeHttpServer::port() const { return server_ ? server_->serverPort() : 0; }

QUrl FakeHttpServer::baseUrl() const {
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(address().toString());
    url.setPort(port());
    return url;
}

void FakeHttpServer::setHandler(Handler handler) { handler_ = std::move(handler); }

void FakeHttpServer::setHoldReplies(bool on) {
    holding_ = on;
    if (!on) releaseHeldReplies();
}

qsizetype FakeHttpServer::heldReplyCount() const { return held_.size(); }

void FakeHttpServer::releaseHeldReplies() {
    auto held = std::exchange(held_, {});
    for (auto& [connection, reply] : held)
        if (connection) connection->start(std::move(reply));
}

qsizetype FakeHttpServer::openConnectionCount() const {
    qsizetype count = 0;
    for (const QPointer<Connection>& connection : connections_)
        if (connection && connection->isOpen()) ++count;
    return count;
}

void FakeHttpServer::acceptConnections() {
    while (server_ && server_->hasPendingConnections()) {
        QTcpSocket* socket = server_->nextPendingConnection();
        connections_.removeIf([](const QPointer<Connection>& c) { return c.isNull(); });
        auto* connection = new Connection(this, socket);
        connection->setParent(this);
        connections_.append(connection);
        if (socket->bytesAvailable() > 0) connection->readMore();
    }
}

HttpReply FakeHttpServer::answer(const HttpRequest& request) {
    if (recording_) requests_.append(request);
    emit requestReceived(request);
    if (!handler_) return HttpReply::withStatus(404, "Not Found");
    return handler_(request);
}

void FakeHttpServer::hold(Connection* connection, HttpReply reply) { held_.append({connection, std::move(reply)}); }

} // namespace orvel::fakes
