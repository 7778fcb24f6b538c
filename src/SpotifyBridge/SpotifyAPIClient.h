#pragma once

// The process's client for what the linked account plays. It keeps the request rate low for
// callers that poll: a recent result is served from memory, concurrent callers share one
// request per kind, the up-next list is reused for 30 s while the track stays the same,
// context titles are looked up once per context, and 429 replies pause every request here for
// a growing time (up to 300 s).
//
// Lives on the GUI thread. Its state is shared with its running requests, so the object may go
// away while a request is still out.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <qcoro/qcorotask.h>

#include "OrvelDomain/QueueItem.h"
#include "OrvelDomain/SpotifyTrackContext.h"
#include "SpotifyBridge/WebAPI.h"
#include "Support/Clock.h"

namespace orvel {

class SpotifyAPIClient {
public:
    template <class T>
    using Result = WebAPI::Result<T>;

    // How long an up-next list is reused for the same track, in seconds.
    static constexpr double queueReuseAge = 30.0;

    // The clock must outlive the client and its requests.
    SpotifyAPIClient(WebAPI api, Clock& clock);
    ~SpotifyAPIClient();
    SpotifyAPIClient(const SpotifyAPIClient&) = delete;
    SpotifyAPIClient& operator=(const SpotifyAPIClient&) = delete;

    // The one instance of the process: the service's real hosts and the system clock. Created on
    // first use, on the GUI thread, and kept until the process ends.
    static SpotifyAPIClient& shared();

    const WebAPI& api() const;

    // The current track with its context title and up-next list; none when nothing plays. A
    // result younger than `minCacheAge` seconds is served without a request; while rate-limited
    // the last result is served.
    QCoro::Task<Result<std::optional<SpotifyTrackContext>>> currentlyPlaying(std::string accessToken,
                                                                              double minCacheAge);
    // The up-next list; the cached list whenever a fresh one cannot be had.
    QCoro::Task<std::vector<QueueItem>> fetchQueue(std::string accessToken);
    // A short title for the playing context ("Liked Songs", an album's name, a playlist's name
    // in quotes), else `fallbackAlbum`. Never fails.
    QCoro::Task<std::optional<std::string>> resolveContextTitle(std::optional<std::string> contextURI,
                                                                std::optional<std::string> fallbackAlbum,
                                                                std::string accessToken);
    // Records a 429 reply: `retryAfter` in seconds, as the server sent it (ignored unless finite
    // and not negative).
    void setRateLimited(std::optional<double> retryAfter);

    // Until when requests are paused, on the clock's monotonic time (absent: never paused), and
    // the 429s in a row.
    std::optional<Clock::Instant> rateLimitedUntil() const;
    int consecutiveRateLimits() const;

    struct State;

private:
    std::shared_ptr<State> state_;
};

}  // namespace orvel
