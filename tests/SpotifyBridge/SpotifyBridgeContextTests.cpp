#include "SpotifyBridgeFixture.h"

using namespace orvel;
using namespace orvel::testing;
using namespace std::chrono_literals;
using Authorization = SpotifyBridge::Authorization;
using ContextResult = SpotifyBridge::Result<SpotifyTrackContext>;

namespace {

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
        {"401 and the refresh refused", {unauthorized}, fakes::FakeSpotifyWebApi::json(400, R"({"error":"invalid_grant"})"),
         SpotifyBridgeError::authorizationFailed("token HTTP 400"), 1, {"A0"}},
        {"nothing playing", {fakes::FakeSpotifyWebApi::noContent()}, granted, SpotifyBridgeError::nothingPlaying(), 0,
         {"A0"}},
        {"server error", {fakes::HttpReply::withStatus(500)}, granted,
         SpotifyBridgeError::network("currently-playing HTTP 500"), 0, {"A0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        startOver();
        fake.clearReplies();
        fake.setReply(queuePath, fakes::FakeSpotifyWebApi::json(200, fakes::FakeSpotifyWebApi::queue({})));
        for (const auto& reply : c.playerReplies) fake.enqueueReply(playerPath, reply);
        seedVault("R0", 3000, "Alice");
        accounts.setReply(tokenPath, c.tokenReply);
        startBridge();

        const ContextResult result = run(bridge->currentContext());

        if (c.error) {
            EXPECT_EQ(result, contextFailure(*c.error));
        } else {
            ASSERT_TRUE(result);
            EXPECT_EQ(result->uri.description(), someTrack.toStdString());
        }
        EXPECT_EQ(tokenRequests(), c.refreshes);
        EXPECT_EQ(bearers(playerPath), c.bearers);
        if (result) {
            clock.advance(3900ms);
            EXPECT_EQ(run(bridge->currentContext()), result) << "an answer younger than four seconds is reused";
            EXPECT_EQ(bearers(playerPath), c.bearers);
        }
        EXPECT_EQ(bridge->authorization(), Authorization::connected("Alice")) << "failures never unlink";
        EXPECT_EQ(vault().refreshToken(), "R0");
        clock.advance(10s);  // past the client's memory of the answer
    }
}

TEST_F(SpotifyBridgeTest, WithoutALinkNothingIsAskedOfTheService) {
    startBridge();
    EXPECT_EQ(run(bridge->currentContext()), contextFailure(SpotifyBridgeError::notConnected()));
    EXPECT_TRUE(waitForTask(bridge->pauseSourcePlayback()));
    EXPECT_FALSE(run(bridge->resumeSourcePlayback()));
    EXPECT_EQ(allRequests(), 0);
}
