#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>

#include <chrono>

#include "FakePorts.h"
#include "IntentFixtures.h"
#include "OrvelStore/PlaybackIntents.h"

using namespace orvel;
using namespace orvel::testing;
using namespace std::chrono_literals;

namespace {

const SpotifyURI pausedURI = *SpotifyURI::make("spotify:track:4uLU6hMCjMI75M1A2tKUQC");
const SpotifyURI accountURI = *SpotifyURI::make("spotify:track:6rqhFgbbKwnb9MLmUQDhG6");
const SonosCommandError rejection = SonosCommandError::speakerRejected("701");

PlaybackHost::CommandResult failed(SonosCommandError error) { return std::unexpected(std::move(error)); }
const PlaybackHost::CommandResult rejected = failed(rejection);

SpotifyTrackContext accountContext(std::optional<Duration> position = Duration::seconds(std::int64_t{42})) {
    return SpotifyTrackContext{accountURI, SpotifyTrackMetadata{"Account song", "Singer", "LP", std::nullopt, std::nullopt},
                               position, std::nullopt, std::nullopt, std::nullopt, {}};
}

NowPlaying spotifyTrack(std::optional<std::string> artist) {
    return NowPlaying::track(NowPlayingTrack("Paused song", std::move(artist), "Album", "http://art/1",
                                             Duration::seconds(std::int64_t{200}), std::nullopt, pausedURI, std::nullopt, {},
                                             std::nullopt));
}

// Answers from a script and keeps a log of every call. Like the store, a failed perform
// reports its command as the alert.
class ScriptedHost : public PlaybackHost {
public:
    std::deque<CommandResult> performResults;  // applied once the script runs out
    ContextResult context = std::unexpected(SpotifyBridgeError::nothingPlaying());
    bool resumes = false;

    std::vector<std::string> log;
    std::vector<SonosCommand> performed;
    std::optional<OrvelAlert> alert;

