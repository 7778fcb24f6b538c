#pragma once

// The one way this module speaks HTTP: plain HTTP/1.1 requests, one connection each, with an
// idle time-out, a total deadline and caps on the header and body sizes. No proxy, no
// redirects, no cookies, no compression: speakers answer directly on the local network, and a
// reply must never lead the client anywhere else.
//
// The exchange runs on the event loop's own sockets rather than a network thread shared by all
// speakers: a speaker that sends endless bytes costs only the reading of them up to a cap, and
// a request that ends for any reason closes its connection at once, so one hostile or slow
// speaker never delays requests to the others.

#include <chrono>
#include <cstdint>
#include <expected>
#include <memory>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include "SonosProtocolBoundary/TransportError.h"
#include "Support/Clock.h"

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

    // The time-outs run on `clock`, which must outlive the client.
    explicit HttpClient(Clock& clock = Clock::system());
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // The client must outlive every request it started.
    QCoro::Task<HttpResult> get(QUrl url, HttpLimits limits);
    QCoro::Task<HttpResult> post(QUrl url, std::vector<Header> headers, QByteArray body, HttpLimits limits);

private:
    QCoro::Task<HttpResult> send(QByteArray verb, QUrl url, std::vector<Header> headers, QByteArray body,
                                 HttpLimits limits);
    Clock& clock_;
};

}  // namespace orvel
