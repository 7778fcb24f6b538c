#include <QSignalSpy>

#include "SpotifyBridge/PKCE.h"
#include "SpotifyBridge/SealedClientStore.h"
#include "SpotifyBridgeFixture.h"

using namespace orvel;
using namespace orvel::testing;
using namespace std::chrono_literals;
using Authorization = SpotifyBridge::Authorization;
using LinkResult = SpotifyBridge::Result<void>;

namespace {

const std::string nameKey = SpotifyBridge::displayNameKey;

LinkResult failure(std::string detail) { return std::unexpected(SpotifyBridgeError::authorizationFailed(std::move(detail))); }

class SpotifyBridgeLinkTest : public SpotifyBridgeTest {
protected:
    void SetUp() override {
        SpotifyBridgeTest::SetUp();
        accounts.setReply(tokenPath, tokens("A1", "R1"));
    }

    // The browser comes back from every sign-in page with a code and the page's own state, or
    // with `state` instead.
    void answerWith(std::optional<std::string> state = std::nullopt) {
        browser.onOpen = [this, state](const QUrl& page) {
            const std::string given = state ? *state : queryValue(page, "state").value_or("");
            session.handleCallback(QUrl(QString::fromStdString("orvella://spotify-callback?code=c0de&state=" + given)));
        };
    }
    LinkResult link() { return run(bridge->connect(session)); }

    ScriptedBrowser browser;
    CallbackRelay relay{folder.filePath(QStringLiteral("relay"))};
    WebAuthSession session{browser, relay, clock};
};

}  // namespace

TEST_F(SpotifyBridgeLinkTest, LinksAnAccountEndToEndThroughTheBrowserAndTheRelay) {
    ASSERT_TRUE(relay.listen().has_value());
    // What the desktop does with the redirect: it starts a second copy of the program with it.
    browser.onOpen = [&](const QUrl& page) {
        const auto callback = "orvella://spotify-callback?code=c0de&state=" + queryValue(page, "state").value_or("");
        const QStringList arguments{QStringLiteral("orvella"), QString::fromStdString(callback)};
        EXPECT_TRUE(CallbackRelay::forwardToRunningInstance(arguments, relay.serverName()));
    };
    startBridge();
    QSignalSpy changes(bridge.get(), &SpotifyBridge::authorizationChanged);

    EXPECT_EQ(link(), LinkResult());

    EXPECT_EQ(bridge->authorization(), Authorization::connected("Alice"));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(bridge->displayName(), QStringLiteral("Alice"));
    EXPECT_EQ(defaults.string(nameKey), "Alice");
    const auto snapshot = vault().loadSnapshot();
    EXPECT_EQ(snapshot.refreshToken, "R1");
    EXPECT_EQ(snapshot.accessToken, (TokenVault::AccessToken{"A1", clock.now().addingSeconds(3600)}));
    EXPECT_EQ(snapshot.displayName, "Alice");
    EXPECT_EQ(bearers(profilePath), std::vector<std::string>{"A1"});

    // The page, the exchange and the proof key belong together.
    ASSERT_EQ(browser.opened.size(), 1u);
    const QUrl page = browser.opened[0];
    EXPECT_EQ(page.toString(QUrl::RemoveQuery), accounts.origin() + QStringLiteral("/authorize"));
    ASSERT_EQ(tokenRequests(), 1);
    const QByteArray form = accounts.requestsTo(tokenPath).at(0).body;
    EXPECT_EQ(formValue(form, "code"), "c0de");
    EXPECT_EQ(formValue(form, "client_id"), "test-client");
    const auto verifier = formValue(form, "code_verifier");
    ASSERT_TRUE(verifier);
    EXPECT_EQ(queryValue(page, "code_challenge"), PKCE::challenge(*verifier));

    // The loop runs for the new link: 300 s before the hour it refreshes.
    clock.advance(3000s);
    EXPECT_FALSE(bridge->isRefreshingToken());
    clock.advance(600s);
    EXPECT_TRUE(bridge->isRefreshingToken());
    settleRefresh();
}

