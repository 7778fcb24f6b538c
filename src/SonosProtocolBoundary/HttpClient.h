#pragma once

// The one way this module speaks HTTP: plain HTTP/1.1 requests with an idle time-out, a total
// deadline and caps on the header and body sizes. No proxy, no redirects, no cookies, no
// compression: speakers answer directly on the local network, and a reply must never lead the
// client anywhere else.
//
// The exchange runs on the event loop's own sockets rather than a network thread shared by all
// speakers: a speaker that sends endless bytes costs only the reading of them up to a cap, and
// a request that fails for any reason closes its connection at once, so one hostile or slow
// speaker never delays requests to the others.
//
// A sweep asks every speaker the same few questions every two seconds, so a connection that
// ended its reply cleanly is kept open for the next request to that server: at most one idle
// connection per server. A kept connection the server closes or talks on while idle is dropped.
// Only a request that is safe to repeat goes over a kept connection; when that connection turns
// out to be closed before any byte of the answer came, it is sent once more on a new one.

#include <chrono>
#include <cstdint>
#include <expected>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include "SonosProtocolBoundary/TransportError.h"
#include "Support/Clock.h"

class QTcpSocket;

namespace orvel {

struct HttpLimits {
    static constexpr std::int64_t defaultMaxBodyBytes = 4 * 1024 * 1024;

    // Longest pause without a byte moving in either direction.
    std::chrono::milliseconds idleTimeout{5000};
    // Longest time for the whole exchange, however steadily bytes trickle in.
    std::chrono::milliseconds deadline{5000};
    std::int64_t maxBodyBytes = defaultMaxBodyBytes;

    // Reads during a sweep: 3 s.
    static HttpLimits sweepRead() { return {std::chrono::milliseconds(3000), std::chrono::milliseconds(3000)}; }
    // Commands: 5 s.
    static HttpLimits command() { return {std::chrono::milliseconds(5000), std::chrono::milliseconds(5000)}; }
};

struct HttpResponse {
    int statusCode = 0;
    QByteArray body;
};

using HttpResult = std::expected<HttpResponse, TransportError>;

class HttpClient {
public:
    using Header = std::pair<QByteArray, QByteArray>;
    // Whether a request may reach the server twice: reads may, commands may not.
    enum class Repeat { unsafe, safe };

    // The time-outs run on `clock`, which must outlive the client.
    explicit HttpClient(Clock& clock = Clock::system());
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // The client must outlive every request it started.
    // A GET is safe to repeat.
    QCoro::Task<HttpResult> get(QUrl url, HttpLimits limits);
    QCoro::Task<HttpResult> post(QUrl url, std::vector<Header> headers, QByteArray body, HttpLimits limits,
                                 Repeat repeat = Repeat::unsafe);

    // Connections kept open for a next request, and connections opened so far.
    std::size_t idleConnectionCount() const;
    std::uint64_t connectionsOpened() const;

private:
    class Pool;
    // One request on one connection: a kept one, or a new one when `kept` is null.
    struct Outcome {
        std::optional<TransportError> failure;
        // Whether any byte of an answer came.
        bool answered = false;
        HttpResponse response;
        // The connection, when it can carry the next request.
        QTcpSocket* connection = nullptr;
    };
    QCoro::Task<Outcome> runExchange(QString host, quint16 port, QByteArray request, HttpLimits limits,
                                     QTcpSocket* kept);
    QCoro::Task<HttpResult> send(QByteArray verb, QUrl url, std::vector<Header> headers, QByteArray body,
                                 HttpLimits limits, Repeat repeat);
    Clock& clock_;
    std::unique_ptr<Pool> pool_;
};

}  // namespace orvel
