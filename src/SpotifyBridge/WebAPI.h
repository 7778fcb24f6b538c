#pragma once

// Stateless requests to the music service: the one HTTP routine that the Web API and token
// requests go through, the token grants, the profile name, pausing and resuming the account's
// own playback, and the readers of the player-state and queue replies.
//
// A WebAPI is a small value (the hosts and the network access manager of the GUI thread). Each
// request works on its own copy of it, so the object a call was made on may go away meanwhile.

#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include "OrvelDomain/QueueItem.h"
#include "OrvelDomain/SpotifyTrackContext.h"
#include "OrvelDomain/SpotifyBridgeError.h"
#include "SpotifyBridge/SpotifyEndpoints.h"
#include "SpotifyBridge/SpotifyTokenSet.h"

namespace orvel {

class WebAPI {
public:
    // One HTTP exchange: body, status (0 when there was no HTTP response) and Retry-After.
    struct Reply {
        QByteArray body;
        int status = 0;
        std::optional<double> retryAfter;
    };

    template <class T>
    using Result = std::expected<T, SpotifyBridgeError>;

    // Idle time-out of every request, as the service's own clients use.
    static constexpr std::chrono::milliseconds requestTimeout{15'000};
    // A server that trickles bytes never trips the idle time-out; this ends any request.
    static constexpr std::chrono::milliseconds requestDeadline{60'000};
    // Replies of this API are a few kilobytes; a bigger one is refused, not buffered.
    static constexpr qint64 maximumReplySize = 8 * 1024 * 1024;
    // The queue reader looks at no more than this many entries.
    static constexpr std::size_t maximumQueueEntries = 20;

    WebAPI(SpotifyEndpoints endpoints, QNetworkAccessManager* network);

    const SpotifyEndpoints& endpoints() const { return endpoints_; }

    // Sends `method` to `url` with "Authorization: Bearer <token>" when a token is given and a
    // form body when one is given. An error status is no failure here; a transport failure is
    // `network` with its description.
    QCoro::Task<Result<Reply>> loadWithHeaders(QUrl url, QByteArray method, std::optional<std::string> token,
                                               std::optional<QByteArray> body) const;

    // Trades an authorization code for tokens. The form body is wiped after the request.
    QCoro::Task<Result<SpotifyTokenSet>> exchange(std::string code, std::string verifier,
                                                  std::string explicitClientID, QUrl redirectURI) const;
    // Trades a refresh token for a new access token.
    QCoro::Task<Result<SpotifyTokenSet>> refresh(std::string explicitClientID, std::string refreshToken) const;

    // The account's display name, else its id, else "Spotify".
    QCoro::Task<Result<std::string>> profileName(std::string accessToken) const;
    // Asks the service to pause the account's own playback; reports nothing.
    QCoro::Task<> pause(std::string accessToken) const;
    // Asks the service to resume; true when it answered 2xx.
    QCoro::Task<bool> resume(std::string accessToken) const;

    // The player state: none when nothing plays; `network("currently-playing")` when the reply
    // is unreadable; `unplayableOnSonos` when the item is not a Spotify track.
    static Result<std::optional<SpotifyTrackContext>> parseCurrentlyPlaying(std::string_view body);
    // The up-next list from the first entries of the queue reply; never fails.
    static std::vector<QueueItem> parseQueueData(std::string_view body);
    // The profile name from a 2xx reply body; `network("profile HTTP <status>")` otherwise.
    static Result<std::string> parseProfileName(int status, std::string_view body);

private:
    SpotifyEndpoints endpoints_;
    QPointer<QNetworkAccessManager> network_;
};

}  // namespace orvel
