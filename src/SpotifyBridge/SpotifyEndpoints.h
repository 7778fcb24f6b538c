#pragma once

// Where the music service lives: its accounts host (sign-in and token endpoint), its Web API
// host and its public share-link host (oEmbed titles). The service's real hosts by default;
// tests point all three at a local server.

#include <optional>

#include <QString>
#include <QUrl>

namespace orvel {

class SpotifyEndpoints {
public:
    // https://accounts.spotify.com, https://api.spotify.com, https://open.spotify.com
    static SpotifyEndpoints standard();
    // Each origin ("scheme://host[:port]", nothing after it) must be https, or plain http to a
    // loopback address: tokens never cross the network unencrypted. Otherwise absent.
    static std::optional<SpotifyEndpoints> make(const QString& accountsOrigin, const QString& webAPIOrigin,
                                                const QString& shareLinkOrigin);

    const QString& accountsOrigin() const { return accounts_; }
    const QString& webAPIOrigin() const { return webAPI_; }
    const QString& shareLinkOrigin() const { return shareLink_; }
    // The share-link host with its port, if any ("open.spotify.com").
    QString shareLinkAuthority() const;

    // Invalid when `pathAndQuery` does not make a valid URL; it is taken as it is, unencoded.
    QUrl accountsURL(const QString& pathAndQuery) const { return join(accounts_, pathAndQuery); }
    QUrl webAPIURL(const QString& pathAndQuery) const { return join(webAPI_, pathAndQuery); }
    QUrl shareLinkURL(const QString& pathAndQuery) const { return join(shareLink_, pathAndQuery); }

    QUrl tokenURL() const { return accountsURL(QStringLiteral("/api/token")); }
    QUrl playerURL() const { return webAPIURL(QStringLiteral("/v1/me/player")); }
    QUrl queueURL() const { return webAPIURL(QStringLiteral("/v1/me/player/queue")); }
    QUrl profileURL() const { return webAPIURL(QStringLiteral("/v1/me")); }
    QUrl pauseURL() const { return webAPIURL(QStringLiteral("/v1/me/player/pause")); }
    QUrl playURL() const { return webAPIURL(QStringLiteral("/v1/me/player/play")); }

    friend bool operator==(const SpotifyEndpoints&, const SpotifyEndpoints&) = default;

private:
    SpotifyEndpoints(QString accounts, QString webAPI, QString shareLink)
        : accounts_(std::move(accounts)), webAPI_(std::move(webAPI)), shareLink_(std::move(shareLink)) {}
    static QUrl join(const QString& origin, const QString& pathAndQuery);

    QString accounts_;
    QString webAPI_;
    QString shareLink_;
};

}  // namespace orvel
