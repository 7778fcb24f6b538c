#include <gtest/gtest.h>

#include <QCoroTask>
#include <QTest>

#include "SonosProtocolBoundary/HttpClient.h"
#include "SonosProtocolBoundary/SpeakerAddress.h"
#include "testing/ManualClock.h"
#include "fakes/FakeHttpServer.h"

using namespace orvel;
using namespace std::chrono_literals;
using fakes::FakeHttpServer;
using fakes::HttpReply;
using fakes::HttpRequest;

namespace {

constexpr int waitBoundMs = 5000;

QUrl urlOf(const char* address, std::string_view path) { return SpeakerAddress::make(address)->url(path); }

}  // namespace

TEST(HttpClient, TimeOutsRunOnTheInjectedClock) {
    struct Case {
        const char* name;
        const char* address;
        HttpLimits limits;
        std::chrono::milliseconds fires;  // when the time-out is due
        const char* message;
    };
    const Case cases[] = {
        {"idle", "127.77.40.1", HttpLimits{2000ms, 9000ms}, 2000ms, "no data for 2000 ms"},
        {"deadline", "127.77.40.2", HttpLimits{9000ms, 3000ms}, 3000ms, "no complete reply within 3000 ms"},
    };
    for (const auto& c : cases) {
        FakeHttpServer server;
        ASSERT_TRUE(server.listen(QHostAddress(c.address), 1400)) << c.name;
        server.setHandler([](const HttpRequest&) { return HttpReply::hang(); });
        ManualClock clock;
        HttpClient http(clock);
        auto task = http.get(urlOf(c.address, "/status/batterystatus"), c.limits);
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount() == 1; }, waitBoundMs)) << c.name;

        clock.advance(c.fires - 1ms);
        QCoreApplication::processEvents();
        EXPECT_FALSE(task.isReady()) << c.name << ": no time-out before it is due";
        clock.advance(1ms);
        ASSERT_TRUE(QTest::qWaitFor([&] { return task.isReady(); }, waitBoundMs)) << c.name;
        auto result = QCoro::waitFor(std::move(task));
        ASSERT_FALSE(result) << c.name;
        EXPECT_EQ(result.error(), TransportError::timedOut(c.message)) << c.name;
    }
}

TEST(HttpClient, AnswersAreReturnedAsTheyCame) {
    FakeHttpServer target;
    ASSERT_TRUE(target.listen(QHostAddress("127.77.41.2"), 1400));
    FakeHttpServer server;
    ASSERT_TRUE(server.listen(QHostAddress("127.77.41.1"), 1400));
    server.setHandler([](const HttpRequest& request) {
        if (request.path() == "/moved") {
            return HttpReply::withStatus(302).header("Location", "http://127.77.41.2:1400/elsewhere");
        }
        if (request.path() == "/missing") return HttpReply::withStatus(404, "gone");
        return HttpReply::ok("<ok/>", "text/xml");
    });
    HttpClient http;
    struct Case {
        const char* path;
        int status;
        QByteArray body;
    };
    const Case cases[] = {{"/xml/device_description.xml", 200, "<ok/>"}, {"/missing", 404, "gone"}, {"/moved", 302, ""}};
    for (const auto& c : cases) {
        auto result = QCoro::waitFor(http.get(urlOf("127.77.41.1", c.path), HttpLimits::sweepRead()));
        ASSERT_TRUE(result) << c.path << ": " << result.error().message();
        EXPECT_EQ(result->statusCode, c.status) << c.path;
        EXPECT_EQ(result->body, c.body) << c.path;
    }
    EXPECT_EQ(target.requestCount(), 0) << "redirects are never followed";
    // Compressed bodies would slip past the size cap, so none are asked for.
    EXPECT_EQ(server.requests().front().header("Accept-Encoding"), "identity");
}
