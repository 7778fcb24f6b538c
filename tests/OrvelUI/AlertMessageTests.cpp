#include <gtest/gtest.h>

#include "OrvelUI/shell/AlertMessage.h"
#include "ShellFixtures.h"

using namespace orvel;
using namespace orvel::testing;

// The banner's rules, not its wording: a failed sign-in shows its own reason when it has one,
// and only a missing Spotify connection offers the Connect action.
TEST(AlertMessage, DetailFallbackAndConnectAction) {
    const std::string noDetail = alertMessage(OrvelAlert::spotify(SpotifyBridgeError::authorizationFailed("")));
    struct Case { OrvelAlert alert; std::string sentence; bool offersConnect; };
    const Case cases[] = {
        {OrvelAlert::spotify(SpotifyBridgeError::authorizationFailed("The sign-in window was closed")),
         "The sign-in window was closed", false},
        {OrvelAlert::spotify(SpotifyBridgeError::authorizationFailed("")), noDetail, false},
        {OrvelAlert::spotify(SpotifyBridgeError::notConnected()), alertMessage(OrvelAlert::spotify(SpotifyBridgeError::notConnected())), true},
        {OrvelAlert::commandFailed(SonosCommand::nextTrack(gid(1)), SonosCommandError::spotifyNotLinkedOnSonos()),
         alertMessage(OrvelAlert::commandFailed(SonosCommand::nextTrack(gid(1)), SonosCommandError::spotifyNotLinkedOnSonos())), false},
    };
    EXPECT_FALSE(noDetail.empty());
    for (const auto& c : cases) {
        const AlertBannerContent banner = alertBanner(c.alert);
        EXPECT_EQ(banner.message, c.sentence);
        EXPECT_EQ(banner.actionTitle.has_value(), c.offersConnect) << c.sentence;
    }
}
