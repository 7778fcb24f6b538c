#include <gtest/gtest.h>

#include <QCoreApplication>

#include <chrono>

#include "FakePorts.h"
#include "IntentFixtures.h"

using namespace orvel;
using namespace orvel::testing;
using namespace std::chrono_literals;

namespace {

const SpotifyURI item = *SpotifyURI::make("spotify:track:6rqhFgbbKwnb9MLmUQDhG6");

TEST(IntentDispatch, CommandsRunInFlightAndTransportOnesAskForSpotifyAgain) {
    struct Case {
        SonosCommand command;
        bool ticket;
        bool refresh;
    };
    const Case cases[] = {
        {SonosCommand::group(sp('B'), group('A')), true, false},
        {SonosCommand::setVolume(DiscreteVolume::snappingPercent(30), VolumeTarget::group(group('A'))), false, false},
        {SonosCommand::playPause(PlayPause::pause, group('A')), true, true},
        {SonosCommand::nextTrack(group('A')), true, true},
        {SonosCommand::previousTrack(group('A')), true, true},
        {SonosCommand::seekToQueueTrack(3, group('A')), true, true},
        {SonosCommand::enqueueAndPlaySpotify(item, SpotifyTrackMetadata{"T", "", {}, {}, {}}, group('A')), true, true},
        {SonosCommand::setSystemName("Home"), true, false},
    };
    for (const auto& c : cases) {
        const std::string name = describe(c.command);
        StoreHarness h;
        h.sonos->gate.close();
        h.store->send(c.command);
        EXPECT_EQ(h.store->state().inFlight().size(), c.ticket ? 1u : 0u) << name;
        EXPECT_EQ(h.store->state().nextTicket(), c.ticket ? 1 : 0) << name;

        h.clock.advance(1s);
        QCoreApplication::processEvents();
        EXPECT_EQ(h.spotify->contextCalls, c.refresh ? 1 : 0) << name;
        EXPECT_EQ(h.sonos->sent, std::vector<SonosCommand>{c.command}) << name;

        h.sonos->gate.open();
        ASSERT_TRUE(waitUntil([&] { return h.sonos->runningCount() == 0; })) << name;
        EXPECT_TRUE(h.store->state().inFlight().empty()) << name;
    }
}

// Which outcome becomes the alert is the state's rule; here a failed send reaches it.
TEST(IntentDispatch, AFailedCommandEndsInTheAlert) {
    const auto next = SonosCommand::nextTrack(group('A'));
    const auto unsupported = SonosCommandError::unsupportedForCurrentSource();
    StoreHarness h;
    h.sonos->reply = [&](const SonosCommand&) -> SonosControl::CommandResult { return std::unexpected(unsupported); };
    h.store->send(next);
    ASSERT_TRUE(waitUntil([&] { return h.sonos->runningCount() == 0; }));
    EXPECT_EQ(h.store->state().alert(), OrvelAlert::commandFailed(next, unsupported));
    EXPECT_TRUE(h.store->state().inFlight().empty());
}

TEST(IntentDispatch, AQueueEntryWithNothingToPlayStillAsksForSpotifyAgain) {
    StoreHarness h;
    h.store->playQueueItem(QueueItem(std::nullopt, "Gone", std::nullopt, std::nullopt, std::nullopt, std::nullopt, 0,
                                     std::nullopt),
                           group('A'));
    h.clock.advance(1s);
    QCoreApplication::processEvents();
    EXPECT_TRUE(h.sonos->sent.empty());
    EXPECT_EQ(h.spotify->contextCalls, 1);
}

}  // namespace
