#include <gtest/gtest.h>

#include "OrvelUI/shell/AlertMessage.h"
#include "ShellFixtures.h"

using namespace orvel;
using namespace orvel::testing;

TEST(AlertMessage, EveryAlert) {
    const SonosCommand next = SonosCommand::nextTrack(gid(1));
    struct Case {
        OrvelAlert alert;
        const char* sentence;
    };
    const Case cases[] = {
        {OrvelAlert::commandFailed(next, SonosCommandError::speakerUnreachable(sp(2))), "A room did not answer"},
        {OrvelAlert::commandFailed(next, SonosCommandError::groupDissolved(gid(1))), "That arrangement changed"},
        {OrvelAlert::commandFailed(next, SonosCommandError::notConverged(Duration::seconds(std::int64_t{8}))),
         "The rooms did not settle"},
        {OrvelAlert::commandFailed(next, SonosCommandError::speakerRejected("UPnP 701")), "A room refused"},
        {OrvelAlert::commandFailed(next, SonosCommandError::unsupportedForCurrentSource()), "This source cannot skip"},
        {OrvelAlert::commandFailed(next, SonosCommandError::spotifyNotLinkedOnSonos()), "Spotify is not linked"},
        {OrvelAlert::partiallyApplied(next, {sp(2), sp(3)}), "Some rooms were out of reach"},
        {OrvelAlert::partiallyApplied(SonosCommand::ungroup(sp(4)), {}), "Some rooms were out of reach"},
        {OrvelAlert::spotify(SpotifyBridgeError::unplayableOnSonos("spotify:track:abc")), "That track cannot play here"},
        {OrvelAlert::spotify(SpotifyBridgeError::authorizationFailed("")), "Spotify did not connect"},
        {OrvelAlert::spotify(SpotifyBridgeError::authorizationFailed("The sign-in window was closed")),
         "The sign-in window was closed"},
        {OrvelAlert::spotify(SpotifyBridgeError::network("token HTTP 500")), "The network did not answer"},
        {OrvelAlert::spotify(SpotifyBridgeError::notConnected()), "Spotify is not connected"},
        {OrvelAlert::spotify(SpotifyBridgeError::nothingPlaying()), "Nothing is playing on Spotify"},
        {OrvelAlert::quarantined("floorplan-positions.corrupt-1.json"), "A saved file could not be read"},
    };
    for (const auto& c : cases) {
        const AlertBannerContent banner = alertBanner(c.alert);
        EXPECT_EQ(alertMessage(c.alert), c.sentence);
        EXPECT_EQ(banner.message, c.sentence);
        const bool offersConnect = c.alert.isSpotify() && c.alert.asSpotify()->error.isNotConnected();
        EXPECT_EQ(banner.actionTitle, offersConnect ? std::optional<std::string>("Connect Spotify") : std::nullopt)
            << c.sentence;
    }
}
