#include <QSignalSpy>

#include "SpotifyBridgeFixture.h"

using namespace orvel;
using namespace orvel::testing;
using namespace std::chrono_literals;
using Authorization = SpotifyBridge::Authorization;

namespace {

const std::string nameKey = SpotifyBridge::displayNameKey;
// Far enough back that the stored expiry is not after 1970: the vault reads no access token.
constexpr double storedWithoutExpiry = -1e12;

}  // namespace

TEST_F(SpotifyBridgeTest, StartUpRestoresTheLinkFromTheVaultAndTheStoredName) {
    struct Case {
        const char* name;
        std::optional<std::string> refresh;
        std::optional<double> secondsLeft;
        std::optional<std::string> vaultName;
        std::optional<std::string> storedName;
        Authorization expected;
        std::optional<std::string> vaultNameAfter;
    };
    const Case cases[] = {
        {"empty vault", std::nullopt, std::nullopt, std::nullopt, "Bob", Authorization::notConnected(), std::nullopt},
        {"name in the vault", "R0", 3000, "Alice", "Bob", Authorization::connected("Alice"), "Alice"},
        {"name only in the defaults", "R0", std::nullopt, std::nullopt, "Bob", Authorization::connected("Bob"), "Bob"},
        {"empty stored name", "R0", std::nullopt, std::nullopt, "", Authorization::connected("Spotify"), "Spotify"},
        {"access token only", std::nullopt, 3000, "Alice", std::nullopt, Authorization::connected("Alice"), "Alice"},
        {"access token stored without an expiry", std::nullopt, storedWithoutExpiry, "Alice", std::nullopt,
         Authorization::notConnected(), "Alice"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        startOver();
        seedVault(c.refresh, c.secondsLeft, c.vaultName);
        if (c.storedName) defaults.values[nameKey] = *c.storedName;

        startBridge();
        EXPECT_EQ(openRequestsTo(profilePath), 0) << "a known name is never looked up";
        settleRefresh();

        EXPECT_EQ(bridge->authorization(), c.expected);
        EXPECT_EQ(vault().displayName(), c.vaultNameAfter);
        if (const auto* connected = c.expected.asConnected()) {
            EXPECT_EQ(defaults.string(nameKey), connected->displayName);
        } else {
            EXPECT_EQ(defaults.string(nameKey), c.storedName) << "an unlinked start writes nothing";
            EXPECT_FALSE(vault().loadSnapshot().refreshToken);
        }
    }
}

TEST_F(SpotifyBridgeTest, ANameStoredNowhereIsLookedUpAfterStartUp) {
    seedVault("R0", 3000);
    startBridge();
    QSignalSpy changes(bridge.get(), &SpotifyBridge::authorizationChanged);
    EXPECT_EQ(openRequestsTo(profilePath), 1);

    EXPECT_EQ(bridge->authorization(), Authorization::connected("Spotify"));
    ASSERT_TRUE(waitUntil([&] { return bridge->authorization() == Authorization::connected("Alice"); }));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(defaults.string(nameKey), "Alice");
    EXPECT_EQ(vault().displayName(), "Alice");
    EXPECT_EQ(bearers(profilePath), std::vector<std::string>{"A0"});
    EXPECT_EQ(tokenRequests(), 0);
}

TEST_F(SpotifyBridgeTest, AnExpiredTokenAtStartUpIsRefreshedOnceForTheLoopAndTheNameLookup) {
    seedVault("R0", -10);
    accounts.setReply(tokenPath, tokens("A1"));
    startBridge();
    EXPECT_TRUE(bridge->isRefreshingToken()) << "the loop's first pass runs at once";

    ASSERT_TRUE(waitUntil([&] { return bridge->authorization() == Authorization::connected("Alice"); }));
    EXPECT_EQ(tokenRequests(), 1);
    EXPECT_EQ(bearers(profilePath), std::vector<std::string>{"A1"});
    EXPECT_EQ(formValue(accounts.requestsTo(tokenPath).at(0).body, "refresh_token"), "R0");
}

TEST_F(SpotifyBridgeTest, TokensAreRefreshedOnDemandWhenThreeHundredSecondsOrLessAreLeft) {
    struct Case {
        double secondsLeft;
        qsizetype refreshes;
        std::string bearer;
    };
    const Case cases[] = {{301, 0, "A0"}, {300, 1, "A1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.secondsLeft);
        startOver();
        // Long enough that the loop leaves the token alone, then let the time pass.
        seedVault("R0", 1000, "Alice");
        accounts.setReply(tokenPath, tokens("A1"));
        fake.setReply(playerPath, fakes::FakeSpotifyWebApi::noContent());
        startBridge();
        clock.advance(std::chrono::seconds(static_cast<int>(1000 - c.secondsLeft)));
        EXPECT_FALSE(bridge->isRefreshingToken()) << "the loop's wake-up at 600 s found 400 s left";

        EXPECT_EQ(run(bridge->currentContext()), contextFailure(SpotifyBridgeError::nothingPlaying()));
        EXPECT_EQ(tokenRequests(), c.refreshes);
        EXPECT_EQ(bearers(playerPath), std::vector<std::string>{c.bearer});
        clock.advance(10s);  // past the client's memory of the answer
    }
}

TEST_F(SpotifyBridgeTest, TheBackgroundLoopRefreshesOnItsWakeUpsEvery600Seconds) {
    struct Step {
        std::chrono::seconds advance;
        bool refreshes;
    };
    struct Case {
        double secondsLeft;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {-5, {{0s, true}, {599s, false}, {1s, false}}},
        {900, {{0s, false}, {600s, true}, {600s, false}}},
        {901, {{0s, false}, {600s, false}, {599s, false}, {1s, true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.secondsLeft);
        startOver();
        seedVault("R0", c.secondsLeft, "Alice");
        accounts.setReply(tokenPath, tokens("A1"));
        startBridge();
        qsizetype expected = 0;
        for (const auto& step : c.steps) {
            clock.advance(step.advance);
            EXPECT_EQ(bridge->isRefreshingToken(), step.refreshes) << step.advance.count();
            settleRefresh();
            expected += step.refreshes ? 1 : 0;
            EXPECT_EQ(tokenRequests(), expected);
        }
    }
}

TEST_F(SpotifyBridgeTest, CallersThatNeedARefreshAtTheSameTimeShareOne) {
    seedVault("R0", 1000, "Alice");
    accounts.setReply(tokenPath, tokens("A1", "R1"));
    fake.setReply(playerPath, fakes::FakeSpotifyWebApi::noContent());
    fake.setReply(playPath, fakes::FakeSpotifyWebApi::noContent());
    startBridge();
    clock.advance(750s);

    accounts.server().setHoldReplies(true);
    auto context = bridge->currentContext();
    auto resumed = bridge->resumeSourcePlayback();
    ASSERT_TRUE(waitUntil([&] { return accounts.server().heldReplyCount() == 1; }));
    accounts.server().setHoldReplies(false);

    EXPECT_FALSE(run(std::move(context)));
    EXPECT_TRUE(run(std::move(resumed)));
    EXPECT_EQ(tokenRequests(), 1);
    EXPECT_EQ(bearers(playerPath), std::vector<std::string>{"A1"});
    EXPECT_EQ(bearers(playPath), std::vector<std::string>{"A1"});
    EXPECT_EQ(vault().refreshToken(), "R1");
}

TEST_F(SpotifyBridgeTest, ARefreshReplyKeepsOrReplacesTheRefreshToken) {
    struct Case {
        const char* name;
        std::optional<std::string> replyRefresh;
        std::string kept;
    };
    const Case cases[] = {
        {"no refresh token in the reply", std::nullopt, "R0"},
        {"a new refresh token", "R9", "R9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        startOver();
        seedVault("R0", -1, "Alice");
        accounts.setReply(tokenPath, tokens("A1", c.replyRefresh, 100));
        startBridge();
        settleRefresh();
        const auto snapshot = vault().loadSnapshot();
        EXPECT_EQ(snapshot.refreshToken, c.kept);
        EXPECT_EQ(snapshot.accessToken, (TokenVault::AccessToken{"A1", clock.now().addingSeconds(100)}));
        EXPECT_EQ(snapshot.displayName, "Alice");

        // The token lives 100 s: the next use refreshes, with the refresh token kept above.
        fake.setReply(playPath, fakes::FakeSpotifyWebApi::noContent());
        EXPECT_TRUE(run(bridge->resumeSourcePlayback()));
        ASSERT_EQ(tokenRequests(), 2);
        EXPECT_EQ(formValue(accounts.requestsTo(tokenPath).at(1).body, "refresh_token"), c.kept);
    }
}

TEST_F(SpotifyBridgeTest, AnAccessTokenWithoutRefreshTokenServesUntilItRunsOut) {
    seedVault(std::nullopt, 1000, "Alice");
    fake.setReply(playerPath, fakes::FakeSpotifyWebApi::noContent());
    startBridge();
    EXPECT_EQ(bridge->authorization(), Authorization::connected("Alice"));
    EXPECT_FALSE(run(bridge->currentContext()));
    EXPECT_EQ(fake.requestCount(playerPath), 1);

    clock.advance(700s);
    EXPECT_EQ(run(bridge->currentContext()), contextFailure(SpotifyBridgeError::notConnected()));
    EXPECT_EQ(fake.requestCount(playerPath), 1);
    EXPECT_EQ(tokenRequests(), 0);
    EXPECT_EQ(bridge->authorization(), Authorization::connected("Alice"));
}

TEST_F(SpotifyBridgeTest, DisconnectForgetsEverythingAndNotifiesOnlyOnAChange) {
    seedVault("R0", 3000, "Alice");
    startBridge();
    QSignalSpy changes(bridge.get(), &SpotifyBridge::authorizationChanged);

    for (int round = 0; round < 2; ++round) {
        bridge->disconnect();
        EXPECT_EQ(bridge->authorization(), Authorization::notConnected());
        EXPECT_EQ(changes.count(), 1) << round;
        EXPECT_FALSE(std::filesystem::exists(vault().vaultFilePath()));
        EXPECT_EQ(defaults.string(nameKey), std::nullopt);
    }
    clock.advance(3600s);
    EXPECT_FALSE(bridge->isRefreshingToken()) << "the loop has stopped";
    EXPECT_EQ(run(bridge->currentContext()), contextFailure(SpotifyBridgeError::notConnected()));
    EXPECT_EQ(allRequests(), 0);
}

TEST_F(SpotifyBridgeTest, DisconnectDuringARefreshWins) {
    seedVault("R0", 1000, "Alice");
    accounts.setReply(tokenPath, tokens("A1", "R1"));
    fake.setReply(playerPath, playing());
    startBridge();
    clock.advance(750s);

    accounts.server().setHoldReplies(true);
    auto context = bridge->currentContext();
    ASSERT_TRUE(waitUntil([&] { return accounts.server().heldReplyCount() == 1; }));
    bridge->disconnect();
    accounts.server().setHoldReplies(false);

    EXPECT_EQ(run(std::move(context)),
              contextFailure(SpotifyBridgeError::notConnected()));
    EXPECT_EQ(bridge->authorization(), Authorization::notConnected());
    EXPECT_FALSE(std::filesystem::exists(vault().vaultFilePath()));
    EXPECT_EQ(defaults.string(nameKey), std::nullopt);
    EXPECT_EQ(fake.requestCount(playerPath), 0);

    // Nothing of the old link is left to use.
    EXPECT_EQ(run(bridge->currentContext()), contextFailure(SpotifyBridgeError::notConnected()));
    EXPECT_EQ(tokenRequests(), 1);
}

TEST_F(SpotifyBridgeTest, DisconnectDuringTheStartUpNameLookupWins) {
    seedVault("R0", 3000);
    QSignalSpy answered(&network, &QNetworkAccessManager::finished);
    fake.server().setHoldReplies(true);
    startBridge();
    ASSERT_TRUE(waitUntil([&] { return fake.server().heldReplyCount() == 1; }));
    bridge->disconnect();
    fake.server().setHoldReplies(false);
    ASSERT_TRUE(waitUntil([&] { return answered.count() == 1; }));
    drainQueuedCalls();
    EXPECT_EQ(openRequestsTo(profilePath), 0);

    EXPECT_EQ(fake.requestCount(profilePath), 1);
    EXPECT_EQ(bridge->authorization(), Authorization::notConnected());
    EXPECT_EQ(defaults.string(nameKey), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(vault().vaultFilePath()));
}

TEST(SettingsUserDefaults, TellsAnEmptyTextFromAnAbsentOne) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString file = folder.filePath(QStringLiteral("Orvella.conf"));
    struct Step {
        std::optional<std::string> write;  // none: remove
        std::optional<std::string> read;
    };
    const Step steps[] = {{"Alice", "Alice"}, {"", ""}, {std::nullopt, std::nullopt}, {"Zoë ☃", "Zoë ☃"}};
    for (const auto& step : steps) {
        {
            SettingsUserDefaults writer(file);
            if (step.write) {
                writer.setString("Orvella.Spotify.displayName", *step.write);
            } else {
                writer.remove("Orvella.Spotify.displayName");
            }
        }
        // Read back through a fresh object: what another start of the program sees.
        const SettingsUserDefaults reader(file);
        EXPECT_EQ(reader.string("Orvella.Spotify.displayName"), step.read);
        EXPECT_EQ(reader.string("Orvella.Spotify.other"), std::nullopt);
    }
}
