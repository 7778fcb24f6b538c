#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "TestHousehold.h"
#include "fakes/FakeHttpServer.h"

namespace orvel::fakes {
namespace {

using namespace std::chrono_literals;
using testing::fetch;
using testing::FetchOptions;
using testing::kWaitBound;
using testing::rawExchange;

const QHostAddress kLocal(QStringLiteral("127.0.0.1"));

struct Served {
    FakeHttpServer server;
    explicit Served(FakeHttpServer::Handler handler) {
        server.setHandler(std::move(handler));
        EXPECT_TRUE(server.listen(kLocal)) << server.errorString().toStdString();
    }
    QUrl url(const QString& path) const { return server.baseUrl().resolved(QUrl(path)); }
};

TEST(FakeHttpServer, passesTheRequestToTheHandlerAndTheReplyToTheClient) {
    Served served([](const HttpRequest& request) {
        return HttpReply::ok("echo:" + request.method + ' ' + request.target + ' ' + request.body, "text/plain")
            .header("X-Seen", request.header("x-custom"));
    });
    FetchOptions options;
    options.method = "POST";
    options.body = "payload";
    options.headers = {{"X-Custom", "yes"}};
    const auto result = fetch(served.url("/a/b?q=1"), options);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.error, QNetworkReply::NoError);
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(result.body, "echo:POST /a/b?q=1 payload");
    EXPECT_EQ(result.header("X-Seen"), "yes");

    ASSERT_EQ(served.server.requestCount(), 1);
    const HttpRequest recorded = served.server.requests().front();
    EXPECT_EQ(recorded.path(), "/a/b");
    EXPECT_EQ(recorded.header("X-CUSTOM"), "yes");
    EXPECT_EQ(recorded.localAddress, kLocal);
    served.server.clearRequests();
    EXPECT_EQ(served.server.requestCount(), 0);

