#include "SpotifyBridgeFixture.h"

using namespace orvel;
using namespace std::chrono_literals;
using fakes::FakeSpotifyWebApi;
using fakes::HttpReply;
using orvel::testing::queuePath;
using orvel::testing::run;

namespace {

const QByteArray trackA = "spotify:track:0000000000000000000001";
const QByteArray trackB = "spotify:track:0000000000000000000002";
const QByteArray trackC = "spotify:track:0000000000000000000003";
const QByteArray player = orvel::testing::playerPath;

using Playing = SpotifyAPIClient::Result<std::optional<SpotifyTrackContext>>;
const Playing nothingPlaying = std::optional<SpotifyTrackContext>{};

class SpotifyAPIClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fake.listen());
        auto endpoints = SpotifyEndpoints::make(fake.origin(), fake.origin(), fake.origin());
        ASSERT_TRUE(endpoints);
        client = std::make_unique<SpotifyAPIClient>(WebAPI(*endpoints, &network), clock);
    }

    Playing playing(double minCacheAge = 4) {
        return run(client->currentlyPlaying("T", minCacheAge));
    }
    std::optional<std::string> title(std::optional<std::string> uri, std::optional<std::string> fallback = "Album") {
        return run(client->resolveContextTitle(std::move(uri), std::move(fallback), "T"));
    }
    void playTrack(const QByteArray& uri, const QByteArray& contextURI = {}) {
        fake.setReply(player, FakeSpotifyWebApi::json(200, FakeSpotifyWebApi::playerState(uri, "Song", contextURI, "LP")));
    }
    void queueOf(const QList<QByteArray>& uris) {
        fake.setReply(queuePath, FakeSpotifyWebApi::json(200, FakeSpotifyWebApi::queue(uris)));
    }
    static std::vector<std::string> upNextURIs(const Playing& r) {
        std::vector<std::string> out;
        if (r && *r) {
            for (const auto& item : (*r)->upNext) out.push_back(item.spotifyURI() ? item.spotifyURI()->description() : "");
        }
        return out;
    }
    double secondsUntilRequestsResume() const {
        return client->rateLimitedUntil()
                   ? std::chrono::duration<double>(*client->rateLimitedUntil() - clock.monotonicNow()).count()
                   : 0;
    }

    FakeSpotifyWebApi fake;
    QNetworkAccessManager network;
    ManualClock clock;
    std::unique_ptr<SpotifyAPIClient> client;
};

}  // namespace

TEST_F(SpotifyAPIClientTest, ConcurrentCallersShareOneRequest) {
    playTrack(trackA);
    queueOf({trackB, trackC});
    fake.setReply("/v1/albums/0000000000000000000007", FakeSpotifyWebApi::json(200, R"({"name":"LP"})"));
    const auto sharing = [&](auto start, const QByteArray& path) {
        fake.server().clearRequests();
        fake.server().setHoldReplies(true);
        auto first = start();
        auto second = start();
        EXPECT_TRUE(waitUntil([&] { return fake.server().heldReplyCount() == 1; })) << path.constData();
        fake.server().setHoldReplies(false);
        const auto a = run(std::move(first));
        EXPECT_EQ(a, run(std::move(second))) << path.constData();
        EXPECT_EQ(fake.requestCount(path), 1) << path.constData();
        return a;
    };
    EXPECT_EQ(sharing([&] { return client->fetchQueue("T"); }, queuePath).size(), 2u);
    const auto playingNow = sharing([&] { return client->currentlyPlaying("T", 4); }, player);
    ASSERT_TRUE(playingNow && *playingNow);
    EXPECT_EQ(upNextURIs(playingNow), (std::vector<std::string>{trackB.toStdString(), trackC.toStdString()}));
    EXPECT_EQ(sharing([&] { return client->resolveContextTitle("spotify:album:0000000000000000000007", "A", "T"); },
                      "/v1/albums/0000000000000000000007"),
              "LP");
}

TEST_F(SpotifyAPIClientTest, AnswersYoungerThanTheAskedAgeAreReusedNothingPlayingIncluded) {
    for (int status : {204, 202}) {
        fake.setReply(player, HttpReply::withStatus(status, {}, {}));
        clock.advance(10s);
        fake.server().clearRequests();
        EXPECT_EQ(playing(), nothingPlaying) << status;
        clock.advance(3900ms);
        EXPECT_EQ(playing(), nothingPlaying);
        EXPECT_EQ(fake.requestCount(player), 1);
        clock.advance(100ms);
        EXPECT_EQ(playing(), nothingPlaying);
        EXPECT_EQ(fake.requestCount(player), 2);
        EXPECT_EQ(fake.requestCount(queuePath), 0);
    }
}

