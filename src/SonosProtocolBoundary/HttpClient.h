#pragma once

// The one way this module speaks HTTP: plain requests over QNetworkAccessManager with an idle
// time-out, a total deadline and a cap on the body size. No proxy, no redirects, no cookies, no
// compression: speakers answer directly on the local network, and a reply must never lead the
// client anywhere else.

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

class QNetworkAccessManager;

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
    std::unique_ptr<QNetworkAccessManager> manager_;
};

}  // namespace orvel