    served.server.setRecording(false);
    QSignalSpy arrived(&served.server, &FakeHttpServer::requestReceived);
    EXPECT_EQ(fetch(served.url("/again")).status, 200);
    EXPECT_EQ(arrived.count(), 1);
    EXPECT_EQ(served.server.requestCount(), 0);
}

TEST(FakeHttpServer, bindsOneFreeLoopbackAddressOnlyAndAnswersNotFoundWithoutAHandler) {
    // The outside address is refused before anything binds: nothing is ever sent to it.
    for (const char* address : {"0.0.0.0", "203.0.113.1", "::1", "::"}) {
        FakeHttpServer server;
        EXPECT_FALSE(server.listen(QHostAddress(QString::fromLatin1(address)))) << address;
        EXPECT_FALSE(server.isListening()) << address;
        EXPECT_FALSE(server.errorString().isEmpty()) << address;
    }
    FakeHttpServer server;
    ASSERT_TRUE(server.listen(QHostAddress(QStringLiteral("127.201.250.9"))));
    EXPECT_EQ(fetch(server.baseUrl().resolved(QUrl("/x"))).status, 404);
    FakeHttpServer second;
    EXPECT_FALSE(second.listen(QHostAddress(QStringLiteral("127.201.250.9")), server.port()));
    EXPECT_FALSE(second.errorString().isEmpty());
}

TEST(FakeHttpServer, refusesConnectionsOnceClosedAndListensAgainOnTheSamePort) {
    Served served([](const HttpRequest&) { return HttpReply::ok("up", "text/plain"); });
    const quint16 port = served.server.port();
    const QUrl url = served.url("/");
    EXPECT_EQ(fetch(url).body, "up");
    served.server.close();
    EXPECT_EQ(fetch(url).error, QNetworkReply::ConnectionRefusedError);
    ASSERT_TRUE(served.server.listen(kLocal, port)) << served.server.errorString().toStdString();
    EXPECT_EQ(fetch(url).body, "up");
}

TEST(FakeHttpServer, answersPipelinedRequestsOnOneConnectionInOrder) {
    Served served([](const HttpRequest& request) { return HttpReply::ok(request.path(), "text/plain"); });
    const QByteArray bytes = "GET /one HTTP/1.1\r\nHost: x\r\n\r\n"
                             "POST /two HTTP/1.1\r\nHost: x\r\nContent-Length: 3\r\n\r\nabc"
                             "GET /three HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
    const auto exchange = rawExchange(kLocal, served.server.port(), bytes);
    ASSERT_TRUE(exchange.closedByServer);
    const QByteArray& text = exchange.received;
    EXPECT_EQ(text.count("HTTP/1.1 200 OK"), 3);
    const qsizetype one = text.indexOf("\r\n\r\n/one");
    const qsizetype two = text.indexOf("\r\n\r\n/two");
    const qsizetype three = text.indexOf("\r\n\r\n/three");
    EXPECT_TRUE(one >= 0 && one < two && two < three) << text.toStdString();
    EXPECT_EQ(text.count("Connection: close"), 1);
    ASSERT_EQ(served.server.requestCount(), 3);
    EXPECT_EQ(served.server.requests()[1].body, "abc");
}

TEST(FakeHttpServer, keepsTheConnectionForHttp11AndClosesItForHttp10) {
    Served served([](const HttpRequest&) { return HttpReply::ok("k", "text/plain"); });
    const auto replyComplete = [](const QByteArray& received) { return received.endsWith("\r\n\r\nk"); };
    const auto kept = rawExchange(kLocal, served.server.port(), "GET / HTTP/1.1\r\nHost: x\r\n\r\n", replyComplete);
    EXPECT_FALSE(kept.closedByServer);
    EXPECT_TRUE(replyComplete(kept.received));
    const auto closed = rawExchange(kLocal, served.server.port(), "GET / HTTP/1.0\r\n\r\n");
    EXPECT_TRUE(closed.closedByServer);
    EXPECT_TRUE(closed.received.contains("Connection: close"));

    served.server.setKeepAlive(false);
    const auto forced = rawExchange(kLocal, served.server.port(), "GET / HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_TRUE(forced.closedByServer);

    // A HEAD reply announces the body's length but carries none.
    const auto head = rawExchange(kLocal, served.server.port(), "HEAD / HTTP/1.1\r\nConnection: close\r\n\r\n");
    EXPECT_TRUE(head.received.contains("Content-Length: 1\r\n"));
    EXPECT_TRUE(head.received.endsWith("\r\n\r\n"));
}

TEST(FakeHttpServer, refusesBrokenRequestsAndClosesTheConnection) {
    struct Case { const char* name; QByteArray bytes, statusLine; };
    const QList<Case> cases = {
        {"no target", "GET\r\n\r\n", "HTTP/1.1 400 "},
        {"not http", "GET / SPDY/3\r\n\r\n", "HTTP/1.1 400 "},
        {"header without colon", "GET / HTTP/1.1\r\nbroken\r\n\r\n", "HTTP/1.1 400 "},
        {"bare line feed", "GET / HTTP/1.1\r\nHost: x\nY: z\r\n\r\n", "HTTP/1.1 400 "},
        {"signed length", "POST / HTTP/1.1\r\nContent-Length: -5\r\n\r\n", "HTTP/1.1 400 "},
        {"conflicting lengths", "POST / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab", "HTTP/1.1 400 "},
        {"body too large", "POST / HTTP/1.1\r\nContent-Length: 999999999\r\n\r\n", "HTTP/1.1 413 "},
        {"chunked body", "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n", "HTTP/1.1 501 "},
        {"endless header", "GET / HTTP/1.1\r\nX: " + QByteArray(FakeHttpServer::maxHeaderBytes + 10, 'a'), "HTTP/1.1 431 "},
    };
    Served served([](const HttpRequest&) { return HttpReply::ok("never", "text/plain"); });
    for (const Case& c : cases) {
        const auto exchange = rawExchange(kLocal, served.server.port(), c.bytes);
        EXPECT_TRUE(exchange.closedByServer) << c.name;
        EXPECT_TRUE(exchange.received.startsWith(c.statusLine)) << c.name << ": " << exchange.received.toStdString();
    }
    EXPECT_EQ(served.server.requestCount(), 0);
}

TEST(FakeHttpServer, neverSendsADelayedReplyEarly) {
    Served served([](const HttpRequest&) {
        HttpReply reply = HttpReply::ok("late", "text/plain");
        reply.delay = 150ms;
        return reply;
    });
    QElapsedTimer clock;
    clock.start();
    const auto result = fetch(served.url("/"));
    EXPECT_EQ(result.body, "late");
    EXPECT_GE(clock.elapsed(), 150);
}

TEST(FakeHttpServer, tricklesTheBodyChunkByChunkWithTheRightLength) {
    Served served([](const HttpRequest&) {
        HttpReply reply = HttpReply::ok("0123456789abcdef", "text/plain");
        reply.trickleBytes = 5;
        reply.trickleInterval = 40ms;
        return reply;
    });
    QElapsedTimer clock;
    clock.start();
    const auto exchange = rawExchange(kLocal, served.server.port(), "GET / HTTP/1.1\r\nConnection: close\r\n\r\n");
    // Four chunks, the first one interval after the head.
    EXPECT_GE(clock.elapsed(), 4 * 40);
    EXPECT_TRUE(exchange.received.contains("Content-Length: 16\r\n"));
    EXPECT_TRUE(exchange.received.endsWith("\r\n\r\n0123456789abcdef"));
}

TEST(FakeHttpServer, holdsRepliesUntilReleased) {
    Served served([](const HttpRequest&) { return HttpReply::ok("held", "text/plain"); });
    served.server.setHoldReplies(true);
    QSignalSpy arrived(&served.server, &FakeHttpServer::requestReceived);
    QNetworkAccessManager manager;
    std::unique_ptr<QNetworkReply> reply(manager.get(QNetworkRequest(served.url("/"))));
    ASSERT_TRUE(arrived.wait(static_cast<int>(kWaitBound.count())));
    EXPECT_EQ(served.server.heldReplyCount(), 1);
    EXPECT_FALSE(reply->isFinished());
    served.server.releaseHeldReplies();
    ASSERT_TRUE(QTest::qWaitFor([&] { return reply->isFinished(); }, static_cast<int>(kWaitBound.count())));
    EXPECT_EQ(reply->readAll(), "held");
    EXPECT_EQ(served.server.heldReplyCount(), 0);
}

TEST(FakeHttpServer, deliversBrokenRepliesAsAsked) {
    struct Case { const char* name; HttpReply reply; QNetworkReply::NetworkError expected; };
    // Qt resends a request once when the connection closes before a reply starts, so the
    // server may see it twice.
    const QList<Case> cases = {
        {"dropped", HttpReply::drop(), QNetworkReply::RemoteHostClosedError},
        {"garbage", HttpReply::raw("this is not http\r\n\r\n"), QNetworkReply::RemoteHostClosedError},
        {"short body", HttpReply::raw("HTTP/1.1 200 OK\r\nContent-Length: 50\r\n\r\nonly this"),
         QNetworkReply::RemoteHostClosedError},
        {"silent", HttpReply::hang(), QNetworkReply::OperationCanceledError},
    };
    FetchOptions options;
    options.transferTimeout = 300ms;
    for (const Case& c : cases) {
        Served served([reply = c.reply](const HttpRequest&) { return reply; });
        const auto result = fetch(served.url("/"), options);
        ASSERT_TRUE(result.finished) << c.name;
        EXPECT_EQ(result.error, c.expected) << c.name;
        EXPECT_GE(served.server.requestCount(), 1) << c.name;
    }
}

} // namespace
} // namespace orvel::fakes
