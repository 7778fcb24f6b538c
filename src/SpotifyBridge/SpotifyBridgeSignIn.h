#pragma once

// The two ends of a browser sign-in with the music service: the authorize page the user is sent
// to, and the reading of the callback the browser comes back with. Pure functions; the account
// link runs them around the browser session.

#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QString>
#include <QUrl>

#include "OrvelDomain/SpotifyBridgeError.h"

namespace orvel {

struct SpotifyBridgeSignIn {
    // What the link may do with the account: read what plays, and pause or resume it.
    static constexpr const char* scope =
        "user-read-currently-playing user-read-playback-state user-modify-playback-state";
    // The callback scheme when the redirect URI names none.
    static constexpr const char* defaultCallbackScheme = "orvella";

    // One item of a URL query. An item written without "=" has no value, which is not the same
    // as an empty value.
    struct QueryItem {
        std::string name;
        std::optional<std::string> value;
        friend bool operator==(const QueryItem&, const QueryItem&) = default;
    };

    // "<accounts origin>/authorize" with, in this order, response_type, client_id, scope,
    // redirect_uri, state, code_challenge_method and code_challenge. Absent when the client id
    // is empty or no valid URL results.
    static std::optional<QUrl> authorizeURL(const QString& accountsOrigin, std::string_view clientID,
                                            const QUrl& redirectURI, std::string_view state,
                                            std::string_view challenge);

    static QString callbackScheme(const QUrl& redirectURI);

    // The items of the URL's own query, percent-decoded, in order; none without a query. The
    // fragment is never read.
    static std::vector<QueryItem> queryItems(const QUrl& url);

    // The authorization code of a callback. The state is checked before anything else, so a
    // forged or stale callback is refused whatever else it carries; then an "error" with a
    // value ends the sign-in with that value; then the code must be there.
    static std::expected<std::string, SpotifyBridgeError> codeFromCallback(const QUrl& callback,
                                                                          std::string_view expectedState);
};

}  // namespace orvel
