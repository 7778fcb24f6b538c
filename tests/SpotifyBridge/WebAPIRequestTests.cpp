#include "SpotifyBridgeFixture.h"

using namespace orvel;
using fakes::FakeSpotifyWebApi;
using fakes::HttpReply;
using orvel::testing::run;

namespace {

class WebAPIRequests : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fake.listen());
        auto endpoints = SpotifyEndpoints::make(fake.origin(), fake.origin(), fake.origin());
        ASSERT_TRUE(endpoints);
        api.emplace(*endpoints, &network);
    }

    FakeSpotifyWebApi fake;
    QNetworkAccessManager network;
    std::optional<WebAPI> api;
};

}  // namespace

// What a token reply means is the token reader's; here the requests themselves.
TEST_F(WebAPIRequests, TokenRequestsAreFormsWithoutCredentialsInAHeader) {
    fake.setReply("/api/token",
                  FakeSpotifyWebApi::json(200, R"({"access_token":"A","refresh_token":"R","expires_in":60})"));
    EXPECT_EQ(run(api->refresh("cid", "R1")), (SpotifyTokenSet{"A", "R", 60}));
    EXPECT_EQ(run(api->exchange("the code", "verifier", " my-client ", QUrl("orvella://spotify-callback"))),
              (SpotifyTokenSet{"A", "R", 60}));
    const auto requests = fake.requestsTo("/api/token");
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[0].body, "client_id=cid&grant_type=refresh_token&refresh_token=R1");
    EXPECT_EQ(requests[1].body,
              "client_id=my-client&code=the%20code&code_verifier=verifier&grant_type=authorization_code"
              "&redirect_uri=orvella%3A%2F%2Fspotify-callback");
    for (const auto& request : requests) {
        EXPECT_EQ(request.method, "POST");
        EXPECT_EQ(request.header("Content-Type"), "application/x-www-form-urlencoded");
        EXPECT_FALSE(request.hasHeader("Authorization"));
    }
}

TEST_F(WebAPIRequests, TransportFailuresAreNetworkErrors) {
    struct Case {
        const char* name;
        HttpReply reply;
    };
    const Case cases[] = {
        {"connection dropped", HttpReply::drop()},
        {"garbage instead of HTTP", HttpReply::raw("this is not HTTP\r\n\r\n")},
        {"body cut short", HttpReply::raw("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n{\"access")},
    };
    for (const auto& c : cases) {
        fake.enqueueReply("/v1/me", c.reply);
        auto name = run(api->profileName("T"));
        ASSERT_FALSE(name) << c.name;
        EXPECT_TRUE(name.error().isNetwork()) << c.name << ": " << name.error().description();
    }

    fake.server().close();
    auto refused = run(api->refresh("cid", "R"));
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.error().isNetwork());
}

TEST_F(WebAPIRequests, LoadReadsStatusAndRetryAfter) {
    struct Case {
        HttpReply reply;
        int status;
        std::optional<double> retryAfter;
    };
    const Case cases[] = {
        {FakeSpotifyWebApi::tooManyRequests("30"), 429, 30.0},
        {FakeSpotifyWebApi::tooManyRequests("soon"), 429, std::nullopt},
        {FakeSpotifyWebApi::tooManyRequests(), 429, std::nullopt},
        {FakeSpotifyWebApi::noContent(), 204, std::nullopt},
        {HttpReply::withStatus(302, {}, {}).header("Location", "http://127.0.0.1:1/elsewhere"), 302, std::nullopt},
    };
    for (const auto& c : cases) {
        fake.enqueueReply("/v1/me/player", c.reply);
        auto reply = run(api->loadWithHeaders(api->endpoints().playerURL(), "GET", std::string("tok"), std::nullopt));
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->status, c.status);
        EXPECT_EQ(reply->retryAfter, c.retryAfter);
    }
    const auto request = fake.requestsTo("/v1/me/player").front();
    EXPECT_EQ(request.header("Authorization"), "Bearer tok");
    EXPECT_FALSE(request.hasHeader("Content-Type"));
    EXPECT_EQ(fake.requestCount(), static_cast<qsizetype>(std::size(cases))) << "the redirect is not followed";
}

TEST_F(WebAPIRequests, OversizedRepliesAreRefused) {
    fake.setReply("/v1/me", HttpReply::ok(QByteArray(WebAPI::maximumReplySize + 10, 'x'), "text/plain"));
    auto name = run(api->profileName("T"));
    ASSERT_FALSE(name);
    EXPECT_EQ(name.error(), SpotifyBridgeError::network("reply too large"));
}

TEST_F(WebAPIRequests, PauseAndResumePutWithoutABody) {
    struct Case {
        HttpReply reply;
        bool resumed;
    };
    const Case cases[] = {
        {FakeSpotifyWebApi::noContent(), true},
        {FakeSpotifyWebApi::json(200, "{}"), true},
        {FakeSpotifyWebApi::json(404, R"({"error":{"reason":"NO_ACTIVE_DEVICE"}})"), false},
        {HttpReply::drop(), false},
    };
    for (const auto& c : cases) {
        fake.enqueueReply("/v1/me/player/play", c.reply);
        EXPECT_EQ(run(api->resume("T")), c.resumed);
    }
    fake.enqueueReply("/v1/me/player/pause", HttpReply::drop());
    EXPECT_TRUE(waitForTask(api->pause("T")));
    for (const QByteArray path : {"/v1/me/player/play", "/v1/me/player/pause"}) {
        const auto request = fake.requestsTo(path).front();
        EXPECT_EQ(request.method, "PUT");
        EXPECT_EQ(request.header("Authorization"), "Bearer T");
        EXPECT_FALSE(request.hasHeader("Content-Type"));
        EXPECT_TRUE(request.body.isEmpty());
    }
}
