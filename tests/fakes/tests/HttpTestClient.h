#pragma once

// Helpers for talking to the fakes from tests: one request through QNetworkAccessManager, or
// raw bytes over a socket, each waited for on the event loop with a bounded wait.

#include <chrono>
#include <functional>

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QNetworkReply>
#include <QString>
#include <QUrl>

namespace orvel::fakes::testing {

// Generous: the bound only keeps a broken test from hanging; no test relies on it passing.
inline constexpr std::chrono::milliseconds kWaitBound{10'000};

struct FetchResult {
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    int status = 0;
    QByteArray body;
    QList<QNetworkReply::RawHeaderPair> headers;
    bool finished = false;

    QByteArray header(QByteArrayView name) const;
};

struct FetchOptions {
    QByteArray method = "GET";
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers;
    // Idle time-out of the transfer; zero leaves Qt's default.
    std::chrono::milliseconds transferTimeout{0};
};

FetchResult fetch(const QUrl& url, const FetchOptions& options = {});

// Connects, writes `bytes`, and collects what comes back until the server closes the
// connection or `until` holds for the bytes received so far.
struct RawExchange {
    bool connected = false;
    bool closedByServer = false;
    QByteArray received;
};
RawExchange rawExchange(const QHostAddress& address, quint16 port, const QByteArray& bytes,
                        const std::function<bool(const QByteArray&)>& until = {});

// The SOAP envelope a controller sends for one action; arguments in the given order.
QByteArray soapEnvelope(const QString& serviceType, const QString& action,
                        const QList<std::pair<QString, QString>>& arguments);

} // namespace orvel::fakes::testing