TEST_F(SpotifyAPIClientTest, ErrorStatusesFailAndLeaveTheCacheAlone) {
    struct Case {
        HttpReply reply;
        SpotifyBridgeError error;
    };
    const Case cases[] = {
        {FakeSpotifyWebApi::json(401, R"({"error":{"status":401}})"), SpotifyBridgeError::authorizationFailed("401")},
        {HttpReply::withStatus(500, "oops"), SpotifyBridgeError::network("currently-playing HTTP 500")},
        {FakeSpotifyWebApi::json(200, "not json"), SpotifyBridgeError::network("currently-playing")},
        {FakeSpotifyWebApi::json(200, R"({"item":{"type":"episode","uri":"spotify:episode:x"}})"),
         SpotifyBridgeError::unplayableOnSonos("spotify:episode:x")},
    };
    for (const auto& c : cases) {
        fake.server().clearRequests();
        fake.enqueueReply(player, c.reply);
        EXPECT_EQ(playing(), Playing(std::unexpected(c.error)));
        // A failure stores nothing, so the very next call asks again.
        fake.enqueueReply(player, FakeSpotifyWebApi::noContent());
        EXPECT_EQ(playing(), nothingPlaying);
        EXPECT_EQ(fake.requestCount(player), 2) << c.error.description();
        clock.advance(5s);
    }
    EXPECT_EQ(client->consecutiveRateLimits(), 0);
}

TEST_F(SpotifyAPIClientTest, UpNextListIsReusedForThirtySecondsPerTrack) {
    struct Step {
        const char* name;
        std::chrono::seconds advance;
        QByteArray track;
        bool queueAnswers;
        bool queueFetched;
    };
    const Step steps[] = {
        {"first sight of a track", 0s, trackA, true, true},
        {"same track 29 s later", 29s, trackA, true, false},
        {"same track 30 s after the list", 1s, trackA, true, true},
        {"track change 5 s later", 5s, trackB, true, true},
        {"same track again", 5s, trackB, true, false},
        {"track change, the queue fails: the last list is kept", 5s, trackA, false, true},
        {"kept under the new track", 29s, trackA, false, false},
    };
    for (const auto& step : steps) {
        clock.advance(step.advance);
        playTrack(step.track);
        if (step.queueAnswers) {
            queueOf({trackC});
        } else {
            fake.setReply(queuePath, HttpReply::withStatus(500));
        }
        const auto before = fake.requestCount(queuePath);
        const auto result = playing(0);
        ASSERT_TRUE(result && *result) << step.name;
        EXPECT_EQ(fake.requestCount(queuePath) - before, step.queueFetched ? 1 : 0) << step.name;
        EXPECT_EQ(upNextURIs(result), std::vector<std::string>{trackC.toStdString()}) << step.name;
    }
}

TEST_F(SpotifyAPIClientTest, TooManyRequestsHoldsEveryRequestUntilThePauseEnds) {
    playTrack(trackA);
    queueOf({trackB});
    const auto first = playing();
    ASSERT_TRUE(first && *first);

    // How long each pause lasts is the back-off's own rule; here each 429 must start one, and
    // until it ends every kind of request is answered from memory.
    struct Step {
        QByteArray retryAfter;  // null: no header
        double wait;
    };
    const Step steps[] = {{"2", 5}, {{}, 10}, {"not-a-number", 20}, {"1000", 300}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.retryAfter.toStdString());
        fake.enqueueReply(player, FakeSpotifyWebApi::tooManyRequests(step.retryAfter));
        EXPECT_EQ(playing(0), first) << "the 429 itself serves the previous result";
        EXPECT_DOUBLE_EQ(secondsUntilRequestsResume(), step.wait);
        const auto requests = fake.requestCount();
        clock.advance(std::chrono::milliseconds(static_cast<int>(step.wait * 1000) - 1));
        EXPECT_EQ(playing(0), first);
        EXPECT_EQ(run(client->fetchQueue("T")), (*first)->upNext);
        EXPECT_EQ(title("spotify:album:0000000000000000000009"), "Album");
        EXPECT_EQ(fake.requestCount(), requests);
        clock.advance(1ms);
    }

    // A success ends the streak: the next 429 starts the first pause again.
    ASSERT_TRUE(playing(0));
    EXPECT_EQ(client->consecutiveRateLimits(), 0);
    fake.enqueueReply(player, FakeSpotifyWebApi::tooManyRequests());
    ASSERT_TRUE(playing(0));
    EXPECT_DOUBLE_EQ(secondsUntilRequestsResume(), 10);
}

