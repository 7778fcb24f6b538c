#pragma once

// A small HTTP/1.1 server for tests: one handler answers every request, every request is
// recorded, and a reply can be delayed, trickled, held back, dropped or replaced by raw bytes so
// that clients meet slow and broken servers. It binds loopback addresses (127.0.0.0/8) only.

#include <chrono>
#include <functional>
#include <memory>
#include <utility>

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QTcpServer;

namespace orvel::fakes {

using HttpHeaders = QList<std::pair<QByteArray, QByteArray>>;

struct HttpRequest {
    QByteArray method;
    QByteArray target;   // as sent: path and query
    QByteArray version;  // "HTTP/1.1"
    HttpHeaders headers; // in arrival order, names as sent
    QByteArray body;
    QHostAddress localAddress;
    quint16 localPort = 0;

    // First header of that name, compared without case; empty when absent.
    QByteArray header(QByteArrayView name) const;
    bool hasHeader(QByteArrayView name) const;
    // The target without its query.
    QByteArray path() const;
};

struct HttpReply {
    enum class Delivery {
        Normal,  // status line, headers with Content-Length, body
        Raw,     // `body` is written verbatim, nothing added, then the connection closes
        Drop,    // the connection closes without a byte
        Hang,    // nothing is ever written; the connection stays open
        // The status line, then header lines for as long as the client reads them: the header
        // never ends.
        EndlessHeader,
    };

    int status = 200;
    HttpHeaders headers;
    QByteArray body;
    Delivery delivery = Delivery::Normal;
    // Wait this long before the first byte goes out.
    std::chrono::milliseconds delay{0};
    // When positive, the body goes out in chunks of this many bytes, one per interval.
    qsizetype trickleBytes = 0;
    std::chrono::milliseconds trickleInterval{0};
    // Close the connection after this reply even when the client wants to keep it.
    bool closeConnection = false;
    // When larger than the body: the length the header announces; the body is sent and then
    // zero bytes up to that length, written only as fast as the client takes them.
    qint64 announcedLength = -1;

    static HttpReply ok(QByteArray body, QByteArray contentType);
    static HttpReply withStatus(int status, QByteArray body = {}, QByteArray contentType = "text/plain");
    static HttpReply raw(QByteArray bytes);
    static HttpReply drop();
    static HttpReply hang();
    static HttpReply endlessHeader();

    HttpReply& header(QByteArray name, QByteArray value);
};

// The reason phrase of a status code ("OK", "Not Found", ...); "Unknown" for codes it lacks.
QByteArray httpReasonPhrase(int status);

class FakeHttpServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<HttpReply(const HttpRequest&)>;

    static constexpr qsizetype maxHeaderBytes = 64 * 1024;
    static constexpr qsizetype maxBodyBytes = 16 * 1024 * 1024;

    explicit FakeHttpServer(QObject* parent = nullptr);
    ~FakeHttpServer() override;

    // Binds `address` (which must lie in 127.0.0.0/8) and `port` (0: any free port). False with
    // errorString() set when the address is refused or taken.
    bool listen(const QHostAddress& address, quint16 port = 0);
    // Stops listening and drops every open connection: later connections are refused.
    void close();
    // Drops every open connection and goes on listening, as a server that closes idle ones.
    void dropConnections();
    bool isListening() const;
    QHostAddress address() const;
    quint16 port() const;
    // "http://127.0.0.2:1400"
    QUrl baseUrl() const;
    QString errorString() const { return error_; }

    // Without a handler every request gets 404.
    void setHandler(Handler handler);
    // Keep-alive is on by default; when off, every reply closes its connection.
    void setKeepAlive(bool on) { keepAlive_ = on; }

    // While held, finished replies wait until released (in arrival order) or until holding
    // stops; this lets a test act between a request's arrival and its answer.
    void setHoldReplies(bool on);
    qsizetype heldReplyCount() const;
    void releaseHeldReplies();

    // On by default; a long-running server turns it off so memory stays flat.
    void setRecording(bool on) { recording_ = on; }
    QList<HttpRequest> requests() const { return requests_; }
    qsizetype requestCount() const { return requests_.size(); }
    void clearRequests() { requests_.clear(); }
    qsizetype openConnectionCount() const;

signals:
    // After the request is recorded and before its handler runs.
    void requestReceived(const orvel::fakes::HttpRequest& request);
    // After the last byte of a reply was handed to the socket.
    void replyFinished();

private:
    class Connection;
    friend class Connection;

    void acceptConnections();
    HttpReply answer(const HttpRequest& request);
    void hold(Connection* connection, HttpReply reply);

    QTcpServer* server_ = nullptr;
    Handler handler_;
    bool keepAlive_ = true;
    bool recording_ = true;
    bool holding_ = false;
    QList<std::pair<QPointer<Connection>, HttpReply>> held_;
    QList<QPointer<Connection>> connections_;
    QList<HttpRequest> requests_;
    QString error_;
};

} // namespace orvel::fakes
