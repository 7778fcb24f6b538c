#pragma once

// A stand-in for the music service's accounts host, Web API host and share-link host, all on
// one loopback server: replies are scripted per request path (query left out), every request
// is recorded, and replies can be held back to let a test act while requests are in flight.

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QString>

#include "fakes/FakeHttpServer.h"

namespace orvel::fakes {

class FakeSpotifyWebApi {
public:
    FakeSpotifyWebApi();

    // Binds `address` (127.0.0.0/8) on a free port.
    bool listen(const QHostAddress& address = QHostAddress(QStringLiteral("127.0.0.1")));
    // "http://127.0.0.1:<port>": the origin to configure for all three hosts.
    QString origin() const;
    FakeHttpServer& server() { return server_; }

    // The reply for every request to `path` once the queued ones are used up.
    void setReply(const QByteArray& path, HttpReply reply);
    // Replies used once each, in order, before the standing reply.
    void enqueueReply(const QByteArray& path, HttpReply reply);
    // Paths without any reply get 404.
    void clearReplies();

    QList<HttpRequest> requestsTo(const QByteArray& path) const;
    qsizetype requestCount(const QByteArray& path) const { return requestsTo(path).size(); }
    qsizetype requestCount() const { return server_.requestCount(); }

    static HttpReply json(int status, QByteArray body);
    static HttpReply noContent() { return HttpReply::withStatus(204, {}, {}); }
    // 429 with a Retry-After header when one is given (sent as it is, even when malformed).
    static HttpReply tooManyRequests(const QByteArray& retryAfter = {});

    // A player-state reply for a track, with optional context and device.
    static QByteArray playerState(const QByteArray& trackURI, const QByteArray& name,
                                  const QByteArray& contextURI = {}, const QByteArray& albumName = {});
    // A queue reply with one entry per track URI, named "Track <n>".
    static QByteArray queue(const QList<QByteArray>& trackURIs);

private:
    HttpReply answer(const HttpRequest& request);

    FakeHttpServer server_;
    QHash<QByteArray, QList<HttpReply>> queued_;
    QHash<QByteArray, HttpReply> standing_;
};

}  // namespace orvel::fakes