TEST_F(SpotifyAPIClientTest, SettingTheWallClockBackNeitherStallsRequestsNorRevivesTheCache) {
    playTrack(trackA);
    queueOf({trackB});
    ASSERT_TRUE(playing());
    fake.enqueueReply(player, FakeSpotifyWebApi::tooManyRequests("10"));
    clock.advance(10s);
    ASSERT_TRUE(playing());
    const auto before = fake.requestCount(player);

    clock.setWallTime(clock.now().addingSeconds(-3600));
    clock.advance(10s);
    ASSERT_TRUE(playing(4));
    EXPECT_EQ(fake.requestCount(player), before + 1) << "the back-off ends on monotonic time";

    clock.setWallTime(clock.now().addingSeconds(-3600));
    clock.advance(5s);
    ASSERT_TRUE(playing(4));
    EXPECT_EQ(fake.requestCount(player), before + 2) << "cache ages count monotonic time";
}

TEST_F(SpotifyAPIClientTest, AFailedQueueRequestWithNothingCachedGivesAnEmptyList) {
    // fetchQueue never writes the cache itself: with nothing cached, failures give nothing.
    fake.setReply(queuePath, FakeSpotifyWebApi::tooManyRequests());
    EXPECT_TRUE(run(client->fetchQueue("T")).empty());
    EXPECT_EQ(client->consecutiveRateLimits(), 1);
}

TEST_F(SpotifyAPIClientTest, ContextTitlesFromTheWebAPIAndOEmbed) {
    struct Case {
        const char* name;
        std::optional<std::string> uri;
        QByteArray webPath;
        HttpReply webReply;
        HttpReply oembedReply;
        std::optional<std::string> expected;
        qsizetype webRequests, oembedRequests;
    };
    // A distinct context per case, since a title found is kept for good.
    auto id = [](int n) { return "context" + std::to_string(n) + "00000000000000"; };
    auto path = [&](const char* prefix, int n) { return QByteArray(prefix) + QByteArray::fromStdString(id(n)); };
    const auto down = HttpReply::withStatus(500);
    const Case cases[] = {
        {"playlist name trimmed and quoted", "spotify:playlist:" + id(1), path("/v1/playlists/", 1),
         FakeSpotifyWebApi::json(200, R"({"name":"  Road Trip \n"})"), down, "Playlist \"Road Trip\"", 1, 0},
        {"album refused, oEmbed answers", "spotify:album:" + id(2), path("/v1/albums/", 2),
         FakeSpotifyWebApi::json(401, "{}"), FakeSpotifyWebApi::json(200, R"({"title":"Blue Train"})"), "Blue Train", 1,
         1},
        {"playlist blank name, oEmbed title quoted", "spotify:playlist:" + id(3), path("/v1/playlists/", 3),
         FakeSpotifyWebApi::json(200, R"({"name":"  "})"), FakeSpotifyWebApi::json(200, R"({"title":"Mix"})"),
         "Playlist \"Mix\"", 1, 1},
        {"artist failure has no oEmbed", "spotify:artist:" + id(4), path("/v1/artists/", 4), HttpReply::withStatus(503),
         FakeSpotifyWebApi::json(200, R"({"title":"never asked"})"), "Album", 1, 0},
        {"both fail", "spotify:album:" + id(5), path("/v1/albums/", 5), HttpReply::withStatus(404),
         FakeSpotifyWebApi::json(200, R"({"title":5})"), "Album", 1, 1},
        {"other kinds are not looked up", "spotify:show:" + id(6), path("/v1/shows/", 6), down, down, "Album", 0, 0},
        {"a collection that is not the saved tracks", "spotify:user:someone:collection", "/v1/none", down, down,
         "Album", 0, 0},
        {"the saved tracks", "spotify:collection:tracks", "/v1/none", down, down, "Liked Songs", 0, 0},
        {"ids that are not plain letters and digits", "spotify:playlist:abc%2F..%2Fme", "/v1/none", down, down,
         "Album", 0, 0},
        {"no context", std::nullopt, "/v1/none", down, down, "Album", 0, 0},
        {"two parts", "spotify:playlist", "/v1/none", down, down, "Album", 0, 0},
    };
    for (const auto& c : cases) {
        fake.clearReplies();
        fake.server().clearRequests();
        fake.setReply(c.webPath, c.webReply);
        fake.setReply("/oembed", c.oembedReply);
        EXPECT_EQ(title(c.uri), c.expected) << c.name;
        EXPECT_EQ(fake.requestCount(c.webPath), c.webRequests) << c.name;
        EXPECT_EQ(fake.requestCount("/oembed"), c.oembedRequests) << c.name;
        // A title found is kept for good; a lookup that failed is made again.
        EXPECT_EQ(title(c.uri), c.expected) << c.name;
        const qsizetype asked = c.webRequests + c.oembedRequests;
        EXPECT_EQ(fake.requestCount(), c.expected == "Album" ? 2 * asked : asked) << c.name;
    }
}

