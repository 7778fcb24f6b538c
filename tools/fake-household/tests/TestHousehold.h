#pragma once

// Talking to the fakes from tests: one request through QNetworkAccessManager or a control action the way a controller sends it, each waited for on the event loop
// with a bounded wait. Every test that starts a household takes its own block of loopback
// addresses, 127.201.<block>.2 and up, so tests run in parallel; blocks are noted per file.

#include <chrono>
#include <memory>

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QNetworkReply>
#include <QString>
#include <QUrl>

#include "fakes/FakeHousehold.h"

namespace orvel::fakes::testing {

// Generous: the bound only keeps a broken test from hanging; no test relies on it passing.
inline constexpr std::chrono::milliseconds kWaitBound{10'000};

struct FetchResult {
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    int status = 0;
    QByteArray body;
    bool finished = false;
};

struct FetchOptions {
    QByteArray method = "GET";
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers;
};

FetchResult fetch(const QUrl& url, const FetchOptions& options = {});

// The SOAP envelope a controller sends for one action; arguments in the given order.
QByteArray soapEnvelope(const QString& serviceType, const QString& action, const QList<std::pair<QString, QString>>& arguments);

struct ActionResult {
    bool finished = false;
    int status = 0;
    int faultCode = 0;  // the UPnP error code of a fault; 0 otherwise
    QByteArray body;

    bool ok() const { return finished && status == 200 && faultCode == 0; }
};

// "Service#Action" sent to one fake speaker as a controller sends it.
ActionResult callAction(const FakeHousehold& household, const QString& uuid, const QString& serviceAndAction,
                        const SoapValues& arguments);

inline const SoapValues kInstance{{"InstanceID", "0"}};

inline QHostAddress blockAddress(int block, int host) { return QHostAddress(QStringLiteral("127.201.%1.%2").arg(block).arg(host)); }

inline std::unique_ptr<FakeHousehold> makeHousehold(int block, int count) {
    return std::make_unique<FakeHousehold>(blockAddress(block, 2), count);
}

inline QString queueUriOf(const QString& uuid) { return QStringLiteral("x-rincon-queue:") + uuid + QStringLiteral("#0"); }

inline QList<FakeTrack> testTracks(int count) {
    QList<FakeTrack> tracks;
    for (int i = 1; i <= count; ++i)
        tracks << FakeTrack{QStringLiteral("x-file-cifs://nas/music/%1.mp3").arg(i), QStringLiteral("Track %1").arg(i),
                            QStringLiteral("Artist %1").arg(i), QStringLiteral("Album"), QStringLiteral("/getaa?s=1&u=%1").arg(i), 200};
    return tracks;
}

} // namespace orvel::fakes::testing
