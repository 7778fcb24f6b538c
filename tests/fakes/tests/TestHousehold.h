#pragma once

// Talking to the fakes from tests: one request through QNetworkAccessManager, raw bytes over a
// socket, or a control action the way a controller sends it, each waited for on the event loop
// with a bounded wait. Every test that starts a household takes its own block of loopback
// addresses, 127.201.<block>.2 and up, so tests run in parallel; blocks are noted per file.

#include <chrono>
#include <functional>
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
QByteArray soapEnvelope(const QString& serviceType, const QString& action, const QList<std::pair<QString, QString>>& arguments);

struct ActionResult {
    bool finished = false;
    int status = 0;
    SoapValues outputs;
    int faultCode = 0;  // the UPnP error code of a fault; 0 otherwise
    QByteArray body;

    bool ok() const { return finished && status == 200 && faultCode == 0; }
    QString output(const QString& name) const;
};

// "Service#Action" sent to one fake speaker as a controller sends it.
ActionResult callAction(const FakeHousehold& household, const QString& uuid, const QString& serviceAndAction,
                        const SoapValues& arguments);

inline const SoapValues kInstance{{"InstanceID", "0"}};

inline FetchResult getPage(const FakeHousehold& household, const QString& uuid, const char* path) {
    return fetch(household.baseUrl(uuid).resolved(QUrl(QString::fromLatin1(path))));
}

// The escaped document a reply carried, parsed: element names with their attributes, in
// document order, for quick assertions on topology and DIDL-Lite.
struct XmlElement {
    QString name;  // qualified as written ("dc:title")
    QList<std::pair<QString, QString>> attributes;
    QString text;  // direct text, when the element has no children
    int depth = 0;

    QString attribute(const QString& name) const;
};
QList<XmlElement> parseElements(const QString& xml, bool* wellFormed = nullptr);
QList<XmlElement> elementsNamed(const QList<XmlElement>& elements, const QString& name);
inline bool isWellFormed(const QString& xml) {
    bool wellFormed = false;
    parseElements(xml, &wellFormed);
    return wellFormed;
}

inline QHostAddress blockAddress(int block, int host) { return QHostAddress(QStringLiteral("127.201.%1.%2").arg(block).arg(host)); }

inline std::unique_ptr<FakeHousehold> makeHousehold(int block, int count) {
    return std::make_unique<FakeHousehold>(blockAddress(block, 2), count);
}

inline QString queueUriOf(const QString& uuid) { return QStringLiteral("x-rincon-queue:") + uuid + QStringLiteral("#0"); }

inline FakeTrack testTrack(int n, int seconds = 200) {
    return FakeTrack{QStringLiteral("x-file-cifs://nas/music/%1.mp3").arg(n), QStringLiteral("Track %1").arg(n),
                     QStringLiteral("Artist %1").arg(n), QStringLiteral("Album"), QStringLiteral("/getaa?s=1&u=%1").arg(n), seconds};
}

inline QList<FakeTrack> testTracks(int count) {
    QList<FakeTrack> tracks;
    for (int i = 1; i <= count; ++i) tracks << testTrack(i);
    return tracks;
}

} // namespace orvel::fakes::testing