    bool isAvailable() const override { return true; }
    void send(SonosCommand command) override { log.push_back("send " + std::string(command.caseName())); }
    QCoro::Task<CommandResult> perform(SonosCommand command) override {
        log.push_back("perform " + std::string(command.caseName()));
        performed.push_back(command);
        CommandResult result = CommandOutcome::applied();
        if (!performResults.empty()) {
            result = performResults.front();
            performResults.pop_front();
        }
        if (!result) alert = OrvelAlert::commandFailed(command, result.error());
        co_return result;
    }
    QCoro::Task<ContextResult> currentContext() override {
        log.push_back("context");
        co_return context;
    }
    QCoro::Task<> pauseSourcePlayback() override {
        log.push_back("pause account");
        co_return;
    }
    QCoro::Task<bool> resumeSourcePlayback() override {
        log.push_back("resume account");
        co_return resumes;
    }
    void setAlert(std::optional<OrvelAlert> value) override {
        log.push_back(value ? "alert" : "clear alert");
        alert = std::move(value);
    }
};

using Log = std::vector<std::string>;

TEST(PlaybackIntents, ThePlayButtonFallsBackOnTheSpotifyAccountStepByStep) {
    struct Case {
        const char* name;
        PlaybackState playback;
        std::vector<PlaybackHost::CommandResult> performResults;
        PlaybackHost::ContextResult context;
        bool resumes;
        Log expected;
        std::optional<OrvelAlert> alert;
    };
    const auto play = SonosCommand::playPause(PlayPause::play, group('A'));
    const auto noContext = std::unexpected(SpotifyBridgeError::nothingPlaying());
    const auto stream = PlaybackState::paused(NowPlaying::stream("Radio"), Duration::seconds(std::int64_t{3}));
    const auto pausedSpotify = PlaybackState::paused(spotifyTrack("Band"), Duration::seconds(std::int64_t{30}));
    const auto unreachable = SonosCommandError::speakerUnreachable(sp('A'));
    const auto enqueueFailure = SonosCommandError::spotifyNotLinkedOnSonos();
    const Case cases[] = {
        {"playing: one pause send", playbackOf(Play::playing), {}, noContext, false, {"send playPause"}, std::nullopt},
        {"paused and accepted", pausedSpotify, {}, accountContext(), true, {"perform playPause"}, std::nullopt},
        {"paused, unreachable", pausedSpotify, {failed(unreachable)}, accountContext(), true, {"perform playPause"},
         OrvelAlert::commandFailed(play, unreachable)},
        {"rejected, account resumes", pausedSpotify, {rejected}, accountContext(), true,
         {"perform playPause", "clear alert", "resume account"}, std::nullopt},
        {"rejected Spotify track goes back on the group", pausedSpotify, {rejected}, accountContext(), false,
         {"perform playPause", "clear alert", "resume account", "perform enqueueAndPlaySpotify"}, std::nullopt},
        {"rejected stream takes the account's item", stream, {rejected}, accountContext(), false,
         {"perform playPause", "clear alert", "resume account", "context", "perform enqueueAndPlaySpotify",
          "pause account"},
         std::nullopt},
        {"rejected stream, account unreadable", stream, {rejected}, noContext, false,
         {"perform playPause", "clear alert", "resume account", "context", "alert"},
         OrvelAlert::commandFailed(play, rejection)},
        {"rejected stream, enqueue refused", stream, {rejected, failed(enqueueFailure)}, accountContext(), false,
         {"perform playPause", "clear alert", "resume account", "context", "perform enqueueAndPlaySpotify"},
         OrvelAlert::commandFailed(SonosCommand::enqueueAndPlaySpotify(accountURI, accountContext().metadata,
                                                                       group('A'), Duration::seconds(std::int64_t{42})),
                                   enqueueFailure)},
        {"stopped, no account linked", PlaybackState::stopped(), {}, std::unexpected(SpotifyBridgeError::notConnected()),
         false, {"context", "alert"}, OrvelAlert::spotify(SpotifyBridgeError::notConnected())},
        {"stopped, account plays nothing", PlaybackState::stopped(), {}, noContext, false,
         {"context", "perform playPause"}, std::nullopt},
        {"stopped, account offline", PlaybackState::stopped(), {}, std::unexpected(SpotifyBridgeError::network("x")),
         false, {"context", "perform playPause"}, std::nullopt},
        {"stopped, account plays", PlaybackState::stopped(), {}, accountContext(), false,
         {"context", "perform enqueueAndPlaySpotify", "pause account"}, std::nullopt},
    };
    for (const auto& c : cases) {
        auto host = std::make_shared<ScriptedHost>();
        host->performResults.assign(c.performResults.begin(), c.performResults.end());
        host->context = c.context;
        host->resumes = c.resumes;
        SonosGroup target = groupOf("AB");
        target.playback = c.playback;
        auto task = togglePlayOrHandOffSpotify(host, target);
        EXPECT_TRUE(task.isReady()) << c.name;
        EXPECT_EQ(host->log, c.expected) << c.name;
        EXPECT_EQ(host->alert, c.alert) << c.name;
    }
}

// The account's item starts at the account's position (the play button's table); a paused
// track goes back where it stopped, with its own details.
TEST(PlaybackIntents, APausedSpotifyTrackGoesBackWhereItStoppedWithItsOwnDetails) {
    auto host = std::make_shared<ScriptedHost>();
    host->performResults = {rejected};
    SonosGroup target = groupOf("A");
    target.playback = PlaybackState::paused(spotifyTrack(std::nullopt), Duration::seconds(std::int64_t{30}));
    togglePlayOrHandOffSpotify(host, target);
    ASSERT_FALSE(host->performed.empty());
    EXPECT_EQ(host->performed.back(),
              SonosCommand::enqueueAndPlaySpotify(
                  pausedURI, SpotifyTrackMetadata{"Paused song", "", "Album", "http://art/1", Duration::seconds(std::int64_t{200})},
                  group('A'), Duration::seconds(std::int64_t{30})));
}

// Accepted and refused hand-offs run as in the play button's table.
TEST(PlaybackIntents, AHandOffPausesTheAccountOnceTheSpeakersTookTheItemEvenInPart) {
    struct Case {
        const char* name;
        PlaybackHost::ContextResult context;
        std::vector<PlaybackHost::CommandResult> performResults;
        Log expected;
        std::optional<OrvelAlert> alert;
    };
    const Case cases[] = {
        {"partially accepted", accountContext(), {CommandOutcome::partiallyApplied({sp('B')})},
         {"context", "perform enqueueAndPlaySpotify", "pause account"}, std::nullopt},
        {"account plays nothing", std::unexpected(SpotifyBridgeError::nothingPlaying()), {}, {"context", "alert"},
         OrvelAlert::spotify(SpotifyBridgeError::nothingPlaying())},
    };
    for (const auto& c : cases) {
        auto host = std::make_shared<ScriptedHost>();
        host->context = c.context;
        host->performResults.assign(c.performResults.begin(), c.performResults.end());
        auto task = handOffSpotify(host, group('C'));
        EXPECT_TRUE(task.isReady()) << c.name;
        EXPECT_EQ(host->log, c.expected) << c.name;
        EXPECT_EQ(host->alert, c.alert) << c.name;
    }
}

TEST(PlaybackIntents, AQueueEntryPlaysByNumberElseBySpotifyReference) {
    const auto uri = *SpotifyURI::make("spotify:track:7ouMYWpwJ422jRcDASZB7P");
    struct Case {
        const char* name;
        QueueItem item;
        std::optional<SonosCommand> expected;
    };
    const Case cases[] = {
        {"queue number", QueueItem(std::nullopt, "One", "Band", std::nullopt, std::nullopt, std::nullopt, 4, uri),
         SonosCommand::seekToQueueTrack(4, group('A'))},
        {"up-next item without artist",
         QueueItem(std::nullopt, "Two", std::nullopt, "LP", "http://art/2", Duration::seconds(std::int64_t{90}), std::nullopt, uri),
         SonosCommand::enqueueAndPlaySpotify(
             uri, SpotifyTrackMetadata{"Two", "", "LP", "http://art/2", Duration::seconds(std::int64_t{90})}, group('A'))},
        {"number 0 falls back on the reference",
         QueueItem(std::nullopt, "Three", "Band", std::nullopt, std::nullopt, std::nullopt, 0, uri),
         SonosCommand::enqueueAndPlaySpotify(uri, SpotifyTrackMetadata{"Three", "Band", {}, {}, {}}, group('A'))},
        {"neither", QueueItem(std::nullopt, "Four", "Band", std::nullopt, std::nullopt, std::nullopt, 0, std::nullopt),
         std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(queueItemCommand(c.item, group('A')), c.expected) << c.name;
}

// ---- Through the store ------------------------------------------------------------------

TEST(IntentPlaybackStore, OnlyThePauseOfAPlayingGroupAsksForSpotifyAgain) {
    struct Case {
        Play play;
        SonosCommand expected;
        int fetches;
    };
    const Case cases[] = {
        {Play::playing, SonosCommand::playPause(PlayPause::pause, group('A')), 1},
        {Play::paused, SonosCommand::playPause(PlayPause::play, group('A')), 0},
    };
    for (const auto& c : cases) {
        StoreHarness h;
        h.store->togglePlayOrHandOffSpotify(groupOf("AB", c.play));
        ASSERT_TRUE(waitUntil([&] { return h.sonos->runningCount() == 0; }));
        h.clock.advance(1s);
        QCoreApplication::processEvents();
        EXPECT_EQ(h.sonos->sent, std::vector<SonosCommand>{c.expected});
        EXPECT_EQ(h.spotify->contextCalls, c.fetches);
        EXPECT_EQ(h.store->state().nextTicket(), 1);
    }
}

TEST(IntentPlaybackStore, ARefusedResumeThatTheAccountTakesOverLeavesNoAlert) {
    StoreHarness h;
    h.spotify->resumes = true;
    h.sonos->reply = [](const SonosCommand&) -> SonosControl::CommandResult { return rejected; };
    SonosGroup paused = groupOf("A");
    paused.playback = PlaybackState::paused(spotifyTrack("Band"), Duration::seconds(std::int64_t{30}));
    h.store->togglePlayOrHandOffSpotify(paused);
    ASSERT_TRUE(waitUntil([&] { return h.spotify->resumeCalls == 1; }));
    EXPECT_FALSE(h.store->state().alert());
    EXPECT_EQ(h.sonos->sent.size(), 1u);
    EXPECT_TRUE(h.store->state().inFlight().empty());
}

TEST(IntentPlaybackStore, ATaskWhoseStoreIsGoneStopsQuietly) {
    StoreHarness h;
    h.spotify->context = accountContext();
    h.spotify->gate.close();
    h.store->handOffSpotify(group('C'));
    ASSERT_EQ(h.spotify->gate.waitingCount(), 1u);
    h.store.reset();
    h.spotify->gate.open();
    EXPECT_TRUE(h.sonos->sent.empty());
    EXPECT_EQ(h.spotify->pauseCalls, 0);
}

}  // namespace
