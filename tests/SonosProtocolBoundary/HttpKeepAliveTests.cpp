// Kept connections: reused for the next request to the same server, a closed one replaced, and a
// request that is not safe to repeat never sent twice. Addresses: 127.77.42.*.
#include <gtest/gtest.h>

#include <QCoroTask>
#include <QTest>

#include "SonosProtocolBoundary/HttpClient.h"
#include "SonosProtocolBoundary/SpeakerAddress.h"
#include "fakes/FakeHttpServer.h"

using namespace orvel;
using fakes::FakeHttpServer;
using fakes::HttpReply;
using fakes::HttpRequest;

namespace {

using Repeat = HttpClient::Repeat;

QCoro::Task<HttpResult> send(HttpClient& http, const QUrl& url, Repeat repeat) {
    if (repeat == Repeat::safe) return http.get(url, HttpLimits::sweepRead());
    return http.post(url, {}, "<command/>", HttpLimits::command(), Repeat::unsafe);
}

}  // namespace

TEST(HttpKeepAlive, TheSecondRequestReusesOrReplacesTheConnectionAndIsNeverRepeatedUnsafely) {
    struct Case {
        const char* name;
        Repeat second;
        bool serverDropsIdleConnection;  // between the two requests, before the client notices
        bool secondAnswerDropped;        // the server takes the second request and closes without a byte
        bool succeeds;
        qsizetype requestsSeen;
        std::uint64_t connectionsOpened;
    };
    const Case cases[] = {
        {"a read reuses the kept connection", Repeat::safe, false, false, true, 2, 1},
        {"a read finds the kept connection closed and goes on a new one", Repeat::safe, true, false, true, 2, 2},
        {"a read dropped on the kept connection is asked once more", Repeat::safe, false, true, true, 3, 2},
        {"a command never rides a kept connection", Repeat::unsafe, false, false, true, 2, 2},
        {"a command dropped without an answer is not sent again", Repeat::unsafe, false, true, false, 2, 2},
    };
    int index = 0;
    for (const auto& c : cases) {
        const QHostAddress address(QStringLiteral("127.77.42.%1").arg(++index));
        FakeHttpServer server;
        ASSERT_TRUE(server.listen(address, 1400)) << c.name;
        int drops = c.secondAnswerDropped ? 1 : 0;
        server.setHandler([&server, &drops](const HttpRequest&) {
            if (server.requestCount() >= 2 && drops > 0) {
                --drops;
                return HttpReply::drop();
            }
            return HttpReply::ok("<ok/>", "text/xml");
        });
        HttpClient http;
        const QUrl url = SpeakerAddress::make(address.toString().toStdString())->url("/status/batterystatus");

        auto first = QCoro::waitFor(http.get(url, HttpLimits::sweepRead()));
        ASSERT_TRUE(first) << c.name << ": " << first.error().message();
        ASSERT_EQ(http.idleConnectionCount(), 1u) << c.name << ": a cleanly ended reply keeps its connection";
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.openConnectionCount() == 1; }, 5000)) << c.name;

        // Taken up at once, before the event loop tells the client that the server closed it.
        if (c.serverDropsIdleConnection) server.dropConnections();
        auto second = QCoro::waitFor(send(http, url, c.second));
        EXPECT_EQ(second.has_value(), c.succeeds) << c.name;
        EXPECT_EQ(server.requestCount(), c.requestsSeen) << c.name;
        EXPECT_EQ(http.connectionsOpened(), c.connectionsOpened) << c.name;
    }
}
