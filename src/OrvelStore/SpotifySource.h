#pragma once

// The store's way to the linked Spotify account: what it plays now, and pausing or resuming
// playback on the account's own device around a hand-off to the speakers.

#include <QCoroTask>

#include <expected>

#include "OrvelDomain/SpotifyTrackContext.h"
#include "OrvelDomain/SpotifyBridgeError.h"

namespace orvel {

class SpotifySource {
public:
    using ContextResult = std::expected<SpotifyTrackContext, SpotifyBridgeError>;

    virtual ~SpotifySource() = default;

    virtual QCoro::Task<ContextResult> currentContext() = 0;
    // Never fails: an account that cannot be reached stays as it is.
    virtual QCoro::Task<> pauseSourcePlayback() = 0;
    // Whether the account's own device resumed.
    virtual QCoro::Task<bool> resumeSourcePlayback() = 0;
};

}  // namespace orvel
