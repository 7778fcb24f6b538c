#include "SpotifyBridgeFixture.h"

using namespace orvel;
using namespace orvel::testing;
using namespace std::chrono_literals;
using Authorization = SpotifyBridge::Authorization;
using ContextResult = SpotifyBridge::Result<SpotifyTrackContext>;

namespace {

ContextResult failed(SpotifyBridgeError error) { return std::unexpected(std::move(error)); }

const auto unauthorized = fakes::FakeSpotifyWebApi::json(401, R"({"error":{"status":401,"message":"expired"}})");

}  // namespace

TEST_F(SpotifyBridgeTest, CurrentContextRefreshesARejectedTokenExactlyOnce) {
    struct Case {
        const char* name;
        std::vector<fakes::HttpReply> playerReplies;
        fakes::HttpReply tokenReply;
        std::optional<SpotifyBridgeError> error;  // none: the track
        qsizetype refreshes;
        std::vector<std::string> bearers;
    };
    const auto granted = tokens("A1");
    const Case cases[] = {
        {"401 then a track", {unauthorized, playing()}, granted, std::nullopt, 1, {"A0", "A1"}},
        {"401 twice", {unauthorized, unauthorized}, granted, SpotifyBridgeError::authorizationFailed("401"), 1,
         {"A0", "A1"}},
        {"401 then nothing playing", {unauthorized, fakes::FakeSpotifyWebApi::noContent()}, granted,
         SpotifyBridgeError::nothingPlaying(), 1, {"A0", "A1"}},
        {"401 and the refresh refused", {unauthorized}, fakes::FakeSpotifyWebApi::json(400, R"({"error":"invalid_grant"})"),
         SpotifyBridgeError::authorizationFailed("token HTTP 400"), 1, {"A0"}},
        {"nothing playing", {fakes::FakeSpotifyWebApi::noContent()}, granted, SpotifyBridgeError::nothingPlaying(), 0,
         {"A0"}},
        {"a track", {playing()}, granted, std::nullopt, 0, {"A0"}},
        {"server error", {fakes::HttpReply::withStatus(500)}, granted,
         SpotifyBridgeError::network("currently-playing HTTP 500"), 0, {"A0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bridge.reset();
        accounts.server().clearRequests();
        fake.server().clearRequests();
        fake.clearReplies();
        fake.setReply(queuePath, fakes::FakeSpotifyWebApi::json(200, fakes::FakeSpotifyWebApi::queue({})));
        for (const auto& reply : c.playerReplies) fake.enqueueReply(playerPath, reply);
        seedVault("R0", 3000, "Alice");
        accounts.setReply(tokenPath, c.tokenReply);
        startBridge();

        const ContextResult result = run(bridge->currentContext());

        if (c.error) {
            EXPECT_EQ(result, failed(*c.error));
        } else {
            ASSERT_TRUE(result);
            EXPECT_EQ(result->uri.description(), someTrack.toStdString());
        }
        EXPECT_EQ(tokenRequests(), c.refreshes);
        EXPECT_EQ(bearers(playerPath), c.bearers);
        EXPECT_EQ(bridge->authorization(), Authorization::connected("Alice")) << "failures never unlink";
        EXPECT_EQ(vault().refreshToken(), "R0");
        clock.advance(10s);  // past the client's memory of the answer
    }
}

TEST_F(SpotifyBridgeTest, AnswersYoungerThanFourSecondsComeFromMemory) {
    seedVault("R0", 3000, "Alice");
    fake.setReply(playerPath, playing());
    startBridge();
    const ContextResult first = run(bridge->currentContext());
    ASSERT_TRUE(first);
    for (auto step : {1000ms, 2900ms}) {
        clock.advance(step);
        EXPECT_EQ(run(bridge->currentContext()), first);
    }
    EXPECT_EQ(fake.requestCount(playerPath), 1);
    clock.advance(100ms);
    EXPECT_EQ(run(bridge->currentContext()), first);
    EXPECT_EQ(fake.requestCount(playerPath), 2);
}

TEST_F(SpotifyBridgeTest, WithoutALinkNothingIsAskedOfTheService) {
    startBridge();
    EXPECT_EQ(run(bridge->currentContext()), failed(SpotifyBridgeError::notConnected()));
    EXPECT_TRUE(waitForTask(bridge->pauseSourcePlayback()));
    EXPECT_FALSE(run(bridge->resumeSourcePlayback()));
    EXPECT_EQ(allRequests(), 0);
}

TEST_F(SpotifyBridgeTest, PauseAndResumeGoToTheAccountsOwnDevice) {
    struct Case {
        fakes::HttpReply reply;
        bool resumed;
    };
    const Case cases[] = {
        {fakes::FakeSpotifyWebApi::noContent(), true},
        {fakes::FakeSpotifyWebApi::json(403, R"({"error":{"status":403,"reason":"PREMIUM_REQUIRED"}})"), false},
    };
    seedVault("R0", 3000, "Alice");
    startBridge();
    for (const auto& c : cases) {
        fake.server().clearRequests();
        fake.setReply(playPath, c.reply);
        fake.setReply(pausePath, c.reply);
        EXPECT_EQ(run(bridge->resumeSourcePlayback()), c.resumed) << c.reply.status;
        EXPECT_TRUE(waitForTask(bridge->pauseSourcePlayback()));
        for (const auto& path : {playPath, pausePath}) {
            const auto requests = fake.requestsTo(path);
            ASSERT_EQ(requests.size(), 1);
            EXPECT_EQ(requests[0].method, "PUT");
            EXPECT_EQ(requests[0].header("Authorization"), QByteArray("Bearer A0"));
        }
    }
    EXPECT_EQ(tokenRequests(), 0);
}