TEST_F(SpotifyBridgeLinkTest, TheTokenEndpointAndTheProfileDecideWhatAnExchangedCodeBecomes) {
    struct Case {
        const char* name;
        fakes::HttpReply tokenReply;
        fakes::HttpReply profileReply;
        LinkResult expected;
        Authorization linked;
    };
    const auto refused = fakes::FakeSpotifyWebApi::json(400, R"({"error":"invalid_grant"})");
    const auto profileDown = fakes::HttpReply::withStatus(500);
    const Case cases[] = {
        {"code refused", refused, profile("Alice"), failure("token HTTP 400"), Authorization::notConnected()},
        {"profile lookup fails", tokens("A1", "R1"), profileDown, {}, Authorization::connected("Spotify")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        startOver();
        accounts.setReply(tokenPath, c.tokenReply);
        fake.setReply(profilePath, c.profileReply);
        answerWith();
        startBridge();

        EXPECT_EQ(link(), c.expected);

        EXPECT_EQ(bridge->authorization(), c.linked);
        EXPECT_EQ(tokenRequests(), 1);
        const auto* connected = c.linked.asConnected();
        EXPECT_EQ(defaults.string(nameKey), connected ? std::optional(connected->displayName) : std::nullopt);
        EXPECT_EQ(vault().displayName(), connected ? std::optional(connected->displayName) : std::nullopt);
    }
}

TEST_F(SpotifyBridgeLinkTest, WithoutAnyClientIdNoSignInStarts) {
    qunsetenv(SealedClientStore::primaryVariable);
    qunsetenv(SealedClientStore::secondaryVariable);
    const bool builtIn = SealedClientStore::withEphemeralClientID("", [](const std::string& id) { return !id.empty(); });
    if (builtIn) GTEST_SKIP() << "this build carries a client id of its own";
    startBridge(QStringLiteral("  \n"));
    EXPECT_EQ(link(), failure("Spotify client credentials unavailable"));
    EXPECT_TRUE(browser.opened.empty());
}

TEST_F(SpotifyBridgeLinkTest, ASecondRequestWhileASignInIsPendingShowsTheSamePageAndSharesItsOutcome) {
    startBridge();
    auto first = bridge->connect(session);
    clock.advance(WebAuthSession::defaultTimeout - 1s);
    auto second = bridge->connect(session);

    ASSERT_EQ(browser.opened.size(), 2u);
    EXPECT_EQ(browser.opened[1], browser.opened[0]);
    clock.advance(1s);
    EXPECT_TRUE(session.isPending()) << "showing the page again restarts the time-out";
    const std::string state = queryValue(browser.opened[0], "state").value_or("");
    session.handleCallback(QUrl(QString::fromStdString("orvella://spotify-callback?code=c0de&state=" + state)));

    EXPECT_EQ(run(std::move(first)), LinkResult());
    EXPECT_EQ(run(std::move(second)), LinkResult());
    EXPECT_EQ(tokenRequests(), 1);
    EXPECT_EQ(bridge->authorization(), Authorization::connected("Alice"));

    // Once it is over, the next request is a sign-in of its own.
    answerWith();
    EXPECT_EQ(link(), LinkResult());
    ASSERT_EQ(browser.opened.size(), 3u);
    EXPECT_NE(queryValue(browser.opened[2], "state"), queryValue(browser.opened[0], "state"));
}

TEST_F(SpotifyBridgeLinkTest, AFailedSignInLeavesALinkedAccountAsItWas) {
    seedVault("R0", 3000, "Alice");
    startBridge();
    const auto before = vault().loadSnapshot();
    QSignalSpy changes(bridge.get(), &SpotifyBridge::authorizationChanged);
    answerWith("wrong");

    EXPECT_EQ(link(), failure("state mismatch"));
    EXPECT_EQ(tokenRequests(), 0);
    EXPECT_EQ(bridge->authorization(), Authorization::connected("Alice"));
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(vault().loadSnapshot(), before);
    EXPECT_EQ(defaults.string(nameKey), "Alice");
}

TEST_F(SpotifyBridgeLinkTest, LinkingAnotherAccountWinsOverARefreshOfTheOldOne) {
    seedVault("R0", 1000, "Alice");
    fake.setReply(profilePath, profile("Carol"));
    fake.setReply(playPath, fakes::FakeSpotifyWebApi::noContent());
    startBridge();
    clock.advance(750s);

    // The new account's code is exchanged; its profile answer waits.
    fake.server().setHoldReplies(true);
    answerWith();
    auto linking = bridge->connect(session);
    ASSERT_TRUE(waitUntil([&] { return fake.server().heldReplyCount() == 1; }));
    // Meanwhile the old account's token is refreshed, and that answer waits too.
    accounts.setReply(tokenPath, tokens("OLD", "ROLD"));
    accounts.server().setHoldReplies(true);
    auto resumed = bridge->resumeSourcePlayback();
    ASSERT_TRUE(waitUntil([&] { return accounts.server().heldReplyCount() == 1; }));

    fake.server().setHoldReplies(false);
    EXPECT_EQ(run(std::move(linking)), LinkResult());
    EXPECT_EQ(bridge->authorization(), Authorization::connected("Carol"));
    accounts.server().setHoldReplies(false);
    EXPECT_FALSE(run(std::move(resumed))) << "the old link's refresh hands out no token";

    const auto snapshot = vault().loadSnapshot();
    EXPECT_EQ(snapshot.refreshToken, "R1");
    EXPECT_EQ(snapshot.accessToken->token, "A1");
    EXPECT_EQ(snapshot.displayName, "Carol");
    EXPECT_EQ(fake.requestCount(playPath), 0);
    EXPECT_TRUE(run(bridge->resumeSourcePlayback()));
    EXPECT_EQ(bearers(playPath), std::vector<std::string>{"A1"});
}

TEST(SpotifyBridgeSignIn, TheAuthorizePageCarriesItsSevenItemsInOrderWhateverTheClientId) {
    const QUrl redirect(QStringLiteral("orvella://spotify-callback"));
    const QString origin = QStringLiteral("https://accounts.example.test");
    EXPECT_EQ(SpotifyBridgeSignIn::authorizeURL(origin, "0123abcd", redirect, "S-1", "ch_-")->toEncoded(),
              "https://accounts.example.test/authorize?response_type=code&client_id=0123abcd"
              "&scope=user-read-currently-playing%20user-read-playback-state%20user-modify-playback-state"
              "&redirect_uri=orvella://spotify-callback&state=S-1&code_challenge_method=S256&code_challenge=ch_-");

    for (const std::string clientID : {"a b", "x&client_id=evil", "p+q=r#s", "\xC3\xA9t\xC3\xA9", "%41"}) {
        SCOPED_TRACE(clientID);
        const auto url = SpotifyBridgeSignIn::authorizeURL(origin, clientID, redirect, "S-1", "ch");
        ASSERT_TRUE(url);
        const std::vector<SpotifyBridgeSignIn::QueryItem> expected = {
            {"response_type", "code"},
            {"client_id", clientID},
            {"scope", SpotifyBridgeSignIn::scope},
            {"redirect_uri", "orvella://spotify-callback"},
            {"state", "S-1"},
            {"code_challenge_method", "S256"},
            {"code_challenge", "ch"},
        };
        EXPECT_EQ(SpotifyBridgeSignIn::queryItems(*url), expected);
    }
    EXPECT_EQ(SpotifyBridgeSignIn::authorizeURL(origin, "", redirect, "S-1", "ch"), std::nullopt);
}

TEST(SpotifyBridgeSignIn, CallbacksAreReadStateFirstThenErrorThenCode) {
    using Code = std::expected<std::string, SpotifyBridgeError>;
    const auto refused = [](std::string detail) {
        return Code(std::unexpected(SpotifyBridgeError::authorizationFailed(std::move(detail))));
    };
    const Code mismatch = refused("state mismatch");
    struct Case {
        const char* callback;
        Code expected;
    };
    const Case cases[] = {
        {"orvella://spotify-callback?code=c0de&state=S", "c0de"},
        {"orvella://spotify-callback?code=c0de&state=other", mismatch},
        {"orvella://spotify-callback?code=c0de", mismatch},
        {"orvella://spotify-callback?code=c0de&state=", mismatch},
        {"orvella://spotify-callback?code=c0de&state", mismatch},
        {"orvella://spotify-callback?state=x&state=S&code=c0de", mismatch},
        {"orvella://spotify-callback#code=c0de&state=S", mismatch},
        {"orvella://spotify-callback", mismatch},
        {"orvella://spotify-callback?state=S&error=access_denied", refused("access_denied")},
        {"orvella://spotify-callback?state=x&error=access_denied", mismatch},
        {"orvella://spotify-callback?state=S&error&code=c0de", "c0de"},
        {"orvella://spotify-callback?state=S&error=&code=c0de", refused("")},
        {"orvella://spotify-callback?state=S", refused("missing code")},
        {"orvella://spotify-callback?state=S&code", refused("missing code")},
        {"orvella://spotify-callback?state=S&code=", ""},
        {"orvella://spotify-callback?state=S&code=a%2Fb%20c%2B", "a/b c+"},
        {"orvella://spotify-callback?code=one&state=S&code=two", "one"},
    };
    for (const auto& c : cases) {
        const QUrl callback = QUrl::fromEncoded(QByteArray(c.callback), QUrl::StrictMode);
        EXPECT_EQ(SpotifyBridgeSignIn::codeFromCallback(callback, "S"), c.expected) << c.callback;
    }
}
