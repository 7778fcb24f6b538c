#include <gtest/gtest.h>

#include "FakePorts.h"
#include "OrvelStore/SpotifyEnrichment.h"
#include "StateFixtures.h"

using namespace orvel;
using namespace orvel::testing;
using std::chrono::milliseconds;

namespace {

SpotifyURI trackURI(char which) { return *SpotifyURI::make(std::string("spotify:track:") + std::string(22, which)); }

QueueItem upNextItem(std::string title) {
    return QueueItem(std::nullopt, std::move(title), "Band", std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                     std::nullopt);
}

// A track as the speakers report it; every detail the enrichment may fill starts out empty.
struct Reported {
    std::string title = "Song";
    std::optional<std::string> album = "Blue";
    std::optional<std::string> artwork{};
    std::optional<std::int64_t> queuePosition{};
    std::optional<SpotifyURI> uri{};
    std::optional<PlaybackSource> source{};
    std::vector<QueueItem> upNext{};
    std::optional<bool> canSkip = false;

    NowPlayingTrack build() const {
        return NowPlayingTrack(title, "Band", album, artwork, std::nullopt, queuePosition, uri, source, upNext, canSkip);
    }
};

PlaybackState playing(const Reported& track) {
    return PlaybackState::playing(NowPlaying::track(track.build()), Duration::seconds(5.0), T0);
}
PlaybackState paused(const Reported& track) {
    return PlaybackState::paused(NowPlaying::track(track.build()), Duration::seconds(5.0));
}

// Kitchen (A), Office (B) and Patio (C); `grouping` as in the grouping fixtures.
HouseholdSnapshot household(std::map<char, PlaybackState> playback, std::string grouping = "AA BB CC",
                            Date at = T0) {
    Household h{.at = at,
                .speakers = {speaker('A', "Kitchen"), speaker('B', "Office"), speaker('C', "Patio")},
                .grouping = std::move(grouping)};
    for (auto& [coordinator, state] : playback) {
        h.status.insert_or_assign(group(coordinator), GroupStatus{state, DiscreteVolume::snappingPercent(20)});
    }
    return h.build();
}

SpotifyTrackContext context(std::string title, std::optional<SpotifyURI> uri = std::nullopt) {
    return SpotifyTrackContext{uri.value_or(trackURI('z')),
                               SpotifyTrackMetadata{std::move(title), "Band", "Blue", "https://art/ctx", std::nullopt},
                               Duration::seconds(12.0),
                               "Daily Mix",
                               std::nullopt,
                               std::nullopt,
                               {upNextItem("Next from Spotify")}};
}

NowPlayingTrack trackOf(const HouseholdSnapshot& snapshot, char coordinator) {
    return snapshot.status(group(coordinator)).playback.nowPlaying()->asTrack()->track;
}

HouseholdSnapshot enrich(const HouseholdSnapshot& snapshot, const std::optional<SpotifyTrackContext>& ctx,
                         std::map<GroupID, NowPlayingTrack>& remembered) {
    return SpotifyEnrichment::merge(snapshot, SpotifyEnrichment::activeGroups(snapshot), ctx, remembered);
}

// ---- Merging one context -------------------------------------------------------------------

struct ContextMerge {
    const char* name;
    Reported reported;
    SpotifyTrackContext context;
    std::optional<std::string> artwork;
    std::optional<PlaybackSource> source;
    std::vector<std::string> upNext;
};

TEST(SpotifyEnrichmentMerge, TheSpotifyGroupsTrackTakesWhatItLacksFromTheContext) {
    SpotifyTrackContext untitled = context("Song");
    untitled.contextTitle = "";
    const ContextMerge cases[] = {
        {"missing details filled", Reported{}, context("Song"), "https://art/ctx", PlaybackSource::spotify("Daily Mix"),
         {"Next from Spotify"}},
        {"own artwork and up-next kept",
         Reported{.artwork = "https://art/own", .upNext = {upNextItem("Own next")}},
         context("Song"),
         "https://art/own",
         PlaybackSource::spotify("Daily Mix"),
         {"Own next"}},
        {"an empty context title keeps the track's source",
         Reported{.queuePosition = 3, .source = PlaybackSource::sonosQueue()},
         untitled,
         "https://art/ctx",
         PlaybackSource::sonosQueue(),
         {"Next from Spotify"}},
        {"no title and no source anywhere: the album names it", Reported{}, untitled, "https://art/ctx",
         PlaybackSource::spotify("Blue"), {"Next from Spotify"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::map<GroupID, NowPlayingTrack> remembered;
        const auto enriched = enrich(household({{'A', playing(c.reported)}}), c.context, remembered);
        const NowPlayingTrack track = trackOf(enriched, 'A');
        EXPECT_EQ(track.artworkURL(), c.artwork);
        EXPECT_EQ(track.source(), c.source);
        std::vector<std::string> titles;
        for (const auto& item : track.upNext()) titles.push_back(item.title());
        EXPECT_EQ(titles, c.upNext);
        EXPECT_TRUE(track.canSkip());
        EXPECT_EQ(track.title(), "Song");
        EXPECT_EQ(remembered.at(group('A')), track);
    }
}

std::string roomOf(char id) { return id == 'A' ? "Kitchen" : id == 'B' ? "Office" : "Patio"; }

SonosGroup groupOf(char coordinator, std::string members, PlaybackState playback) {
    std::vector<Speaker> speakers{speaker(coordinator, roomOf(coordinator))};
    for (char member : members) speakers.push_back(speaker(member, roomOf(member)));
    return group(std::move(speakers), std::move(playback));
}

struct GroupChoice {
    const char* name;
    std::vector<SonosGroup> active;
    SpotifyTrackContext context;
    std::optional<char> chosen;
};

TEST(SpotifyEnrichmentMerge, TheContextGoesToTheBestMatchingGroup) {
    SpotifyTrackContext onPatio = context("Another Song");
    onPatio.deviceName = "PATIO";
    const GroupChoice cases[] = {
        {"two playing single rooms: the smaller id",
         {groupOf('B', "", playing({})), groupOf('A', "", playing({}))}, context("song"), 'A'},
        {"playing beats a larger paused group",
         {groupOf('A', "B", paused({})), groupOf('C', "", playing({}))}, context("Song"), 'C'},
        {"among playing groups the larger one",
         {groupOf('C', "", playing({})), groupOf('B', "A", playing({}))}, context("Song"), 'B'},
        {"by Spotify URI",
         {groupOf('A', "", playing({.title = "Other"})), groupOf('B', "", playing({.uri = trackURI('q')}))},
         context("Unrelated", trackURI('q')), 'B'},
        {"by the account's device name, also a member's",
         {groupOf('A', "", playing({.title = "x"})), groupOf('B', "C", paused({.title = "y"}))}, onPatio, 'B'},
        {"no match", {groupOf('A', "", playing({}))}, context("Unrelated"), std::nullopt},
        {"no track", {groupOf('A', "", PlaybackState::playing(NowPlaying::stream("Song"), {}, T0))}, context("Song"),
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto chosen = SpotifyEnrichment::spotifyGroup(c.active, c.context);
        EXPECT_EQ(chosen, c.chosen ? std::optional(group(*c.chosen)) : std::nullopt);
    }
}

TEST(SpotifyEnrichmentMerge, ARememberedUpNextListFillsAGapOnlyWhereBorrowingIsAllowed) {
    struct Case {
        const char* name;
        Reported before;
        Reported now;
        bool keepsRememberedList;
    };
    const Case cases[] = {
        {"a queue track seen before",
         {.queuePosition = 2, .upNext = {upNextItem("Queued")}, .canSkip = true},
         {.queuePosition = 2},
         true},
        {"a Spotify track of a group that is not the Spotify group",
         {.uri = trackURI('s'), .upNext = {upNextItem("Queued")}},
         {.uri = trackURI('s')},
         false},
        {"another track", {.queuePosition = 2, .upNext = {upNextItem("Queued")}}, {.title = "Other", .queuePosition = 3},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::map<GroupID, NowPlayingTrack> remembered;
        enrich(household({{'A', playing(c.before)}}), std::nullopt, remembered);
        const auto later = enrich(household({{'A', playing(c.now)}}), std::nullopt, remembered);
        EXPECT_EQ(trackOf(later, 'A').upNext().size(), c.keepsRememberedList ? 1u : 0u);
        EXPECT_EQ(trackOf(later, 'A').canSkip(), c.keepsRememberedList || c.now.build().canSkip());
    }
}

TEST(SpotifyEnrichmentMerge, TracksWithDifferentURIsButOneTitleCountAsTheSameTrack) {
    std::map<GroupID, NowPlayingTrack> remembered;
    enrich(household({{'A', playing({.artwork = "https://art/a", .uri = trackURI('a')})}}), std::nullopt, remembered);
    const auto later = enrich(household({{'A', playing({.uri = trackURI('b')})}}), std::nullopt, remembered);
    EXPECT_EQ(trackOf(later, 'A').artworkURL(), "https://art/a");
}

// ---- When the store fetches ------------------------------------------------------------------

class StoreSpotify : public ::testing::Test {
protected:
    void SetUp() override {
        h.spotify->context = context("Song");
        h.startLoop();
    }
    bool publish(const HouseholdSnapshot& snapshot) { return h.publishAndSettle(snapshot); }
    bool refreshSettled() {
        return waitUntil([&] { return !OrvelStorePeer::isSpotifyRefreshRunning(*h.store); });
    }

    StoreHarness h;
};

TEST_F(StoreSpotify, AllGroupsStoppedFetchesNothingAndForgetsTheirTracks) {
    ASSERT_TRUE(publish(household({{'A', playing({})}})));
    EXPECT_EQ(h.spotify->contextCalls, 1);
    EXPECT_EQ(OrvelStorePeer::lastKnownTracks(*h.store).size(), 1u);

    h.clock.advance(milliseconds(600'000));
    ASSERT_TRUE(publish(household({}, "AA BB CC", T0.addingSeconds(600))));
    EXPECT_EQ(h.spotify->contextCalls, 1);
    EXPECT_TRUE(OrvelStorePeer::lastKnownTracks(*h.store).empty());
}

struct FetchTiming {
    const char* name;
    PlaybackState first;
    milliseconds after;
    PlaybackState second;
    bool fetchesAgain;
};

TEST(StoreSpotifyTiming, FetchesAtOnceForNewTracksElseAfterTheIntervalOfThePlayback) {
    const PlaybackState stream = PlaybackState::playing(NowPlaying::stream("Radio One"), Duration::seconds(0.0), T0);
    const FetchTiming cases[] = {
        {"a new track 1 s later", playing({}), milliseconds(1'000), playing({.title = "Next Song"}), true},
        {"the same playing track at 29.9 s", playing({}), milliseconds(29'900), playing({}), false},
        {"the same playing track at 30 s", playing({}), milliseconds(30'000), playing({}), true},
        {"the same paused track at 119.9 s", paused({}), milliseconds(119'900), paused({}), false},
        {"the same paused track at 120 s", paused({}), milliseconds(120'000), paused({}), true},
        {"a track paused, then playing at 30 s", paused({}), milliseconds(30'000), playing({}), true},
        {"only a stream at 29.9 s", stream, milliseconds(29'900), stream, false},
        {"only a stream at 30 s", stream, milliseconds(30'000), stream, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoreHarness h;
        h.startLoop();
        ASSERT_TRUE(h.publishAndSettle(household({{'A', c.first}})));
        ASSERT_EQ(h.spotify->contextCalls, 1);
        h.clock.advance(c.after);
        ASSERT_TRUE(h.publishAndSettle(household({{'A', c.second}}, "AA BB CC", T0.addingSeconds(1))));
        EXPECT_EQ(h.spotify->contextCalls, c.fetchesAgain ? 2 : 1);
    }
}

TEST_F(StoreSpotify, AFailedFetchRaisesNoAlertAndKeepsTheLastContext) {
    ASSERT_TRUE(publish(household({{'A', playing({})}})));
    EXPECT_EQ(trackOf(*h.store->state().live(), 'A').artworkURL(), "https://art/ctx");

    // A new track, so a fetch is due; it fails, and the last context still matches by URI.
    h.spotify->context = std::unexpected(SpotifyBridgeError::network("offline"));
    ASSERT_TRUE(publish(household({{'B', playing({.title = "Renamed", .uri = trackURI('z')})}})));
    EXPECT_EQ(h.spotify->contextCalls, 2);
    EXPECT_FALSE(h.store->state().alert());
    EXPECT_EQ(trackOf(*h.store->state().live(), 'B').artworkURL(), "https://art/ctx");
}

TEST_F(StoreSpotify, ABackgroundRefreshWaits4SecondsRunsOneAtATimeAndBringsItsContextIntoTheState) {
    h.spotify->context = std::unexpected(SpotifyBridgeError::nothingPlaying());
    ASSERT_TRUE(publish(household({{'A', playing({})}})));
    EXPECT_EQ(trackOf(*h.store->state().live(), 'A').artworkURL(), std::nullopt);
    h.clock.advance(milliseconds(3'999));
    h.store->refreshSpotifyQueueIfNeeded();
    EXPECT_FALSE(OrvelStorePeer::isSpotifyRefreshRunning(*h.store));

    h.spotify->context = context("Song");
    h.spotify->gate.close();
    h.clock.advance(milliseconds(1));
    h.store->refreshSpotifyQueueIfNeeded();
    ASSERT_TRUE(waitUntil([&] { return h.spotify->gate.waitingCount() == 1; }));
    h.clock.advance(milliseconds(10'000));
    h.store->refreshSpotifyQueueIfNeeded();
    QCoreApplication::processEvents();
    EXPECT_EQ(h.spotify->contextCalls, 2);

    h.spotify->gate.open();
    ASSERT_TRUE(refreshSettled());
    EXPECT_EQ(h.spotify->contextCalls, 2);
    EXPECT_EQ(trackOf(*h.store->state().live(), 'A').source(), PlaybackSource::spotify("Daily Mix"));
}

TEST_F(StoreSpotify, TransportCommandsInARowLeadToOneBackgroundFetchASecondLater) {
    ASSERT_TRUE(publish(household({{'A', playing({})}})));
    h.clock.advance(milliseconds(10'000));
    for (int i = 0; i < 3; ++i) {
        OrvelStorePeer::schedulePostTransportSpotifyRefresh(*h.store);
        h.clock.advance(milliseconds(300));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(h.spotify->contextCalls, 1);

    h.clock.advance(milliseconds(100));
    ASSERT_TRUE(refreshSettled());
    h.clock.advance(milliseconds(1'000));
    ASSERT_TRUE(refreshSettled());
    EXPECT_EQ(h.spotify->contextCalls, 2);
}

TEST_F(StoreSpotify, APendingPostTransportRefreshEndsWithTheStore) {
    ASSERT_TRUE(publish(household({{'A', playing({})}})));
    const std::size_t timersBefore = h.clock.pendingTimerCount();
    OrvelStorePeer::schedulePostTransportSpotifyRefresh(*h.store);
    ASSERT_GT(h.clock.pendingTimerCount(), timersBefore);
    h.store.reset();
    EXPECT_EQ(h.clock.pendingTimerCount(), timersBefore) << "the sleeping refresh woke and ended";
}

}  // namespace
