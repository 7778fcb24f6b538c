#include <gtest/gtest.h>

#include "OrvelUI/AlertMessage.h"

using namespace orvel;

TEST(AlertMessage, SpotifySentences) {
    struct Case {
        SpotifyBridgeError error;
        const char* sentence;
    };
    const Case cases[] = {
        {SpotifyBridgeError::unplayableOnSonos("spotify:track:abc"), "That track cannot play here"},
        {SpotifyBridgeError::authorizationFailed(""), "Spotify did not connect"},
        {SpotifyBridgeError::authorizationFailed("The sign-in window was closed"), "The sign-in window was closed"},
        {SpotifyBridgeError::authorizationFailed("<b>x</b>"), "<b>x</b>"},
        {SpotifyBridgeError::network("token HTTP 500"), "The network did not answer"},
        {SpotifyBridgeError::notConnected(), "Spotify is not connected"},
        {SpotifyBridgeError::nothingPlaying(), "Nothing is playing on Spotify"},
    };
    for (const auto& c : cases) EXPECT_EQ(alertSentence(c.error), c.sentence) << c.error.description();
}
