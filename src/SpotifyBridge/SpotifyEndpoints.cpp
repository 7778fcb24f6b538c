#include "SpotifyEndpoints.h"

#include <QHostAddress>

namespace orvel {

namespace {
std::optional<QString> checkedOrigin(const QString& text) {
    QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty() || url.hasQuery() ||
        url.hasFragment() || !(url.path().isEmpty() || url.path() == QLatin1String("/"))) {
        return std::nullopt;
    }
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("http")) {
        QHostAddress address;
        if (!address.setAddress(url.host()) || !address.isLoopback()) return std::nullopt;
    } else if (scheme != QLatin1String("https")) {
        return std::nullopt;
    }
    return url.toString(QUrl::RemovePath | QUrl::FullyEncoded);
}
}  // namespace

SpotifyEndpoints SpotifyEndpoints::standard() {
    return SpotifyEndpoints(QStringLiteral("https://accounts.spotify.com"), QStringLiteral("https://api.spotify.com"),
                            QStringLiteral("https://open.spotify.com"));
}

std::optional<SpotifyEndpoints> SpotifyEndpoints::make(const QString& accountsOrigin, const QString& webAPIOrigin,
                                                       const QString& shareLinkOrigin) {
    auto accounts = checkedOrigin(accountsOrigin);
    auto webAPI = checkedOrigin(webAPIOrigin);
    auto shareLink = checkedOrigin(shareLinkOrigin);
    if (!accounts || !webAPI || !shareLink) return std::nullopt;
    return SpotifyEndpoints(*accounts, *webAPI, *shareLink);
}

QString SpotifyEndpoints::shareLinkAuthority() const {
    return QUrl(shareLink_).authority(QUrl::FullyEncoded);
}

QUrl SpotifyEndpoints::join(const QString& origin, const QString& pathAndQuery) {
    return QUrl(origin + pathAndQuery, QUrl::StrictMode);
}

}  // namespace orvel