TEST_F(SpotifyAPIClientTest, ContextTitleRequestsCarryTheTokenOnlyToTheWebAPI) {
    const std::string id = "37i9dQZF1DXcBWIGoYBM5M";
    const QByteArray webPath = "/v1/playlists/" + QByteArray::fromStdString(id);
    fake.setReply(webPath, HttpReply::withStatus(404));
    fake.setReply("/oembed", HttpReply::withStatus(404));
    EXPECT_EQ(title("spotify:playlist:" + id, std::nullopt), std::nullopt);
    const auto requests = fake.server().requests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[0].target, webPath + "?fields=name");
    EXPECT_EQ(requests[0].header("Authorization"), "Bearer T");
    EXPECT_EQ(requests[1].target,
              "/oembed?url=https://" + fake.origin().mid(7).toUtf8() + "/playlist/" + QByteArray::fromStdString(id));
    EXPECT_FALSE(requests[1].hasHeader("Authorization"));
}

TEST_F(SpotifyAPIClientTest, TitleLookupThatMeetsTooManyRequestsStopsAllLookups) {
    fake.setReply("/v1/playlists/0000000000000000000008", FakeSpotifyWebApi::tooManyRequests("20"));
    EXPECT_EQ(title("spotify:playlist:0000000000000000000008"), "Album");
    EXPECT_EQ(fake.requestCount("/oembed"), 0) << "no oEmbed after a 429";
    EXPECT_DOUBLE_EQ(secondsUntilRequestsResume(), 20);

    const auto requests = fake.requestCount();
    EXPECT_EQ(title("spotify:playlist:0000000000000000000009"), "Album");
    EXPECT_EQ(fake.requestCount(), requests);

    // Title replies never end a streak of 429s.
    clock.advance(20s);
    fake.setReply("/v1/albums/0000000000000000000010", FakeSpotifyWebApi::json(200, R"({"name":"Later"})"));
    EXPECT_EQ(title("spotify:album:0000000000000000000010"), "Later");
    EXPECT_EQ(client->consecutiveRateLimits(), 1);
}

TEST_F(SpotifyAPIClientTest, CurrentlyPlayingCarriesTheContextTitle) {
    playTrack(trackA, "spotify:playlist:37i9dQZF1DXcBWIGoYBM5M");
    fake.setReply("/v1/playlists/37i9dQZF1DXcBWIGoYBM5M", FakeSpotifyWebApi::json(200, R"({"name":"Focus"})"));
    const auto result = playing();
    ASSERT_TRUE(result && *result);
    EXPECT_EQ((*result)->contextTitle, "Playlist \"Focus\"");

    // Without a context the album name stands in.
    clock.advance(5s);
    playTrack(trackB);
    const auto noContext = playing();
    ASSERT_TRUE(noContext && *noContext);
    EXPECT_EQ((*noContext)->contextTitle, "LP");
}

TEST_F(SpotifyAPIClientTest, OutlivesItsOwnerWhileARequestIsOut) {
    playTrack(trackA);
    queueOf({});
    fake.server().setHoldReplies(true);
    auto pending = client->currentlyPlaying("T", 4);
    ASSERT_TRUE(waitUntil([&] { return fake.server().heldReplyCount() == 1; }));
    client.reset();
    fake.server().setHoldReplies(false);
    const auto result = run(std::move(pending));
    ASSERT_TRUE(result && *result);
}
